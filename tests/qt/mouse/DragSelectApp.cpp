// The editor widget alone in a window titled "dragtest" with a known text, for a
// drag selection made with the real pointer (run_drag_test.sh drives it through
// xdotool). It prints where to press, where to release and where to middle-click, in
// screen pixels; after the release the selected bytes as code page 932 hex
// ("RESULT sel hex=..."), after the middle click the whole text ("RESULT text hex=...").

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
    const QPoint paste = ScreenPoint(editor, 2, 6);
    Say(QStringLiteral("READY from=%1,%2 to=%3,%4 paste=%5,%6")
            .arg(from.x())
            .arg(from.y())
            .arg(to.x())
            .arg(to.y())
            .arg(paste.x())
            .arg(paste.y()));
    auto hex = [](const std::string& s) {
        return QString::fromLatin1(QByteArray::fromStdString(s).toHex(' '));
    };
    using zentabo::TLumEdit;
    editor.Edit().OnMouseUp = [&](TLumEdit& e, TLumEdit::TMouseButton button, int, int, int) {
        // Reported once the widget has handled the release.
        QTimer::singleShot(0, &app, [&, button] {
            if (button == TLumEdit::mbLeft) {
                Say(QStringLiteral("RESULT sel hex=\"%1\"").arg(hex(e.GetSelText())));
            } else if (button == TLumEdit::mbMiddle) {
                Say(QStringLiteral("RESULT text hex=\"%1\"").arg(hex(e.GetAllText())));
                app.quit();
            }
        });
    };
    QTimer::singleShot(30000, &app, [&] {
        Say(QStringLiteral("TIMEOUT"));
        app.exit(1);
    });
    return app.exec();
}
