#pragma once

// The editable font-name combo: its list holds "Default" and the installed font
// families, sorted, built once per run; typing finds a family by any part of its
// name. Its text is the name as typed, whether or not a font has it.

#include <QComboBox>
#include <QStringList>
#include <string>
#include <string_view>

#include "qt/dialogs/AttributeForm.h"

namespace zentabo {

class TFontNameCombo : public QComboBox {
    Q_OBJECT
public:
    // Longer names are no font family; the field takes no more.
    static constexpr int kMaxNameLength = 255;

    explicit TFontNameCombo(QWidget* parent = nullptr);

    // "Default" and every family whose name the settings file can hold, sorted
    // without regard to case; enumerated on the first call only.
    static const QStringList& FontList();
    // Fills the list the first time; the text stays as it is.
    void FillList();

    // An empty, overlong or unstorable name shows as "Default".
    void SetName(std::string_view bytes);
    // The typed name's code page 932 bytes; "Default" when the field is empty.
    std::string Name() const;

private:
    ShownBytes shown_;
};

}  // namespace zentabo
