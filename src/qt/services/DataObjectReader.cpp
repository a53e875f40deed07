#include "qt/services/DataObjectReader.h"

#include <QMimeData>
#include <QUrl>

#include "app/DroppedUrl.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

const QString kMozUrl = QStringLiteral("text/x-moz-url");
const QString kUriList = QStringLiteral("text/uri-list");
const QString kNetscapeUrl = QStringLiteral("_NETSCAPE_URL");
const QString kPlainText = QStringLiteral("text/plain");

bool IsUrlFormat(uint16_t format) {
    return format == ResolveFormatName(kUniformResourceLocator);
}

bool OffersLocalFile(const QMimeData& data) {
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) return true;
    return false;
}

std::u16string Decode(const QMimeData& data, const QString& type) {
    if (type == kPlainText) return data.text().toStdU16String();
    const QByteArray bytes = data.data(type);
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (type == kMozUrl) return MozUrlAddress(view);
    if (type == kUriList) return FirstUriListEntry(view);
    if (type == kNetscapeUrl) return NetscapeUrlAddress(view);
    return QString::fromUtf8(bytes).toStdU16String();
}

}  // namespace

QStringList MimeTypesOf(uint16_t format) {
    switch (format) {
        case CF_TEXT:
        case CF_OEMTEXT:
        case CF_UNICODETEXT:
            return {kPlainText};
        case CF_HDROP:
            return {kUriList};
        default:
            break;
    }
    if (IsUrlFormat(format)) return {kMozUrl, kUriList, kNetscapeUrl, kPlainText};
    const std::string name = RegisteredFormatName(format);
    if (name.empty()) return {};
    return {QString::fromStdString(name)};
}

bool TDataObjectReader::HasFormat(uint16_t format) const {
    if (!data_) return false;
    if (format == CF_HDROP) return OffersLocalFile(*data_);
    for (const QString& type : MimeTypesOf(format))
        if (data_->hasFormat(type)) return true;
    return false;
}

std::string TDataObjectReader::ReadText(uint16_t format) const {
    if (!data_ || format == CF_HDROP) return {};
    const bool url = IsUrlFormat(format);
    for (const QString& type : MimeTypesOf(format)) {
        if (!data_->hasFormat(type)) continue;
        const std::u16string text = Decode(*data_, type);
        // An offered type may come empty (Qt reads no text/x-moz-url from X11 sources).
        if (text.empty()) continue;
        return url ? UrlToCp932(text) : Utf16ToCp932(text).bytes;
    }
    return {};
}

}  // namespace zentabo
