// Editor model timings on 100 MB of wrapped text: wrapping, typing, deleting, undo
// and redo in the middle, and switching word wrap.
#include <algorithm>
#include <memory>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
constexpr int kKeystrokes = 1000;

struct WrappedText {
    FixedMetricsHost host;
    std::unique_ptr<TLumEdit> edit;
    double wrapMs = 0;

    WrappedText() {
        host.SetClientSize(1024, 768);
        edit = std::make_unique<TLumEdit>(host);
        edit->SetColumn(80);
        std::string text = SampleText(kTextBytes);
        long long start = NowNs();
        edit->SetAllText(std::move(text));
        wrapMs = MillisecondsSince(start);
    }

    // The caret in the middle of the text, at the start of a display line.
    void CaretToMiddle() { edit->MoveCaretTo(0, edit->LineCount() / 2, kScrollCentre); }
};

struct Percentiles {
    double median = 0;
    double p99 = 0;
};

Percentiles Summarize(const std::vector<double>& us) {
    return {Percentile(us, 50), Percentile(us, 99)};
}

// Typed text as a writer types it: letters, kana and now and then Enter.
std::string Keystroke(int i) {
    if (i % 61 == 60) return "\r\n";
    if (i % 3 == 0) return "\x82\xA0";
    return std::string(1, static_cast<char>('a' + i % 26));
}

void AddTimes(CaseResult& r, const char* prefix, const std::vector<double>& us) {
    Percentiles p = Summarize(us);
    r.extra.push_back({std::string(prefix) + "median_us", p.median});
    r.extra.push_back({std::string(prefix) + "p99_us", p.p99});
    if (!us.empty())
        r.extra.push_back(
            {std::string(prefix) + "max_us", *std::max_element(us.begin(), us.end())});
}

std::vector<double> TypeAll(TLumEdit& edit) {
    std::vector<double> us;
    for (int i = 0; i < kKeystrokes; ++i) {
        std::string key = Keystroke(i);
        long long start = NowNs();
        edit.TypeText(key);
        us.push_back((NowNs() - start) / 1e3);
    }
    return us;
}

RegisterCase wrap("wrap-100mb", [] {
    WrappedText t;
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    r.ms = t.wrapMs;
    r.extra.push_back({"display_lines", static_cast<double>(t.edit->LineCount())});
    return r;
});

RegisterCase type("type-1000", [] {
    WrappedText t;
    t.CaretToMiddle();
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    long long start = NowNs();
    std::vector<double> us = TypeAll(*t.edit);
    r.ms = MillisecondsSince(start);
    AddTimes(r, "", us);
    return r;
});

RegisterCase backspace("backspace-1000", [] {
    WrappedText t;
    t.CaretToMiddle();
    TypeAll(*t.edit);
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    std::vector<double> us;
    long long start = NowNs();
    for (int i = 0; i < kKeystrokes; ++i) {
        long long s = NowNs();
        t.edit->DeleteBackward();
        us.push_back((NowNs() - s) / 1e3);
    }
    r.ms = MillisecondsSince(start);
    AddTimes(r, "", us);
    return r;
});

RegisterCase undoRedo("undo-redo-1000", [] {
    WrappedText t;
    t.CaretToMiddle();
    TypeAll(*t.edit);
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    std::vector<double> undoUs, redoUs;
    long long start = NowNs();
    while (!t.edit->UndoList().empty()) {
        long long s = NowNs();
        t.edit->Undo();
        undoUs.push_back((NowNs() - s) / 1e3);
    }
    while (!t.edit->RedoList().empty()) {
        long long s = NowNs();
        t.edit->Redo();
        redoUs.push_back((NowNs() - s) / 1e3);
    }
    r.ms = MillisecondsSince(start);
    AddTimes(r, "undo_", undoUs);
    AddTimes(r, "redo_", redoUs);
    r.extra.push_back({"steps", static_cast<double>(undoUs.size())});
    return r;
});

RegisterCase toggle("wordwrap-toggle", [] {
    WrappedText t;
    t.CaretToMiddle();
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    long long start = NowNs();
    t.edit->SetWordWrap(false);
    double offMs = MillisecondsSince(start);
    long long onStart = NowNs();
    t.edit->SetWordWrap(true);
    double onMs = MillisecondsSince(onStart);
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"off_ms", offMs});
    r.extra.push_back({"on_ms", onMs});
    r.extra.push_back({"display_lines", static_cast<double>(t.edit->LineCount())});
    return r;
});

// The options dialog's OK on a large page: font, wrap, column and tab width change
// at once, applied as a page applies settings.
RegisterCase apply("apply-settings-100mb", [] {
    WrappedText t;
    t.CaretToMiddle();
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    const int wrapsBefore = t.edit->WholeTextWraps();
    long long start = NowNs();
    t.edit->HoldWrapsUntilApply();
    FontDescription font = t.edit->Font();
    font.height += 2;
    t.edit->SetFont(font);
    t.edit->SetAutoWrap(true);
    t.edit->SetColumn(72);
    t.edit->SetTabCount(4);
    t.edit->ApplyViewSettings();
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"whole_text_wraps", double(t.edit->WholeTextWraps() - wrapsBefore)});
    return r;
});

}  // namespace
}  // namespace zentabo::bench
