// Replace-all of a short word on 100 MB of wrapped text (zq -> zqq, a few thousand hits
// spread over the whole text), without and with a progress handler, undoing every one of its steps,
// cancelling it at its end, and typing mid-text on a fresh page, right after the
// replace-all and right after undoing it.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "app/FindCompare.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
constexpr int kKeystrokes = 1000;

struct Page {
    FixedMetricsHost host;
    std::unique_ptr<TLumEdit> edit;
    int replaced = 0;

    Page() {
        host.SetClientSize(1024, 768);
        edit = std::make_unique<TLumEdit>(host);
        edit->SetColumn(80);
        edit->SetAllText(SampleText(kTextBytes));
        edit->OnFind = [](TLumEdit&, const std::string& str, const std::string& findchr, int,
                          int& x, int&) { x = FindCompare(str, findchr, false); };
        edit->OnFindChangeEnd = [this](TLumEdit&, const std::string&, const std::string&,
                                       int count) { replaced = count; };
    }

    double ReplaceAll() {
        long long start = NowNs();
        edit->FindReplace("zq", "zqq", true, false, true);
        return MillisecondsSince(start);
    }

    // As the shell runs it: every progress call reads the clock, as the busy dialog
    // does until it shows.
    double ReplaceAllWithProgress(int& calls) {
        long long start = NowNs();
        edit->OnReplaceProgress = [&](double) { return ++calls > 0 && NowNs() > start; };
        edit->FindReplace("zq", "zqq", true, false, true);
        edit->OnReplaceProgress = nullptr;
        return MillisecondsSince(start);
    }

    double UndoAll() {
        long long start = NowNs();
        while (!edit->UndoList().empty()) edit->Undo();
        return MillisecondsSince(start);
    }
};

// Typed text as a writer types it: letters, kana and now and then Enter.
std::string Keystroke(int i) {
    if (i % 61 == 60) return "\r\n";
    if (i % 3 == 0) return "\x82\xA0";
    return std::string(1, static_cast<char>('a' + i % 26));
}

// Types kKeystrokes keys mid-text and adds their median, p99 and maximum to r.
void TypeMidText(TLumEdit& edit, const std::string& prefix, CaseResult& r) {
    edit.MoveCaretTo(0, edit.LineCount() / 2, kScrollCentre);
    std::vector<double> us;
    for (int i = 0; i < kKeystrokes; ++i) {
        const std::string key = Keystroke(i);
        long long start = NowNs();
        edit.TypeText(key);
        us.push_back((NowNs() - start) / 1e3);
    }
    std::sort(us.begin(), us.end());
    r.extra.push_back({prefix + "median_us", us[us.size() / 2]});
    r.extra.push_back({prefix + "p99_us", us[us.size() * 99 / 100]});
    r.extra.push_back({prefix + "max_us", us.back()});
}

RegisterCase replaceZq("replace-zq-100mb", [] {
    Page page;
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    r.ms = page.ReplaceAll();
    r.extra.push_back({"replaced", static_cast<double>(page.replaced)});
    r.extra.push_back({"display_lines", static_cast<double>(page.edit->LineCount())});
    return r;
});

RegisterCase replaceZqProgress("replace-zq-100mb-progress", [] {
    Page page;
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    int calls = 0;
    r.ms = page.ReplaceAllWithProgress(calls);
    r.extra.push_back({"replaced", static_cast<double>(page.replaced)});
    r.extra.push_back({"progress_calls", static_cast<double>(calls)});
    return r;
});

RegisterCase undoZq("undo-replace-zq-100mb", [] {
    Page page;
    const std::size_t before = std::hash<std::string>()(page.edit->GetAllText());
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    r.extra.push_back({"replace_ms", page.ReplaceAll()});
    r.extra.push_back({"undo_steps", static_cast<double>(page.replaced)});
    r.ms = page.UndoAll();
    const bool restored = std::hash<std::string>()(page.edit->GetAllText()) == before;
    r.extra.push_back({"restored", restored ? 1.0 : 0.0});
    return r;
});

// Cancelled at its last progress call, when nearly every hit is replaced: the run takes
// every change back. ms: the whole run with its taking back; revert_ms: from the stop
// on.
RegisterCase cancelZq("cancel-replace-zq-100mb", [] {
    Page page;
    const std::size_t before = std::hash<std::string>()(page.edit->GetAllText());
    int calls = 0;
    page.ReplaceAllWithProgress(calls);
    while (!page.edit->UndoList().empty()) page.edit->Undo();
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    int call = 0;
    long long stopped = 0;
    page.edit->OnReplaceProgress = [&](double) {
        if (++call < calls) return true;
        stopped = NowNs();
        return false;
    };
    long long start = NowNs();
    const bool done = page.edit->FindReplace("zq", "zqq", true, false, true);
    r.ms = MillisecondsSince(start);
    page.edit->OnReplaceProgress = nullptr;
    r.extra.push_back({"revert_ms", stopped ? MillisecondsSince(stopped) : -1.0});
    const bool restored = !done && std::hash<std::string>()(page.edit->GetAllText()) == before;
    r.extra.push_back({"restored", restored ? 1.0 : 0.0});
    return r;
});

// The keystrokes that follow a whole-text change must not pay for it.
RegisterCase typeAround("type-around-replace-zq-100mb", [] {
    Page page;
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    long long start = NowNs();
    TypeMidText(*page.edit, "fresh_", r);
    page.ReplaceAll();
    TypeMidText(*page.edit, "after_replace_", r);
    page.UndoAll();
    TypeMidText(*page.edit, "after_undo_", r);
    r.ms = MillisecondsSince(start);
    return r;
});

}  // namespace
}  // namespace zentabo::bench
