// "drag-select-1000": a mouse drag selection over 1,000 rows of 100 MB wrapped text in
// the Qt editor widget (offscreen platform): the pointer goes down row by row and,
// below the window, the auto-scroll tick takes the selection on. Each step is timed
// with the drawing it causes in the widget's canvas and the widget's repaint.
#ifdef ZENTABO_BENCH_QT
#include <QApplication>
#include <memory>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
constexpr int kRows = 1000;

CaseResult RunDragSelect() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zentabo-bench";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    if (!QApplication::instance()) app = std::make_unique<QApplication>(argc, argv);

    LumEditWidget widget;
    TLumEdit& e = widget.Edit();
    FontDescription font = e.Font();
    font.name = "IPAGothic";
    font.height = 14;
    e.SetFont(font);
    widget.resize(800, 600);
    widget.show();
    QApplication::processEvents();
    e.ApplyViewSettings();
    e.SetColumn(80);
    e.SetAllText(SampleText(kTextBytes));
    e.MoveCaretTo(0, e.LineCount() / 2, kScrollCentre);
    QApplication::processEvents();

    auto rowY = [&](int row) { return e.TopMargin() + row * e.LineHeight() + e.LineHeight() / 2; };
    const int x = e.TextLeft() + 20 * e.CharWidth();
    const int first = e.TopLine();
    e.MouseDown(TLumEdit::mbLeft, 0, x, rowY(0));
    QApplication::processEvents();
    std::vector<double> moves, ticks;
    int row = 0;
    int step = 0;
    while (e.CaretLine() - first < kRows && step < 4 * kRows) {
        const long long start = NowNs();
        if (row < e.LinesPerPage() - 1) {
            ++row;
            e.MouseMove(0, x + (step % 7), rowY(row));
        } else {
            e.MouseMove(0, x + (step % 7), widget.height() + 20);
            e.TimerTick();
        }
        QApplication::processEvents();
        (row < e.LinesPerPage() - 1 || e.AutoScrollDirection() == 0 ? moves : ticks)
            .push_back((NowNs() - start) / 1e6);
        ++step;
    }
    e.MouseUp(TLumEdit::mbLeft, 0, x, widget.height() + 20);
    std::vector<double> all = moves;
    all.insert(all.end(), ticks.begin(), ticks.end());
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    r.ms = Percentile(all, 50);
    r.extra.push_back({"median_ms", Percentile(all, 50)});
    r.extra.push_back({"p99_ms", Percentile(all, 99)});
    r.extra.push_back({"move_median_ms", Percentile(moves, 50)});
    r.extra.push_back({"scroll_tick_median_ms", Percentile(ticks, 50)});
    r.extra.push_back({"scroll_tick_p99_ms", Percentile(ticks, 99)});
    r.extra.push_back({"rows_selected", static_cast<double>(e.CaretLine() - first)});
    r.extra.push_back({"steps", static_cast<double>(all.size())});
    return r;
}

RegisterCase dragSelect("drag-select-1000", RunDragSelect);

}  // namespace
}  // namespace zentabo::bench
#endif
