// Open, save and print of the active page.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PagePrinter.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

// Why a file cannot be written, in the words of the system.
QString WriteFailureReason(const QString& path) {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) return probe.errorString();
    return QStringLiteral("書き込み中にエラーが発生しました");
}

// The display lines as printed: each entry without its line-end bytes.
QStringList PrintableLines(const TLumEdit& e) {
    QStringList out;
    const TLumStrings& lines = e.Lines();
    out.reserve(lines.Count());
    for (int k = 0; k < lines.Count(); ++k) {
        std::string s = lines.Get(k);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == '\0'))
            s.pop_back();
        out << QString::fromStdU16String(Cp932ToUtf16(s));
    }
    return out;
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

void TMainForm::FilePrint() {
    TEditSheet* page = ActiveSheet();
    if (!page) return;
    if (QPrinterInfo::defaultPrinter().isNull() && printerOverride_.isEmpty()) {
        ShowMessage(
            QStringLiteral("プリンタが見つかりません。プリンタを設定してから印刷してください。"));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!printerOverride_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerOverride_);
    }
    QString error;
    if (!PrintLines(printer, PrintableLines(page->Edit()), windowTitle(), &error))
        ShowMessage(error);
}

}  // namespace zentabo
