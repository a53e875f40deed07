#pragma once

// Shows a page in the desktop's default browser. A page bound to a file it still
// matches opens that file; any other page is written as a copy into a private
// temporary folder (removed when the window goes), with a base reference to the bound
// file's folder so relative images and style sheets resolve, the code page declared
// where the page does not declare one, and a fragment wrapped in a minimal document.
// The page's own text is never changed.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QTemporaryDir;

namespace zentabo {

class TEditSheet;

// The file URL of the folder holding `path` (file-system bytes), percent-encoded,
// ending with '/'; empty for an empty path.
QByteArray FolderUrlOf(const QByteArray& path);

// The bytes written for the browser: `text` with a base element for `baseHref`
// (none when empty) and a Shift_JIS declaration where it declares no character set;
// a fragment comes inside a minimal XHTML document titled `title` (code page 932).
std::string PreviewDocument(std::string_view text, std::string_view baseHref,
                            std::string_view title);

class XhtmlPreview : public QObject {
public:
    explicit XhtmlPreview(QObject* parent = nullptr);
    ~XhtmlPreview() override;

    // Replaceable for tests; the desktop's opener by default.
    std::function<bool(const QUrl&)> openUrl;

    // Opens `page`; false with `error` set when the copy could not be written or no
    // browser could be started.
    bool Show(TEditSheet& page, const QString& caption, QString* error);

    // The folder the copies go to, empty before the first one.
    QString CopyFolder() const;

private:
    QString WriteCopy(const std::string& bytes, QString* error);

    std::unique_ptr<QTemporaryDir> dir_;
    int copies_ = 0;
};

}  // namespace zentabo
