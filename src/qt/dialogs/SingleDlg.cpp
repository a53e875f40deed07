#include "qt/dialogs/SingleDlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CommaText.h"

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
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    // The history changes only on OK, never by Enter in the field.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Label1->setBuddy(ComboBox1);
    QPushButton* ok = OkButton(QStringLiteral("OK"), "OKBtn");
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    QPushButton* cancel = CancelButton(QStringLiteral("キャンセル"), "CancelBtn");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(12, 10, 12, 10);
    root->addWidget(Label1);
    root->addWidget(ComboBox1);
    root->addStretch(1);
    root->addLayout(buttons);
}

void TSingleDialog::Setup(const QString& caption, const QString& label, std::string_view list,
                          std::string_view text) {
    setWindowTitle(caption);
    Label1->setText(label);
    shown_ = ShownBytes();
    ComboBox1->clear();
    for (const std::string& item : SplitCommaText(list)) ComboBox1->addItem(shown_.Show(item));
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
    std::vector<std::string> items;
    for (int i = 0; i < ComboBox1->count(); ++i)
        items.push_back(shown_.BytesOf(ComboBox1->itemText(i)).value_or(std::string()));
    return JoinCommaText(items);
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
