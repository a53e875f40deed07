#include "qt/dialogs/StyleDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zentabo {

namespace {

QComboBox* ValueCombo(const char* name, std::initializer_list<const char*> entries,
                      const char* selected, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const char* e : entries) combo->addItem(QString::fromLatin1(e));
    combo->setCurrentIndex(combo->findText(QString::fromLatin1(selected)));
    return combo;
}

// Only an entry picked from the list counts: text typed into the field does not.
QString SelectedEntry(const QComboBox* combo) {
    const int i = combo->currentIndex();
    if (i < 0 || combo->currentText() != combo->itemText(i)) return QString();
    return combo->itemText(i);
}

// One row per tab: the value chooser and its declaration button.
QWidget* Page(QWidget* chooser, std::initializer_list<QPushButton*> buttons) {
    auto* page = chooser->parentWidget();
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(8, 8, 8, 8);
    row->addWidget(chooser, 1, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    for (QPushButton* b : buttons) column->addWidget(b);
    column->addStretch(1);
    row->addLayout(column);
    return page;
}

}  // namespace

TStyleDialog::TStyleDialog(QWidget* parent)
    : TAttributeForm(parent, 313, 217, QStringLiteral("ＭＳ Ｐゴシック"), 12) {
    setObjectName(QStringLiteral("StyleDialog"));
    setWindowTitle(QStringLiteral("style要素の貼り付け"));

    auto* label = new QLabel(QStringLiteral("&style:"), this);
    StyleEdit = new QLineEdit(this);
    StyleEdit->setObjectName(QStringLiteral("StyleEdit"));
    label->setBuddy(StyleEdit);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(ColorPage(), QStringLiteral("カラー"));
    PageControl1->addTab(FontPage(), QStringLiteral("フォント"));
    PageControl1->addTab(TextPage(), QStringLiteral("テキスト"));

    auto* clear = new QPushButton(QStringLiteral("クリア"), this);
    clear->setObjectName(QStringLiteral("ClearButton"));
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, [this] { ClearButtonClick(); });
    QPushButton* ok = OkButton(QStringLiteral("OK"), "OKBtn");
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    QPushButton* cancel = CancelButton(QStringLiteral("キャンセル"), "CancelBtn");

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(StyleEdit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clear);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->addLayout(top);
    root->addWidget(PageControl1, 1);
    root->addLayout(buttons);
}

QPushButton* TStyleDialog::DeclarationButton(const char* caption, const char* name, QWidget* page) {
    auto* b = new QPushButton(QString::fromLatin1(caption), page);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QWidget* TStyleDialog::ColorPage() {
    auto* page = new QWidget;
    ColorListBox = new QListWidget(page);
    ColorListBox->setObjectName(QStringLiteral("ColorListBox"));
    for (const char* c :
         {"#000000", "black", "gray", "silver", "white", "maroon", "red", "purple", "fuchsia",
          "green", "lime", "olive", "yellow", "navy", "blue", "teal", "aqua"})
        ColorListBox->addItem(QString::fromLatin1(c));
    ColorListBox->setCurrentRow(-1);
    QPushButton* color = DeclarationButton("color", "ColorButton", page);
    QPushButton* background = DeclarationButton("background-color", "BackgroundColorButton", page);
    for (QPushButton* b : {color, background}) {
        connect(b, &QPushButton::clicked, this, [this, b] {
            const QListWidgetItem* item = ColorListBox->currentItem();
            AddDeclaration(b, item && item->isSelected() ? item->text() : QString());
        });
    }
    return Page(ColorListBox, {color, background});
}

QWidget* TStyleDialog::FontPage() {
    auto* page = new QWidget;
    FontSizeComboBox = ValueCombo(
        "FontSizeComboBox",
        {"xx-small", "x-small", "small", "medium", "large", "x-large", "xx-large", "12px", "80%"},
        "medium", page);
    FontStyleComboBox =
        ValueCombo("FontStyleComboBox", {"normal", "italic", "oblique"}, "normal", page);
    QPushButton* size = DeclarationButton("font-size", "FontSizeButton", page);
    QPushButton* style = DeclarationButton("font-style", "FontStyleButton", page);
    connect(size, &QPushButton::clicked, this,
            [this, size] { AddDeclaration(size, SelectedEntry(FontSizeComboBox)); });
    connect(style, &QPushButton::clicked, this,
            [this, style] { AddDeclaration(style, SelectedEntry(FontStyleComboBox)); });
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->addWidget(FontSizeComboBox, 0, 0);
    grid->addWidget(size, 0, 1);
    grid->addWidget(FontStyleComboBox, 1, 0);
    grid->addWidget(style, 1, 1);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget* TStyleDialog::TextPage() {
    auto* page = new QWidget;
    TextAlignComboBox =
        ValueCombo("TextAlignComboBox", {"left", "right", "center", "justify"}, "left", page);
    QPushButton* align = DeclarationButton("text-align", "TextAlignButton", page);
    connect(align, &QPushButton::clicked, this,
            [this, align] { AddDeclaration(align, SelectedEntry(TextAlignComboBox)); });
    return Page(TextAlignComboBox, {align});
}

void TStyleDialog::AddDeclaration(const QPushButton* button, const QString& selected) {
    QString piece = button->text() + QStringLiteral(": ");
    if (!selected.isEmpty()) piece += selected + QStringLiteral("; ");
    StyleEdit->setText(StyleEdit->text() + piece);
    FormShow();
}

void TStyleDialog::FormShow() {
    StyleEdit->setFocus(Qt::OtherFocusReason);
    StyleEdit->deselect();
    StyleEdit->end(false);
}

void TStyleDialog::ClearButtonClick() {
    StyleEdit->clear();
    FormShow();
}

void TStyleDialog::OKBtnClick() {
    const std::optional<std::string> bytes =
        AttributeValue(StyleEdit, QStringLiteral("style"), StyleEdit->text(), ShownBytes());
    if (!bytes) return;
    style_ = *bytes;
    accept();
}

}  // namespace zentabo
