#pragma once

// The anchor dialog: address, name and target of an a element. Address and name keep
// what was typed between showings; the target starts empty every time.

#include <string>

#include "qt/dialogs/AttributeForm.h"

class QComboBox;
class QLineEdit;

namespace zentabo {

class TLinkDialog : public TAttributeForm {
    Q_OBJECT
public:
    explicit TLinkDialog(QWidget* parent = nullptr);

    // The three values as code page 932 bytes; set once OK has accepted them.
    const std::string& Href() const { return href_; }
    const std::string& Name() const { return name_; }
    const std::string& Target() const { return target_; }

    // A web address dropped on the address field.
    void DFItem_UniformResourceLocator_Drop(const QString& url);

protected:
    void FormShow() override;

private:
    void OKBtnClick();

    std::string href_, name_, target_;
    QLineEdit* HrefEdit = nullptr;
    QLineEdit* NameEdit = nullptr;
    QComboBox* TargerComboBox = nullptr;
};

}  // namespace zentabo
