#pragma once

// The style dialog: builds the text of a style attribute from declaration buttons,
// each adding its property name and the value selected on its tab. The text stays
// between showings until the user clears it.

#include <string>

#include "qt/dialogs/AttributeForm.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace zentabo {

class TStyleDialog : public TAttributeForm {
    Q_OBJECT
public:
    explicit TStyleDialog(QWidget* parent = nullptr);

    // The style text as code page 932 bytes; set once OK has accepted it.
    const std::string& StyleText() const { return style_; }

protected:
    void FormShow() override;

private:
    QWidget* ColorPage();
    QWidget* FontPage();
    QWidget* TextPage();
    QPushButton* DeclarationButton(const char* caption, const char* name, QWidget* page);
    void AddDeclaration(const QPushButton* button, const QString& selected);
    void ClearButtonClick();
    void OKBtnClick();

    std::string style_;
    QLineEdit* StyleEdit = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QListWidget* ColorListBox = nullptr;
    QComboBox* FontSizeComboBox = nullptr;
    QComboBox* FontStyleComboBox = nullptr;
    QComboBox* TextAlignComboBox = nullptr;
};

}  // namespace zentabo
