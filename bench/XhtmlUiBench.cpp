// "xhtml-autocheck-ui-4mb": what the user-interface thread spends on one check of a
// 4 MB page with a full list of problems: taking the text and starting the worker
// (take_ms), and receiving the result and showing its rows (show_ms). The check
// itself runs on the worker and is not counted.
#ifdef ZENTABO_BENCH_QT
#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchRegistry.h"
#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/XhtmlBackgroundCheck.h"
#include "qt/shell/XhtmlCheckPanel.h"
#include "store/Cp932Codec.h"

namespace zentabo::bench {
namespace {

constexpr int kChecks = 5;

// Paragraphs of Japanese text, every one with a bare '&': more faults than the list
// keeps.
std::string FaultyPage() {
    const std::string line =
        Utf8ToCp932("<p>自動検査の対象になる日本語の段落 & その続き</p>\r\n").bytes;
    std::string text;
    while (text.size() < (4u << 20) - line.size()) text += line;
    return text;
}

CaseResult RunAutoCheckUi() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zentabo-bench";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    if (!QApplication::instance()) app = std::make_unique<QApplication>(argc, argv);

    QTemporaryDir dir;
    TMainForm form(dir.path());
    form.show();
    QApplication::processEvents();
    const std::string text = FaultyPage();
    form.ActiveSheet()->Edit().SetAllText(text);
    XhtmlBackgroundCheck* worker = form.XhtmlWorker();
    bool delivered = false;
    QObject::connect(worker, &XhtmlBackgroundCheck::Finished, [&delivered] { delivered = true; });

    std::vector<double> take, show;
    for (int i = 0; i <= kChecks; ++i) {
        delivered = false;
        long long start = NowNs();
        form.Action(QStringLiteral("XhtmlCheck1"))->trigger();
        const double taken = MillisecondsSince(start);
        double shown = 0;
        while (!delivered) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            start = NowNs();
            QApplication::processEvents();
            shown = MillisecondsSince(start);
        }
        // The first round lays out the panel as it first appears.
        if (i == 0) continue;
        take.push_back(taken);
        show.push_back(shown);
    }
    std::sort(take.begin(), take.end());
    std::sort(show.begin(), show.end());
    CaseResult r;
    r.bytes = static_cast<long long>(text.size());
    r.ms = take[take.size() / 2] + show[show.size() / 2];
    r.extra.push_back({"take_ms", take[take.size() / 2]});
    r.extra.push_back({"show_ms", show[show.size() / 2]});
    r.extra.push_back({"take_max_ms", take.back()});
    r.extra.push_back({"show_max_ms", show.back()});
    r.extra.push_back({"rows", static_cast<double>(form.XhtmlPanel()->Problems().size())});
    form.close();
    return r;
}

RegisterCase autoCheckUi("xhtml-autocheck-ui-4mb", RunAutoCheckUi);

}  // namespace
}  // namespace zentabo::bench
#endif
