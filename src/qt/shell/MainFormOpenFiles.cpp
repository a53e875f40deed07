// Files named from outside the window: the command line and later starts.

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <cstdio>

#include "app/OpenableFile.h"
#include "qt/shell/MainForm.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

QString Shown(const std::string& path) {
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
}

// The page's name: the file's name without its folder. A name that is no UTF-8 but
// Shift-JIS (written on an older system) reads as such, so the tab shows it.
QString CaptionFor(const std::string& path) {
    const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString caption = utf8.decode(QByteArrayView(name.data(), qsizetype(name.size())));
    std::string converted;
    if (utf8.hasError() && Cp932ToUtf8Lossless(name, converted))
        return QString::fromStdString(converted);
    return caption;
}

// One message for the whole batch; a long list is cut so the box still fits the screen.
QString FailuresMessage(const std::vector<FileOpenFailure>& failures) {
    if (failures.size() == 1) return ReadFailureMessage(failures[0].path, failures[0].reason);
    constexpr std::size_t kShown = 20;
    QStringList lines;
    lines << QStringLiteral("次の %1 個のファイルを読み込めませんでした。").arg(failures.size());
    for (std::size_t i = 0; i < failures.size() && i < kShown; ++i) {
        lines << QStringLiteral("%1: %2").arg(Shown(failures[i].path),
                                              QString::fromLocal8Bit(failures[i].reason.c_str()));
    }
    if (failures.size() > kShown)
        lines << QStringLiteral("ほか %1 個").arg(failures.size() - kShown);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

void TMainForm::OpenFiles(const std::vector<std::string>& paths) {
    filesToOpen_.insert(filesToOpen_.end(), paths.begin(), paths.end());
    BringToFront();
    if (openingFiles_) return;  // the batch in progress takes these too
    openingFiles_ = true;
    // Switching pages with updates on walks every page's widgets, so a batch of a
    // thousand took quadratic time; off, the batch is painted once at its end.
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    const std::vector<FileOpenFailure> failures = OpenQueuedFiles();
    setUpdatesEnabled(updates);
    openingFiles_ = false;
    FocusActiveEditor();
    // Shown after the queue is done with: a batch arriving while the message is up
    // opens on its own.
    if (!failures.empty()) ShowMessage(FailuresMessage(failures));
}

std::vector<FileOpenFailure> TMainForm::OpenQueuedFiles() {
    std::vector<FileOpenFailure> failures;
    // Indexing, not iterating: a question asked while a file loads may let the next
    // batch append to the queue.
    for (std::size_t i = 0; i < filesToOpen_.size(); ++i) {
        const std::string path = filesToOpen_[i];
        FileResult status = CheckOpenableFile(path);
        if (status) {
            LoadFilePage(CaptionFor(path), path, status);
        }
        if (!status && !status.cancelled) {
            // Also for whoever started the program from a terminal.
            std::fprintf(stderr, "zentabo: %s\n", status.error.c_str());
            failures.push_back({path, status.reason});
        }
    }
    filesToOpen_.clear();
    return failures;
}

void TMainForm::BringToFront() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

}  // namespace zentabo
