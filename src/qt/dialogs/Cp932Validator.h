#pragma once

// Refuses characters that code page 932 cannot hold, so a field only ever holds text
// the program can store and use. U+FFFD stays allowed: that is how odd bytes given
// to a field are shown.

#include <QValidator>

namespace zentabo {

class Cp932Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace zentabo
