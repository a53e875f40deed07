#include "qt/dialogs/AttributeForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/CommaText.h"

#include "qt/dialogs/DesignFont.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

std::u16string ToU16(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                          static_cast<std::size_t>(s.size()));
}

}  // namespace

QString ShownBytes::Show(std::string_view bytes) {
    const std::u16string u = Cp932ToUtf16(bytes);
    const QString text = QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
    given_.insert(text, std::string(bytes));
    return text;
}

std::optional<std::string> ShownBytes::BytesOf(const QString& text) const {
    const auto it = given_.constFind(text);
    if (it != given_.constEnd()) return *it;
    Cp932EncodeResult r = Utf16ToCp932(ToU16(text));
    if (!r.ok()) return std::nullopt;
    return std::move(r.bytes);
}

void ShownBytes::SetItems(QComboBox* combo, std::string_view commaText) {
    combo->clear();
    for (const std::string& item : SplitCommaText(commaText)) combo->addItem(Show(item));
}

std::string ShownBytes::ItemsOf(const QComboBox* combo) const {
    std::vector<std::string> items;
    for (int i = 0; i < combo->count(); ++i)
        items.push_back(BytesOf(combo->itemText(i)).value_or(std::string()));
    return JoinCommaText(items);
}

QString TrimControls(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first].unicode() <= 32) ++first;
    while (last > first && text[last - 1].unicode() <= 32) --last;
    return text.mid(first, last - first);
}

TAttributeForm::TAttributeForm(QWidget* parent, int clientWidth, int clientHeight,
                               const QString& fontFace, int fontPixels)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setModal(true);
    setFont(DesignFont(fontFace, fontPixels));
    setFixedSize(clientWidth, clientHeight);
}

QPushButton* TAttributeForm::OkButton(const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setDefault(true);
    b->setAutoDefault(false);
    return b;
}

QPushButton* TAttributeForm::CancelButton(const QString& caption, const char* name) {
    // Esc rejects every QDialog already; the button does the same.
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, &QDialog::reject);
    return b;
}

void TAttributeForm::Arrange(QLayout* fields, QPushButton* ok, QPushButton* cancel) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(12, 10, 12, 10);
    root->addLayout(fields);
    root->addStretch(1);
    root->addLayout(buttons);
}

QComboBox* TAttributeForm::FieldCombo(const char* name) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    // Enter in the field confirms the dialog; it never adds an item by itself.
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

std::optional<std::string> TAttributeForm::AttributeValue(QWidget* field, const QString& attribute,
                                                          const QString& text,
                                                          const ShownBytes& shown) {
    QString refusal;
    std::optional<std::string> bytes;
    if (text.contains(QLatin1Char('"'))) {
        refusal =
            QStringLiteral("%1 に二重引用符（\"）は使えません。属性値がそこで終わってしまいます。")
                .arg(attribute);
    } else if (!(bytes = shown.BytesOf(text))) {
        QString bad;
        for (const UnmappableChar& c : Utf16ToCp932(ToU16(text)).unmappable) {
            bad = QString::fromUcs4(&c.codePoint, 1);
            break;
        }
        refusal = QStringLiteral("%1 の文字「%2」はShift-JISで表せないため使えません。")
                      .arg(attribute, bad);
    }
    if (refusal.isEmpty()) return bytes;
    QMessageBox::warning(this, windowTitle(), refusal);
    field->setFocus(Qt::OtherFocusReason);
    return std::nullopt;
}

void TAttributeForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    FormShow();
}

}  // namespace zentabo
