#include "qt/widget/Cp932Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zentabo {
namespace {

QString ToQString(const std::u16string& s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

Cp932Clipboard::Cp932Clipboard(QClipboard* clipboard) : clipboard_(clipboard) {}

Cp932Clipboard::Cp932Clipboard() : clipboard_(qGuiApp ? QGuiApplication::clipboard() : nullptr) {}

ClipboardStatus Cp932Clipboard::SetText(std::string_view cp932) {
    if (!clipboard_) return ClipboardStatus::NoClipboard;
    auto* data = new QMimeData;
    data->setText(ToQString(Cp932ToUtf16(cp932)));
    data->setData(QString::fromLatin1(kRawMimeType),
                  QByteArray(cp932.data(), static_cast<qsizetype>(cp932.size())));
    clipboard_->setMimeData(data);  // the clipboard owns it now
    return ClipboardStatus::Ok;
}

ClipboardText Cp932Clipboard::GetText() const {
    ClipboardText result;
    if (!clipboard_) {
        result.status = ClipboardStatus::NoClipboard;
        return result;
    }
    const QMimeData* data = clipboard_->mimeData();
    if (!data || !data->hasText()) return result;
    const QString text = data->text();
    result.status = ClipboardStatus::Ok;

    // Our own bytes count only while they still match the text: another program that
    // rewrote only the text must win.
    const QString raw = QString::fromLatin1(kRawMimeType);
    if (data->hasFormat(raw)) {
        const QByteArray bytes = data->data(raw);
        const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (ToQString(Cp932ToUtf16(view)) == text) {
            result.bytes.assign(view);
            return result;
        }
    }
    Cp932EncodeResult encoded = Utf16ToCp932(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
    result.bytes = std::move(encoded.bytes);
    result.unmappable = std::move(encoded.unmappable);
    return result;
}

}  // namespace zentabo
