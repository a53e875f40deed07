#pragma once

// The one-field dialog: a label and an editable combo box holding a class name and
// the class history. The text confirmed by the last OK is shared by the whole
// program, whichever instance took it.

#include <string>
#include <string_view>

#include "qt/dialogs/AttributeForm.h"

class QComboBox;
class QLabel;

namespace zentabo {

class TSingleDialog : public TAttributeForm {
    Q_OBJECT
public:
    explicit TSingleDialog(QWidget* parent = nullptr);

    // Caption and label; the combo takes text and, as its items, the comma-text list.
    // The item equal to text in any letter case is selected and shown as written.
    void Setup(const QString& caption, const QString& label, std::string_view list,
               std::string_view text);

    QString LabelCaption() const;
    static const std::string& ComboText();
    std::string ComboList() const;  // comma text

protected:
    void FormShow() override;

private:
    void OKBtnClick();

    ShownBytes shown_;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
};

}  // namespace zentabo
