#include "qt/shell/PagePrinter.h"

#include <algorithm>

#include <QFontInfo>
#include <QPainter>
#include <QPrinter>

namespace zentabo {

bool PrintLines(QPrinter& printer, const QStringList& lines, const QString& title, QString* error) {
    printer.setDocName(title);
    // Not the full page: the painter's origin is the corner of the printable area, the
    // part of the paper inside the printer's own margins and the ones the user chose.
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error) *error = QStringLiteral("印刷を開始できませんでした。");
        return false;
    }
    // The sheet image is stretched onto the whole printable area.
    const QRectF target(0, 0, printer.width(), printer.height());
    const int sheets =
        std::max<qsizetype>(1, (lines.size() + kPrintLinesPerSheet - 1) / kPrintLinesPerSheet);
    for (int sheet = 0; sheet < sheets; ++sheet) {
        if (sheet > 0 && !printer.newPage()) {
            painter.end();
            if (error) *error = QStringLiteral("印刷を続けられませんでした。");
            return false;
        }
        painter.save();
        painter.translate(target.topLeft());
        painter.scale(target.width() / kPrintSheetWidth, target.height() / kPrintSheetHeight);
        painter.setClipRect(QRect(0, 0, kPrintSheetWidth, kPrintSheetHeight));
        // Sized as on the screen, in sheet units: the sheet is a screen-sized image.
        QFont font;
        font.setPixelSize(std::clamp(QFontInfo(QFont()).pixelSize(), 8, kPrintLineStep - 4));
        painter.setFont(font);
        painter.setPen(Qt::black);
        const int first = sheet * kPrintLinesPerSheet;
        const int last = std::min<int>(lines.size(), first + kPrintLinesPerSheet);
        for (int k = first; k < last; ++k) {
            const QRect row(0, (k - first) * kPrintLineStep, kPrintSheetWidth, kPrintLineStep);
            painter.drawText(row, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, lines[k]);
        }
        painter.restore();
    }
    painter.end();
    return true;
}

}  // namespace zentabo
