#include "qt/dialogs/InsDelDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CommaText.h"
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
    ClassCombo = new QComboBox(this);
    ClassCombo->setObjectName(QStringLiteral("ClassCombo"));
    ClassCombo->setEditable(true);
    ClassCombo->setInsertPolicy(QComboBox::NoInsert);

    QPushButton* ok = OkButton(QStringLiteral("OK"), "OKBtn");
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    QPushButton* cancel = CancelButton(QStringLiteral("キャンセル"), "CancelBtn");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&cite"), CiteEdit);
    form->addRow(QStringLiteral("&datetime"), DatetimeEdit);
    form->addRow(QStringLiteral("&class"), ClassCombo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(12, 12, 12, 10);
    root->addLayout(form);
    root->addStretch(1);
    root->addLayout(buttons);
}

void TInsDelDialog::SetClassText(std::string_view text) {
    ClassCombo->setEditText(shown_.Show(text));
}

void TInsDelDialog::SetClassList(std::string_view list) {
    const QString text = ClassCombo->currentText();
    ClassCombo->clear();
    for (const std::string& item : SplitCommaText(list)) ClassCombo->addItem(shown_.Show(item));
    // The class text set before stays in the field.
    ClassCombo->setCurrentIndex(-1);
    ClassCombo->setEditText(text);
}

std::string TInsDelDialog::ClassList() const {
    std::vector<std::string> items;
    for (int i = 0; i < ClassCombo->count(); ++i)
        items.push_back(shown_.BytesOf(ClassCombo->itemText(i)).value_or(std::string()));
    return JoinCommaText(items);
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
