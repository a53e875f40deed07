#include "qt/dialogs/InsDelDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "commands/DateTimeFormat.h"

namespace zentabo {

TInsDelDialog::TInsDelDialog(QWidget* parent)
    : TAttributeForm(parent, 313, 214, QStringLiteral("ＭＳ Ｐゴシック"), 12) {
    setObjectName(QStringLiteral("InsDelDialog"));
    setWindowTitle(QStringLiteral("ダイアログ"));
    CiteEdit = new QLineEdit(this);
    CiteEdit->setObjectName(QStringLiteral("CiteEdit"));
    DatetimeEdit = new QLineEdit(this);
    DatetimeEdit->setObjectName(QStringLiteral("DatetimeEdit"));
    ClassCombo = FieldCombo("ClassCombo");

    QPushButton* ok = OkButton(QStringLiteral("OK"), "OKBtn");
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    QPushButton* cancel = CancelButton(QStringLiteral("キャンセル"), "CancelBtn");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&cite"), CiteEdit);
    form->addRow(QStringLiteral("&datetime"), DatetimeEdit);
    form->addRow(QStringLiteral("&class"), ClassCombo);
    Arrange(form, ok, cancel);
}

void TInsDelDialog::SetClassText(std::string_view text) {
    ClassCombo->setEditText(shown_.Show(text));
}

void TInsDelDialog::SetClassList(std::string_view list) {
    const QString text = ClassCombo->currentText();
    shown_.SetItems(ClassCombo, list);
    // The class text set before stays in the field.
    ClassCombo->setCurrentIndex(-1);
    ClassCombo->setEditText(text);
}

std::string TInsDelDialog::ClassList() const {
    return shown_.ItemsOf(ClassCombo);
}

void TInsDelDialog::FormShow() {
    // The zone is written as fixed text: the field is meant for the author's own zone.
    static const DateLocale locale = LoadDateLocale();
    const std::string now =
        FormatDateTime("yyyy-mm-dd\"T\"hh:nn:ss+9:00", CurrentLocalTime(), locale);
    DatetimeEdit->setText(ShownBytes().Show(now));
    CiteEdit->setFocus(Qt::OtherFocusReason);
}

void TInsDelDialog::DFItem_UniformResourceLocator_Drop(const QString& url) {
    CiteEdit->setText(TrimControls(url));
}

void TInsDelDialog::OKBtnClick() {
    const ShownBytes typed;
    const auto cite = AttributeValue(CiteEdit, QStringLiteral("cite"), CiteEdit->text(), typed);
    if (!cite) return;
    const auto datetime =
        AttributeValue(DatetimeEdit, QStringLiteral("datetime"), DatetimeEdit->text(), typed);
    if (!datetime) return;
    const auto cls =
        AttributeValue(ClassCombo, QStringLiteral("class"), ClassCombo->currentText(), shown_);
    if (!cls) return;
    cite_ = *cite;
    datetime_ = *datetime;
    class_ = *cls;
    accept();
}

}  // namespace zentabo
