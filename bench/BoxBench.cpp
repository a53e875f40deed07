// Box selections on 100 MB of wrapped text: copying a box of 10,000 rows by 40
// columns, pasting it back as a block, and undoing the paste.
#include <memory>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
constexpr int kRows = 10000;
constexpr int kColumns = 40;

struct BoxText {
    FixedMetricsHost host;
    std::unique_ptr<TLumEdit> edit;
    int top = 0;

    BoxText() {
        host.SetClientSize(1024, 768);
        edit = std::make_unique<TLumEdit>(host);
        edit->SetColumn(80);
        edit->SetAllText(SampleText(kTextBytes));
        edit->SetBoxSelMode(true);
        // The box's right edge is the end row's column, so that row must be long.
        int end = edit->LineCount() / 2 + kRows - 1;
        while (edit->Lines().Get(end).size() < kColumns + 2) ++end;
        top = end - kRows + 1;
    }

    // A box from the line starts over kRows rows, kColumns single-byte cells wide.
    void SelectBox() { edit->SetSel(0, top, top + kRows - 1, kColumns); }
};

RegisterCase boxCopy("box-copy-10000x40", [] {
    BoxText t;
    t.SelectBox();
    CaseResult r;
    const long long start = NowNs();
    const std::string text = t.edit->GetSelText();
    r.ms = MillisecondsSince(start);
    r.bytes = static_cast<long long>(text.size());
    return r;
});

RegisterCase boxPaste("box-paste-10000x40", [] {
    BoxText t;
    t.SelectBox();
    const std::string text = t.edit->GetSelText();
    t.edit->MoveCaretTo(5, t.top + 3, kScrollCentre);
    CaseResult r;
    r.bytes = static_cast<long long>(text.size());
    const int linesBefore = t.edit->LineCount();
    long long start = NowNs();
    t.edit->InsertString(text);
    const double pasteMs = MillisecondsSince(start);
    const int linesAdded = t.edit->LineCount() - linesBefore;
    start = NowNs();
    t.edit->Undo();
    const double undoMs = MillisecondsSince(start);
    start = NowNs();
    t.edit->Redo();
    const double redoMs = MillisecondsSince(start);
    r.ms = pasteMs;
    r.extra.push_back({"paste_ms", pasteMs});
    r.extra.push_back({"undo_ms", undoMs});
    r.extra.push_back({"redo_ms", redoMs});
    r.extra.push_back({"display_lines_added", static_cast<double>(linesAdded)});
    return r;
});

}  // namespace
}  // namespace zentabo::bench
