// The main window's print command.

#include <QPrinter>
#include <QPrinterInfo>

#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PagePrinter.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

// The display lines as printed: each entry without its line-end bytes.
QStringList PrintableLines(const TLumEdit& e) {
    QStringList out;
    const TLumStrings& lines = e.Lines();
    out.reserve(lines.Count());
    for (int k = 0; k < lines.Count(); ++k) {
        std::string s(lines.Get(k));
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == '\0'))
            s.pop_back();
        out << QString::fromStdU16String(Cp932ToUtf16(s));
    }
    return out;
}

}  // namespace

void TMainForm::FilePrint() {
    TEditSheet* page = ActiveSheet();
    if (!page) return;
    QPrinter printer(QPrinter::HighResolution);
    if (!printerOverride_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerOverride_);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        // No default printer: let the user pick one, or a PDF file, instead of giving up.
        if (!dialogs_.choosePrinter(this, printer)) return;
    }
    QString error;
    if (!PrintLines(printer, PrintableLines(page->Edit()), windowTitle(), &error))
        ShowMessage(error);
}

}  // namespace zentabo
