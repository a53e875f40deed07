#include "qt/shell/StatusText.h"

namespace zentabo {

QString CaretPanelText(int caretLine, int displayColumn, bool insertMode, bool boxMode) {
    // Right-aligned in five characters; wider numbers are not cut.
    const QString text = QStringLiteral(" %1行 %2桁　%3")
                             .arg(caretLine, 5)
                             .arg(displayColumn, 5)
                             .arg(insertMode ? QStringLiteral("挿入") : QStringLiteral("上書"));
    return boxMode ? text + QStringLiteral("　矩形") : text;
}

QString WindowCaption(const QString& fileName) {
    return fileName.isEmpty() ? QStringLiteral("Zentabo")
                              : QStringLiteral("Zentabo - %1").arg(fileName);
}

QString SaveModePanelText(bool saveMode) {
    return saveMode ? QStringLiteral("保存") : QString();
}

}  // namespace zentabo
