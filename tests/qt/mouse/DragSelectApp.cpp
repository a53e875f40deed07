// The editor widget alone in a window titled "dragtest" with a known text, for a
// drag selection made with the real pointer (run_drag_test.sh drives it through
// xdotool). It prints where to press and where to release, in screen pixels, and
// after the release the selected bytes as code page 932 hex ("RESULT sel hex=...").

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"

namespace {

void Say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The middle of a row, just inside the cell that starts at col.
QPoint ScreenPoint(zentabo::LumEditWidget& w, int line, int col) {
    zentabo::TLumEdit& e = w.Edit();
    const int x = e.TextLeft() + e.ColumnToPixel(line, col) - e.HorzOffset() + 1;
    const int y = e.TopMargin() + (line - e.TopLine()) * e.LineHeight() + e.LineHeight() / 2;
    return w.mapToGlobal(QPoint(x, y));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zentabo::LumEditWidget editor;
    editor.setWindowTitle(QStringLiteral("dragtest"));
    editor.resize(480, 240);
    editor.Edit().SetWordWrap(false);
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor)) return 1;
    // 日本 in the middle row: the drag must never end inside a double-byte character.
    editor.Edit().SetAllText("abcdef\r\ng\x93\xfa\x96\x7bh\r\nijklmn");
    const QPoint from = ScreenPoint(editor, 0, 1);
    const QPoint to = ScreenPoint(editor, 2, 4);
    Say(QStringLiteral("READY from=%1,%2 to=%3,%4")
            .arg(from.x())
            .arg(from.y())
            .arg(to.x())
            .arg(to.y()));
    editor.Edit().OnMouseUp = [&](zentabo::TLumEdit& e, zentabo::TLumEdit::TMouseButton, int, int,
                                  int) {
        // Reported once the editor has handled the release.
        QTimer::singleShot(0, &app, [&] {
            Say(QStringLiteral("RESULT sel hex=\"%1\"")
                    .arg(
                        QString::fromLatin1(QByteArray::fromStdString(e.GetSelText()).toHex(' '))));
            app.quit();
        });
    };
    QTimer::singleShot(30000, &app, [&] {
        Say(QStringLiteral("TIMEOUT"));
        app.exit(1);
    });
    return app.exec();
}
