// The main window with a known page and, beside it, an editor in the mode that drags
// text to other programs, for drags made with the real pointer (run_dnd_test.sh drives
// it through xdotool). It prints where the page and the editor's selection are in
// screen pixels ("READY page=X,Y ole=X,Y"), notes when the editor's own drag starts and
// ends ("OLE-DRAG started|ended"), and answers the commands read from stdin:
// "state" prints the texts and selections as code page 932 hex, "undo" undoes once on
// the page first, "quit" ends.

#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "editor/LumEdit.h"
#include "qt/shell/EditSheet.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/ShellTestSupport.h"
#include "qt/widget/LumEditWidget.h"

using namespace zentabo;

namespace {

void Say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString Hex(const std::string& s) {
    return QString::fromLatin1(QByteArray::fromStdString(s).toHex(' '));
}

// The middle of a row, just inside the cell that starts at col.
QPoint ScreenPoint(LumEditWidget& w, int line, int col) {
    TLumEdit& e = w.Edit();
    const int x = e.TextLeft() + e.ColumnToPixel(line, col) - e.HorzOffset() + 1;
    const int y = e.TopMargin() + (line - e.TopLine()) * e.LineHeight() + e.LineHeight() / 2;
    return w.mapToGlobal(QPoint(x, y));
}

QString Where(const QPoint& p) {
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

// Reports the editor's own drag as it starts and ends; the drag runs a nested event
// loop in which timers still fire.
void WatchOleDrag(QApplication& app) {
    auto* timer = new QTimer(&app);
    auto dragging = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, [dragging] {
        const bool now = LumEditWidget::OleDragSource() != nullptr;
        if (now == *dragging) return;
        *dragging = now;
        Say(now ? QStringLiteral("OLE-DRAG started") : QStringLiteral("OLE-DRAG ended"));
    });
    timer->start(20);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList messages;
    TMainForm form(dir.path(), testing::Quiet(&messages));
    form.setWindowTitle(QStringLiteral("drophost"));
    form.move(0, 0);
    form.resize(640, 480);
    form.show();

    LumEditWidget ole;
    ole.setWindowTitle(QStringLiteral("olesource"));
    ole.SetDragMode(dmOLEAuto);
    ole.Edit().SetWordWrap(false);
    ole.move(700, 400);
    ole.resize(400, 160);
    ole.show();
    if (!QTest::qWaitForWindowExposed(&form) || !QTest::qWaitForWindowExposed(&ole)) return 1;

    TLumEdit& page = form.ActiveSheet()->Edit();
    page.SetAllText("see \x93\xfa\x96\x7bhere.");  // see 日本here.
    page.SetSel(4, 0, 0, 12);                      // 日本here
    ole.Edit().SetAllText("drag \x93\xfa\x96\x7b out");
    ole.Edit().SetSel(5, 0, 0, 9);  // 日本
    ole.activateWindow();

    LumEditWidget& pageWidget = *form.ActiveSheet()->EditWidget();
    const QPoint pageCentre = pageWidget.mapToGlobal(pageWidget.rect().center());
    Say(QStringLiteral("READY page=%1 ole=%2")
            .arg(Where(pageCentre), Where(ScreenPoint(ole, 0, 6))));
    WatchOleDrag(app);

    auto state = [&] {
        Say(QStringLiteral("STATE page=\"%1\" pagesel=\"%2\" ole=\"%3\" olesel=\"%4\"")
                .arg(Hex(page.GetAllText()), Hex(page.GetSelText()), Hex(ole.Edit().GetAllText()),
                     Hex(ole.Edit().GetSelText())));
    };
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        const ssize_t n = read(STDIN_FILENO, line, sizeof line - 1);
        if (n <= 0) {
            app.quit();
            return;
        }
        for (const QByteArray& command : QByteArray(line, n).split('\n')) {
            if (command.trimmed() == "state") {
                state();
            } else if (command.trimmed() == "undo") {
                page.Undo();
                state();
            } else if (command.trimmed() == "quit") {
                app.quit();
            }
        }
    });
    QTimer::singleShot(60000, &app, [&] {
        Say(QStringLiteral("TIMEOUT"));
        app.exit(1);
    });
    return app.exec();
}
