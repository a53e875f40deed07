// The markup and text commands run as the main window runs them, through the editor:
// with nothing selected, select all, copy the selection, transform it, replace the
// selection with the result; then one undo. On a 100 MB page (a comma table: 1.5
// million lines), and once on a one-line selection in the middle of it.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "commands/BlockBuilders.h"
#include "commands/TextTransforms.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
constexpr int kTableLines = 1500000;

using Command = std::function<std::string(std::string_view)>;

// The peak resident size since the last ResetPeak, from the kernel's high-water mark.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double PeakMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return -1;
}

struct Page {
    FixedMetricsHost host;
    std::unique_ptr<TLumEdit> edit;
    std::size_t bytes = 0;

    explicit Page(std::string text) {
        host.SetClientSize(1024, 768);
        edit = std::make_unique<TLumEdit>(host);
        edit->SetColumn(80);
        bytes = text.size();
        edit->SetAllText(std::move(text));
    }
};

// Runs the command as its handler does and adds its phases to r; answers its ms.
double RunCommand(TLumEdit& e, const Command& command, CaseResult& r) {
    long long start = NowNs();
    if (!e.SelActive() && !e.AllSelected()) e.SelectAll();
    std::string storage;
    const std::string_view selected = e.GetSelTextInPlace(storage);
    r.extra.push_back({"get_text_ms", MillisecondsSince(start)});
    long long phase = NowNs();
    std::string result = command(selected);
    r.extra.push_back({"transform_ms", MillisecondsSince(phase)});
    r.extra.push_back({"result_bytes", static_cast<double>(result.size())});
    std::string().swap(storage);
    phase = NowNs();
    e.ReplaceSelection(std::move(result));
    r.extra.push_back({"replace_ms", MillisecondsSince(phase)});
    return MillisecondsSince(start);
}

CaseResult WholeText(std::string text, const Command& command) {
    Page page(std::move(text));
    CaseResult r;
    r.bytes = static_cast<long long>(page.bytes);
    r.extra.push_back({"loaded_rss_mb", PeakMb()});
    ResetPeak();
    r.ms = RunCommand(*page.edit, command, r);
    r.extra.push_back({"command_peak_rss_mb", PeakMb()});
    r.extra.push_back({"display_lines", static_cast<double>(page.edit->LineCount())});
    return r;
}

std::string Encode(std::string_view t) {
    return EncodeHtml(t);
}

RegisterCase encode("cmd-encode-html-100mb",
                    [] { return WholeText(SampleText(kTextBytes), Encode); });

RegisterCase paragraphs("cmd-paragraph-100mb", [] {
    return WholeText(SampleText(kTextBytes),
                     [](std::string_view t) { return ConvertParagraphs(t); });
});

RegisterCase table("cmd-table-comma-1.5m", [] {
    return WholeText(CommaLines(kTableLines),
                     [](std::string_view t) { return BuildTable(t, ',', "list"); });
});

RegisterCase undoEncode("cmd-undo-encode-100mb", [] {
    Page page(SampleText(kTextBytes));
    // A hash, not a copy: the undo's peak should not count a second text.
    const std::size_t before = std::hash<std::string>()(page.edit->GetAllText());
    CaseResult r;
    r.bytes = static_cast<long long>(page.bytes);
    r.extra.push_back({"command_ms", RunCommand(*page.edit, Encode, r)});
    ResetPeak();
    long long start = NowNs();
    page.edit->Undo();
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"undo_peak_rss_mb", PeakMb()});
    start = NowNs();
    page.edit->Redo();
    r.extra.push_back({"redo_ms", MillisecondsSince(start)});
    page.edit->Undo();
    const bool restored = std::hash<std::string>()(page.edit->GetAllText()) == before;
    r.extra.push_back({"restored", restored ? 1.0 : 0.0});
    return r;
});

// One line in the middle of the 100 MB page, selected and encoded, then undone.
RegisterCase oneLine("cmd-encode-html-one-line-100mb", [] {
    Page page(SampleText(kTextBytes));
    TLumEdit& e = *page.edit;
    int line = e.LineCount() / 2;
    e.SetSel(0, line, line + 1, 0);
    CaseResult r;
    r.bytes = static_cast<long long>(page.bytes);
    r.ms = RunCommand(e, Encode, r);
    long long start = NowNs();
    e.Undo();
    r.extra.push_back({"undo_ms", MillisecondsSince(start)});
    // The first change that adds a display line grows the store's slot array, trimmed
    // to its count by the load; the third shows the command's own cost again.
    for (int n = 2; n <= 3; ++n) {
        e.SetSel(0, line + 2 * n, line + 2 * n + 1, 0);
        CaseResult again;
        r.extra.push_back({"line" + std::to_string(n) + "_ms", RunCommand(e, Encode, again)});
    }
    return r;
});

// The same on a page just loaded from a file: the first command after a load must not
// pay for the load's layout of the store.
RegisterCase oneLineAfterLoad("cmd-encode-html-one-line-after-load-100mb", [] {
    const std::string path = WriteSampleFile("one-line.txt", kTextBytes, Breaks::CrLf);
    Page page(std::string{});
    TLumEdit& e = *page.edit;
    CaseResult r;
    long long start = NowNs();
    const bool loaded = e.LoadFile(path);
    r.extra.push_back({"load_ms", MillisecondsSince(start)});
    r.extra.push_back({"loaded", loaded ? 1.0 : 0.0});
    r.bytes = static_cast<long long>(kTextBytes);
    const int line = e.LineCount() / 2;
    e.SetSel(0, line, line + 1, 0);
    r.ms = RunCommand(e, Encode, r);
    start = NowNs();
    e.Undo();
    r.extra.push_back({"undo_ms", MillisecondsSince(start)});
    return r;
});

}  // namespace
}  // namespace zentabo::bench
