#include "qt/shell/XhtmlPreview.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>

#include "commands/TextTransforms.h"
#include "commands/XhtmlDoctype.h"
#include "commands/XhtmlSource.h"
#include "commands/XhtmlTagScan.h"
#include "editor/LumEdit.h"
#include "qt/shell/EditSheet.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

constexpr std::string_view kCharsetMeta =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\" />";

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return true;
}

// Whether `word` (lower case ASCII) starts at a character of `text`, in any case;
// never from the second byte of a double-byte character.
bool ContainsWord(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); i += Cp932CharLength(text, i))
        if (SameLetters(text.substr(i, word.size()), word)) return true;
    return false;
}

// What the head of a document already holds and where new elements go.
struct HeadFacts {
    std::size_t headEnd = 0;    // after <head ...>, 0 when none
    std::size_t htmlEnd = 0;    // after <html ...>, 0 when none
    std::size_t prologEnd = 0;  // after the XML declaration and DOCTYPE before any element
    bool charset = false;
    bool base = false;
};

HeadFacts ReadHead(std::string_view text) {
    HeadFacts f;
    ForEachMarkup(text, 0, text.size(), [&](const XhtmlMarkup& m) {
        const bool start = m.kind == XhtmlMarkupKind::kStartTag;
        if (m.kind == XhtmlMarkupKind::kEndTag && SameLetters(m.name, "head")) return false;
        if (start && SameLetters(m.name, "body")) return false;
        if (start && SameLetters(m.name, "html") && !f.htmlEnd) f.htmlEnd = m.end;
        if (start && SameLetters(m.name, "head") && !f.headEnd) f.headEnd = m.end;
        const bool element = start || m.kind == XhtmlMarkupKind::kEmptyTag;
        const bool prolog = m.kind == XhtmlMarkupKind::kDeclaration ||
                            m.kind == XhtmlMarkupKind::kProcessingInstruction;
        if (prolog && !f.htmlEnd && !f.headEnd) f.prologEnd = m.end;
        const std::string_view tag = text.substr(m.start, m.end - m.start);
        if (element && SameLetters(m.name, "meta") && ContainsWord(tag, "charset"))
            f.charset = true;
        if (element && SameLetters(m.name, "base")) f.base = true;
        return true;
    });
    return f;
}

std::string BaseElement(std::string_view href) {
    if (href.empty()) return {};
    return "<base href=\"" + std::string(href) + "\" />";
}

std::string WrapFragment(std::string_view text, std::string_view baseHref, std::string_view title) {
    std::string out;
    out.reserve(text.size() + 512);
    out += "<!DOCTYPE html PUBLIC \"";
    out += XhtmlDtdPublicId(XhtmlDtd::kStrict10);
    out += "\" \"";
    out += XhtmlDtdSystemId(XhtmlDtd::kStrict10);
    out +=
        "\">\r\n<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"ja\" "
        "lang=\"ja\">\r\n<head>\r\n";
    out += kCharsetMeta;
    out += "\r\n";
    if (!baseHref.empty()) out += BaseElement(baseHref) + "\r\n";
    out += "<title>" + EncodeHtml(title) + "</title>\r\n</head>\r\n<body>\r\n";
    out += text;
    out += "\r\n</body>\r\n</html>\r\n";
    return out;
}

}  // namespace

QByteArray FolderUrlOf(const QByteArray& path) {
    if (path.isEmpty()) return {};
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : path.left(slash);
    // Only unreserved bytes and '/' stay as they are: the URL is plain ASCII and can
    // stand in an attribute value without escaping.
    return "file://" + QUrl::toPercentEncoding(folder, "/") + "/";
}

std::string PreviewDocument(std::string_view text, std::string_view baseHref,
                            std::string_view title) {
    if (!ClassifyXhtmlPage(text).document) return WrapFragment(text, baseHref, title);
    const HeadFacts head = ReadHead(text);
    std::string insert;
    if (!head.charset) insert += kCharsetMeta;
    if (!head.base) insert += BaseElement(baseHref);
    if (insert.empty()) return std::string(text);
    std::size_t at = head.headEnd;
    if (!at && head.htmlEnd) {
        at = head.htmlEnd;
        insert = "<head>" + insert + "</head>";
    } else if (!at) {
        // No html element to hold a head: the declarations go after the prolog.
        at = head.prologEnd;
    }
    std::string out;
    out.reserve(text.size() + insert.size());
    out.append(text.substr(0, at)).append(insert).append(text.substr(at));
    return out;
}

XhtmlPreview::XhtmlPreview(QObject* parent)
    : QObject(parent), openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

XhtmlPreview::~XhtmlPreview() = default;

QString XhtmlPreview::CopyFolder() const {
    return dir_ ? dir_->path() : QString();
}

QString XhtmlPreview::WriteCopy(const std::string& bytes, QString* error) {
    if (!dir_) {
        // QTemporaryDir creates the folder for its owner only (mode 700).
        dir_ = std::make_unique<QTemporaryDir>();
        if (!dir_->isValid()) {
            *error = dir_->errorString();
            dir_.reset();
            return {};
        }
    }
    // A new name each time: the browser may still be reading the previous copy.
    const QString path = dir_->filePath(QStringLiteral("preview%1.html").arg(++copies_));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.flush()) {
        *error = file.errorString();
        return {};
    }
    return path;
}

namespace {

// Whether the file holds exactly `text`: a page restored from the page store may be
// unmodified and still differ from its file, and the browser must show the page.
bool FileHolds(const QString& path, const std::string& text) {
    QFile file(path);
    if (file.size() != static_cast<qint64>(text.size()) || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return bytes.size() == static_cast<qsizetype>(text.size()) &&
           std::equal(text.begin(), text.end(), bytes.constData());
}

}  // namespace

bool XhtmlPreview::Show(TEditSheet& page, const QString& caption, QString* error) {
    // The bound path is the file system's bytes; a name Qt cannot give back byte for
    // byte is previewed through a copy, with the base taken from the bytes themselves.
    const QByteArray boundBytes = QByteArray::fromStdString(page.FileName());
    const QString bound = QFile::decodeName(boundBytes);
    const bool openable = !bound.isEmpty() && QFile::encodeName(bound) == boundBytes;
    const std::string text = page.Edit().GetAllText();
    QString path;
    if (openable && !page.Edit().Modified() && FileHolds(bound, text)) {
        path = bound;
    } else {
        const QByteArray absolute = boundBytes.startsWith('/')
                                        ? boundBytes
                                        : QFile::encodeName(QFileInfo(bound).absoluteFilePath());
        const QByteArray base = boundBytes.isEmpty() ? QByteArray() : FolderUrlOf(absolute);
        const std::string title = Utf16ToCp932(caption.toStdU16String()).bytes;
        path = WriteCopy(PreviewDocument(text, base.toStdString(), title), error);
        if (path.isEmpty()) return false;
    }
    if (!openUrl(QUrl::fromLocalFile(path))) {
        *error = QStringLiteral("ブラウザを起動できませんでした。");
        return false;
    }
    return true;
}

}  // namespace zentabo
