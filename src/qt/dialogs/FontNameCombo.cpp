#include "qt/dialogs/FontNameCombo.h"

#include <QCompleter>
#include <QFontDatabase>
#include <QLineEdit>
#include <algorithm>

#include "qt/dialogs/Cp932Validator.h"
#include "store/Cp932Codec.h"

namespace zentabo {
namespace {

const QString kDefaultName = QStringLiteral("Default");

bool Storable(const QString& name) {
    if (name.trimmed().isEmpty() || name.size() > TFontNameCombo::kMaxNameLength) return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c == QChar(0x7F)) return false;
    return Utf16ToCp932(name.toStdU16String()).ok();
}

}  // namespace

TFontNameCombo::TFontNameCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
    lineEdit()->setMaxLength(kMaxNameLength);
    lineEdit()->setValidator(new Cp932Validator(lineEdit()));
    // The completer searches the combo's own list, so it works once the list is filled.
    completer()->setCompletionMode(QCompleter::PopupCompletion);
    completer()->setFilterMode(Qt::MatchContains);
    completer()->setCaseSensitivity(Qt::CaseInsensitive);
}

const QStringList& TFontNameCombo::FontList() {
    static const QStringList list = [] {
        QStringList names{kDefaultName};
        for (const QString& family : QFontDatabase::families()) {
            if (QFontDatabase::isPrivateFamily(family) || !Storable(family)) continue;
            if (!names.contains(family, Qt::CaseInsensitive)) names << family;
        }
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            const int c = a.compare(b, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a < b;
        });
        return names;
    }();
    return list;
}

void TFontNameCombo::FillList() {
    if (count() > 0) return;
    const QString text = currentText();
    addItems(FontList());
    setCurrentIndex(-1);
    setEditText(text);
}

void TFontNameCombo::SetName(std::string_view bytes) {
    QString name = shown_.Show(bytes);
    if (!Storable(name)) name = kDefaultName;
    setEditText(name);
}

std::string TFontNameCombo::Name() const {
    const QString text = currentText();
    if (!Storable(text)) return kDefaultName.toStdString();
    return shown_.BytesOf(text).value_or(kDefaultName.toStdString());
}

}  // namespace zentabo
