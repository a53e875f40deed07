#pragma once

// Prints display lines the way the page image is laid out: the lines 20 units apart on
// a 630 x 991 sheet, stretched onto the printer's printable area, in the printing
// surface's default font. Where the text needs more than one sheet it continues on
// further sheets instead of being cut off.

#include <QString>
#include <QStringList>

class QPrinter;

namespace zentabo {

constexpr int kPrintSheetWidth = 630;
constexpr int kPrintSheetHeight = 991;
constexpr int kPrintLineStep = 20;
constexpr int kPrintLinesPerSheet = kPrintSheetHeight / kPrintLineStep;

// Returns false (with error set) when the job could not be started or was aborted.
bool PrintLines(QPrinter& printer, const QStringList& lines, const QString& title, QString* error);

}  // namespace zentabo
