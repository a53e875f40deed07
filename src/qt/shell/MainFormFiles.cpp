// Open, save and print of the active page.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

// Why a file cannot be written, in the words of the system.
QString WriteFailureReason(const QString& path) {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) return probe.errorString();
    return QStringLiteral("書き込み中にエラーが発生しました");
}

}  // namespace

void TMainForm::FileOpen() {
    const QString path = dialogs_.openFile(this);
    if (path.isEmpty()) return;
    AddPage(QFileInfo(path).fileName(), path);
}

void TMainForm::FileSave(bool saveAs) {
    TEditSheet* page = ActiveSheet();
    if (!page) return;
    if (saveAs || page->FileName().isEmpty()) {
        const QString path = dialogs_.saveFile(this, page->FileName());
        if (path.isEmpty()) return;
        page->SetFileName(path);
    }
    const QString path = page->FileName();
    if (!page->Edit().SaveFile(QFile::encodeName(path).toStdString())) {
        // The text stays in the page and Modified stays set, so nothing is lost and
        // the save command stays available.
        ShowMessage(QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                        .arg(QDir::toNativeSeparators(path), WriteFailureReason(path)));
        return;
    }
    page->Edit().ClearModified();
}

}  // namespace zentabo
