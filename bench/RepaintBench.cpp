// "repaint-50x200": a full repaint of a 50-row by 200-column page with every mark on,
// through the Qt editor widget's canvas on its backing image (offscreen platform).
// "repaint-50x200-200pct": the same on a screen scaled to 200 percent, where the image
// holds four times the pixels.
// "cmd-encode-html-100mb-qt": the HTML encoding of a whole 100 MB page and its undo in
// the same widget, so the wrap measures with the Qt font's cached advances.
#ifdef ZENTABO_BENCH_QT
#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "commands/TextTransforms.h"
#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"

namespace zentabo::bench {
namespace {

constexpr int kRows = 50;
constexpr int kColumns = 200;
constexpr int kRepaints = 200;

// Lines of exactly 200 bytes from the sample text, marks and URLs mixed in.
std::string PageText() {
    const std::string sample = SampleText(256 * 1024);
    std::string text;
    size_t pos = 0;
    for (int row = 0; row < kRows + 10; ++row) {
        std::string line;
        while (static_cast<int>(line.size()) < kColumns - 2 && pos < sample.size()) {
            char c = sample[pos++];
            if (c == '\r' || c == '\n') c = ' ';
            line += c;
        }
        // Never end on a lone lead byte.
        while (static_cast<int>(line.size()) > kColumns - 40) line.pop_back();
        if (row % 5 == 0) line = "> " + line;
        if (row % 7 == 0) line += " http://example.jp/a\t\x81\x40";
        text += line.substr(0, kColumns) + "\r\n";
    }
    return text;
}

std::unique_ptr<QApplication> StartApplication(const char* scale = "1") {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Each case runs in a process of its own, before any application exists.
    qputenv("QT_SCALE_FACTOR", scale);
    static int argc = 1;
    static char name[] = "zentabo-bench";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    if (!QApplication::instance()) app = std::make_unique<QApplication>(argc, argv);
    return app;
}

void UseBenchFont(TLumEdit& e) {
    FontDescription font = e.Font();
    font.name = "IPAGothic";
    font.height = 14;
    e.SetFont(font);
}

CaseResult RunRepaint(const char* scale) {
    auto app = StartApplication(scale);
    LumEditWidget widget;
    TLumEdit& e = widget.Edit();
    UseBenchFont(e);
    e.SetLineSpace(0);
    e.SetWordWrap(false);
    e.ShowLineNumber = e.ShowTAB = e.ShowSglSpace = e.ShowDblSpace = true;
    e.ShowCR = e.ShowEOF = e.ShowUnderLine = e.ShowHTMLTagColor = true;
    e.SetShowRuler(true);
    e.SetShowRulerCur(true);
    const int scroll = widget.ScrollBarSize(ScrollBarKind::Vertical);
    widget.resize(e.LeftMargin() + 60 + kColumns * e.CharWidth() + scroll,
                  e.TopMargin() + kRows * e.LineHeight() + 2);
    widget.show();
    QApplication::processEvents();
    e.UpdateLayout();
    e.SetGutterWidth();
    e.SetAllText(PageText());

    std::vector<double> ms;
    for (int i = 0; i < kRepaints; ++i) {
        const long long start = NowNs();
        e.Paint();
        ms.push_back(MillisecondsSince(start));
    }
    // The first repaint meets every character of the page for the first time.
    const double first = ms.front();
    std::sort(ms.begin(), ms.end());
    CaseResult r;
    r.ms = ms[ms.size() / 2];
    r.extra.push_back({"median_ms", ms[ms.size() / 2]});
    r.extra.push_back({"p90_ms", ms[ms.size() * 9 / 10]});
    r.extra.push_back({"first_ms", first});
    r.extra.push_back({"rows", e.LinesPerPage()});
    r.extra.push_back({"columns", e.ColumnsPerPage()});
    r.extra.push_back({"image_width", widget.BackingImage().width()});
    return r;
}

RegisterCase repaint("repaint-50x200", [] { return RunRepaint("1"); });
RegisterCase repaintScaled("repaint-50x200-200pct", [] { return RunRepaint("2"); });

// As the main window runs it with nothing selected, then one undo.
CaseResult RunEncodeInWidget() {
    auto app = StartApplication();
    LumEditWidget widget;
    TLumEdit& e = widget.Edit();
    UseBenchFont(e);
    widget.resize(1024, 768);
    widget.show();
    QApplication::processEvents();
    e.SetColumn(80);
    std::string text = SampleText(100u * 1024 * 1024);
    CaseResult r;
    r.bytes = static_cast<long long>(text.size());
    long long start = NowNs();
    e.SetAllText(std::move(text));
    r.extra.push_back({"load_ms", MillisecondsSince(start)});
    start = NowNs();
    e.SelectAll();
    std::string selected = e.GetSelText();
    std::string encoded = EncodeHtml(selected);
    std::string().swap(selected);
    const long long replaceStart = NowNs();
    e.ReplaceSelection(std::move(encoded));
    r.extra.push_back({"replace_ms", MillisecondsSince(replaceStart)});
    r.ms = MillisecondsSince(start);
    start = NowNs();
    e.Undo();
    r.extra.push_back({"undo_ms", MillisecondsSince(start)});
    r.extra.push_back({"display_lines", static_cast<double>(e.LineCount())});
    return r;
}

RegisterCase encodeInWidget("cmd-encode-html-100mb-qt", RunEncodeInWidget);

}  // namespace
}  // namespace zentabo::bench
#endif
