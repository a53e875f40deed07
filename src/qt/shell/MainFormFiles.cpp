// Open, save and print of the active page.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/LinesSave.h"
#include "editor/LumEdit.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/MainForm.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

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
    FileResult saved;
    {
        BusyProgress busy(this, QStringLiteral("ファイルを保存しています..."), false,
                          BusyProgress::Stop::Cancellable);
        saved = SaveLinesAtomically(page->Edit().Lines(), path,
                                    [&busy](double f) { return busy.Step(f); });
    }
    // Cancelled: the file is as it was and the page still differs from it.
    if (saved.cancelled) return;
    if (!saved) {
        // The text stays in the page and Modified stays set, so nothing is lost and
        // the save command stays available.
        ShowMessage(QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                        .arg(QDir::toNativeSeparators(page->DisplayFileName()),
                             QString::fromLocal8Bit(saved.reason.c_str())));
        return;
    }
    page->Edit().ClearModified();
}

}  // namespace zentabo
