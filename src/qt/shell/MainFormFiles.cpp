// Open, save and print of the active page.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

// Why a file cannot be written, in the words of the system.
QString WriteFailureReason(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return QStringLiteral("書き込み中にエラーが発生しました");
}

QByteArray PathBytes(const QString& chosen) {
    return QFile::encodeName(chosen);
}

}  // namespace

void TMainForm::FileOpen() {
    const QString chosen = dialogs_.openFile(this);
    if (chosen.isEmpty()) return;
    AddPage(QFileInfo(chosen).fileName(), PathBytes(chosen).toStdString());
}

void TMainForm::FileSave(bool saveAs) {
    TEditSheet* page = ActiveSheet();
    if (!page) return;
    if (saveAs || page->FileName().empty()) {
        const QString chosen = dialogs_.saveFile(this, page->DisplayFileName());
        if (chosen.isEmpty()) return;
        page->SetFileName(PathBytes(chosen).toStdString());
    }
    const std::string& path = page->FileName();
    if (!page->Edit().SaveFile(path)) {
        // The text stays in the page and Modified stays set, so nothing is lost and
        // the save command stays available.
        ShowMessage(
            QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                .arg(QDir::toNativeSeparators(page->DisplayFileName()), WriteFailureReason(path)));
        return;
    }
    page->Edit().ClearModified();
}

}  // namespace zentabo
