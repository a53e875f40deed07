#pragma once

// Texts of the caption and the status panels, kept apart from the window so they
// can be checked on their own.

#include <QString>

namespace zentabo {

// " %5d行 %5d桁　%s": display line, caret column in screen cells, insert mode word;
// in box mode "　矩形" follows.
QString CaretPanelText(int caretLine, int displayColumn, bool insertMode, bool boxMode = false);

// "Zentabo - <path>" for a bound page, "Zentabo" otherwise.
QString WindowCaption(const QString& fileName);

// "保存" while the page text is kept in the page store.
QString SaveModePanelText(bool saveMode);

}  // namespace zentabo
