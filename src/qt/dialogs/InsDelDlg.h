#pragma once

// The ins/del dialog: cite, datetime and class of an ins or del element. The cite
// field keeps its text between showings; the datetime field shows the time of each
// showing. The class combo offers the history but does not add to it.

#include <string>
#include <string_view>

#include "qt/dialogs/AttributeForm.h"

class QComboBox;
class QLineEdit;

namespace zentabo {

class TInsDelDialog : public TAttributeForm {
    Q_OBJECT
public:
    explicit TInsDelDialog(QWidget* parent = nullptr);

    void SetClassText(std::string_view text);
    void SetClassList(std::string_view list);  // comma text

    // The values as code page 932 bytes; set once OK has accepted them.
    const std::string& Cite() const { return cite_; }
    const std::string& Datetime() const { return datetime_; }
    const std::string& ClassText() const { return class_; }
    std::string ClassList() const;  // comma text

    // A web address dropped on the cite field.
    void DFItem_UniformResourceLocator_Drop(const QString& url);

protected:
    void FormShow() override;

private:
    void OKBtnClick();

    ShownBytes shown_;
    std::string cite_, datetime_, class_;
    QLineEdit* CiteEdit = nullptr;
    QLineEdit* DatetimeEdit = nullptr;
    QComboBox* ClassCombo = nullptr;
};

}  // namespace zentabo
