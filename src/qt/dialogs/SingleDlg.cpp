#include "qt/dialogs/SingleDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zentabo {

namespace {

std::string& SharedComboText() {
    static std::string text;
    return text;
}

}  // namespace

TSingleDialog::TSingleDialog(QWidget* parent)
    : TAttributeForm(parent, 241, 113, QStringLiteral("ＭＳ Ｐゴシック"), 12) {
    setObjectName(QStringLiteral("SingleDialog"));
    setWindowTitle(QStringLiteral("ダイアログ"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = FieldCombo("ComboBox1");
    Label1->setBuddy(ComboBox1);
    QPushButton* ok = OkButton(QStringLiteral("OK"), "OKBtn");
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    QPushButton* cancel = CancelButton(QStringLiteral("キャンセル"), "CancelBtn");

    auto* fields = new QVBoxLayout;
    fields->addWidget(Label1);
    fields->addWidget(ComboBox1);
    Arrange(fields, ok, cancel);
}

void TSingleDialog::Setup(const QString& caption, const QString& label, std::string_view list,
                          std::string_view text) {
    setWindowTitle(caption);
    Label1->setText(label);
    shown_ = ShownBytes();
    shown_.SetItems(ComboBox1, list);
    const QString shownText = shown_.Show(text);
    const int match = ComboBox1->findText(shownText, Qt::MatchFixedString);
    ComboBox1->setCurrentIndex(match);
    if (match < 0) ComboBox1->setEditText(shownText);
}

QString TSingleDialog::LabelCaption() const {
    return Label1->text();
}

const std::string& TSingleDialog::ComboText() {
    return SharedComboText();
}

std::string TSingleDialog::ComboList() const {
    return shown_.ItemsOf(ComboBox1);
}

void TSingleDialog::FormShow() {
    ComboBox1->setFocus(Qt::OtherFocusReason);
}

void TSingleDialog::OKBtnClick() {
    const QString text = ComboBox1->currentText();
    const std::optional<std::string> bytes =
        AttributeValue(ComboBox1, QStringLiteral("class"), text, shown_);
    if (!bytes) return;
    SharedComboText() = *bytes;
    if (!text.isEmpty()) {
        const int match = ComboBox1->findText(text, Qt::MatchFixedString);
        const QString entry = match >= 0 ? ComboBox1->itemText(match) : text;
        if (match >= 0) ComboBox1->removeItem(match);
        ComboBox1->insertItem(0, entry);
        if (match < 0) shown_.Show(*bytes);
    }
    accept();
}

}  // namespace zentabo
