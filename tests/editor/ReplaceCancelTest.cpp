// Replace-all in two passes: it must replace exactly what a run that finds its hits one
// by one on the changing text replaces, and stopping it at any progress call, before or
// after it changed the text, must leave everything as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "EditorTestSupport.h"
#include "support/EditorTestAccess.h"

namespace zentabo {
namespace {

void PlainFind(TLumEdit& edit) {
    edit.OnFind = [](TLumEdit&, const std::string& str, const std::string& f, int, int& x, int&) {
        const size_t p = str.find(f);
        x = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
    };
}

// Everything a replace run may touch, for comparing two editors.
struct EditorState {
    std::vector<std::string> lines;
    int caretLine, caretCol, topLine;
    bool selActive;
    int selStartLine, selStartCol, selEndLine, selEndCol;
    bool modified;
    std::vector<std::string> undo, redo;
    int64_t undoBytes;
    bool historyTruncated, redoAvailable;

    static std::vector<std::string> Records(const std::deque<UndoRecord>& list) {
        std::vector<std::string> out;
        for (const UndoRecord& r : list)
            out.push_back(std::to_string(r.kind) + "@" + std::to_string(r.line) + "," +
                          std::to_string(r.column) + ":" + r.text);
        return out;
    }
    explicit EditorState(const EditorFixture& f)
        : lines(f.Lines()),
          caretLine(f.edit->CaretLine()),
          caretCol(f.edit->CaretCol()),
          topLine(f.edit->TopLine()),
          selActive(f.edit->SelActive()),
          selStartLine(f.edit->SelStartLine()),
          selStartCol(f.edit->SelStartCol()),
          selEndLine(f.edit->SelEndLine()),
          selEndCol(f.edit->SelEndCol()),
          modified(f.edit->Modified()),
          undo(Records(f.edit->UndoList())),
          redo(Records(f.edit->RedoList())),
          undoBytes(f.edit->UndoBytes()),
          historyTruncated(f.edit->HistoryTruncated()),
          redoAvailable(f.edit->RedoAvailable()) {}
    bool operator==(const EditorState&) const = default;
};

// The display position of a byte offset into the text.
void PositionOf(const EditorFixture& f, int off, int& line, int& col) {
    line = 0;
    while (line + 1 < f.edit->LineCount() &&
           off >= static_cast<int>(f.edit->Lines().Get(line).size()))
        off -= static_cast<int>(f.edit->Lines().Get(line++).size());
    col = off;
}

// One page of the random runs below: text, layout and where the run starts or which
// selection limits it.
struct RunSetup {
    std::string text;
    int column = 0;  // 0: no word wrap
    bool singleByte = false;
    int undoBuf = 0xF8000;  // small: the run's first records fall out of the journal
    enum { kFromTop, kFromCaret, kInSelection } range = kFromTop;
    int mark1 = 0, mark2 = 0;  // byte offsets of the caret or the selection's ends

    void Prepare(EditorFixture& f) const {
        PlainFind(*f.edit);
        f.edit->SingleByteMode = singleByte;
        f.edit->SetUndoBuf(undoBuf);
        if (column > 0)
            f.edit->SetColumn(column);
        else
            f.edit->SetWordWrap(false);
        f.edit->SetAllText(text);
        int l1, c1, l2, c2;
        PositionOf(f, mark1, l1, c1);
        PositionOf(f, mark2, l2, c2);
        if (range == kFromCaret) f.edit->MoveCaretTo(c1, l1, 0);
        if (range == kInSelection) f.edit->SetSel(c1, l1, l2, c2);
    }
    // Replace-all as the find dialog asks for it, or within the selection.
    bool Run(TLumEdit& edit, const std::string& find, const std::string& change,
             bool confirm) const {
        return edit.FindReplace(find, change, range != kFromCaret, confirm, range != kInSelection);
    }
};

// The same run made through the confirmation path, told at its first hit to stop
// asking: it finds each hit on the text as the replacements before it left it.
EditorState ReplaceOneByOne(const RunSetup& setup, const std::string& find,
                            const std::string& change, int* count) {
    EditorFixture g;
    setup.Prepare(g);
    g.edit->OnFindChange = [](TLumEdit&, const std::string&, const std::string&, int, int, int, int,
                              bool&, bool& kakuninF, bool&) { kakuninF = false; };
    g.edit->OnFindChangeEnd = [count](TLumEdit&, const std::string&, const std::string&, int n) {
        *count = n;
    };
    setup.Run(*g.edit, find, change, true);
    return EditorState(g);
}

// Random texts with what makes the seams of a replacement hard: lone CR and LF next to
// hits, NUL, double-byte characters and lone lead bytes, tabs, long lines; replacements
// with line breaks, lone CR, open lead bytes or nothing; from the top, from the caret
// and within a selection.
TEST(ReplaceCancelTest, ReplacesWhatARunFindingHitsOneByOneReplaces) {
    std::mt19937 rng(20261210);
    const std::string kPieces[] = {"zq",
                                   "z",
                                   "q",
                                   "ab",
                                   "\t",
                                   "\r",
                                   "\n",
                                   "\r\n",
                                   "\x82\xA0",
                                   "\x88\x9F",
                                   "\x82",
                                   "\x81\x40",
                                   " ",
                                   "xyz",
                                   "X",
                                   "XX",
                                   std::string(1, '\0')};
    const struct {
        std::string find;
        std::string change;
    } kRuns[] = {{"zq", "zqq"},
                 {"zq", ""},
                 {"q", "\x82\xA0\x82\xA0"},
                 {"z", "\r\n"},
                 {"\r\n", "zq"},
                 {"q", "\x82"},
                 {"\xA0", "Q"},
                 {"z", "\r"},
                 {"X", ""},
                 {"\n", ""},
                 {"q\r", "\x82\x82"},
                 {"a", "\x82\x82\x82"},
                 {"X", "Y"},
                 {"zq", "a\r\nb"},
                 {"ab", "\r\n\x82\xA0\r\n"},
                 {"z", std::string(1, '\0')},
                 {"q", std::string("a\0b", 3)}};
    for (int round = 0; round < 600; ++round) {
        RunSetup setup;
        const int pieces = static_cast<int>(rng() % 300);
        for (int i = 0; i < pieces; ++i) {
            if (rng() % 60 == 0) setup.text.append(100 + rng() % 300, 'w');
            setup.text += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
        }
        const auto& run = kRuns[round % (sizeof kRuns / sizeof kRuns[0])];
        setup.column = round % 5 == 0 ? 0 : 10 + static_cast<int>(rng() % 30);
        setup.singleByte = round % 7 == 3;
        if (round % 6 == 5) setup.undoBuf = 16;
        setup.range = static_cast<decltype(setup.range)>(rng() % 3);
        const int size = static_cast<int>(setup.text.size()) + 1;
        setup.mark1 = static_cast<int>(rng() % size);
        setup.mark2 = static_cast<int>(rng() % size);
        SCOPED_TRACE("round " + std::to_string(round));
        int expectedCount = -1;
        const EditorState expected = ReplaceOneByOne(setup, run.find, run.change, &expectedCount);
        EditorFixture f;
        setup.Prepare(f);
        int count = -1;
        f.edit->OnFindChangeEnd = [&](TLumEdit&, const std::string&, const std::string&, int n) {
            count = n;
        };
        ASSERT_TRUE(setup.Run(*f.edit, run.find, run.change, false));
        ASSERT_EQ(count, expectedCount);
        ASSERT_TRUE(EditorState(f) == expected);

        // Stopped at a step of its search or of its replacing, the run takes back what
        // it did; with a small limit it may have committed first and then goes on.
        EditorFixture g;
        setup.Prepare(g);
        if (setup.range == RunSetup::kFromTop && round % 3 == 0) {
            g.edit->TypeText("k");  // a redo record to keep
            g.edit->Undo();
        }
        const EditorState before(g);
        EditorTestAccess::PollEveryStep(*g.edit);
        if (round % 4 == 1) EditorTestAccess::SetRunRevertLimit(*g.edit, 300);
        const int stopAt = static_cast<int>(rng() % 40);
        int calls = 0;
        bool committed = false;
        g.edit->OnReplaceProgress = [&](double) { return calls++ != stopAt; };
        g.edit->OnReplaceCommit = [&](TLumEdit&) { committed = true; };
        if (setup.Run(*g.edit, run.find, run.change, false)) {
            ASSERT_TRUE(committed || calls <= stopAt);
            ASSERT_EQ(g.edit->GetAllText(), f.edit->GetAllText());
        } else {
            ASSERT_FALSE(committed);
            ASSERT_TRUE(EditorState(g) == before);
        }
    }
}

// A page past several progress steps of every kind (display lines searched, hits found,
// hits replaced, and a second half that the run must search on the changed text, behind
// a hit between a lone CR and a lone LF), with a selection, a modified text and both
// undo and redo records. Stopped at progress call k, the run ends with every part of the
// state as it was and no count reported. Given a small limit for what it may take back,
// it commits in the middle, and a stop from there on ends it as an uninterrupted run.
TEST(ReplaceCancelTest, StoppingAtAnyProgressCallLeavesEverythingAsItWas) {
    std::string text;
    for (int i = 0; i < 30000; ++i) {
        text += i % 5 == 0 ? "a zq b zq \x82\xA0 zq\r\n" : "plain words\r\n";
        if (i == 15000) text += "\rzq\n\r\n";
    }
    for (const int64_t limit : {int64_t{256} << 20, int64_t{1} << 20}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        auto prepare = [&](EditorFixture& f) {
            PlainFind(*f.edit);
            EditorTestAccess::SetRunRevertLimit(*f.edit, limit);
            f.edit->SetColumn(12);
            f.edit->SetAllText(text);
            f.edit->MoveCaretTo(0, 3, 0);
            f.edit->TypeText("xy");
            f.edit->TypeText("\r\n");
            f.edit->Undo();
            f.edit->SetSel(2, 5, 9, 1);
        };
        std::vector<double> fractions;
        int commitAt = -1;
        EditorFixture whole;
        prepare(whole);
        whole.edit->OnReplaceProgress = [&](double fraction) {
            fractions.push_back(fraction);
            return true;
        };
        whole.edit->OnReplaceCommit = [&](TLumEdit&) {
            commitAt = static_cast<int>(fractions.size());
        };
        ASSERT_TRUE(whole.edit->FindReplace("zq", "ZQZ", true, false, true));
        const EditorState replaced(whole);
        if (limit < (int64_t{8} << 20)) {
            ASSERT_GT(commitAt, 3);
            ASSERT_GT(static_cast<int>(fractions.size()), commitAt);
        } else {
            ASSERT_EQ(commitAt, -1);
            commitAt = static_cast<int>(fractions.size());
        }
        ASSERT_GT(fractions.size(), 8u);
        EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
        EXPECT_GE(fractions.front(), 0.0);
        EXPECT_LE(fractions.back(), 1.0);

        for (int stopAt = 0; stopAt < static_cast<int>(fractions.size()); ++stopAt) {
            SCOPED_TRACE("stopped at call " + std::to_string(stopAt));
            EditorFixture f;
            prepare(f);
            const EditorState before(f);
            const std::string bytes = f.edit->GetAllText();
            int calls = 0, ended = 0;
            f.edit->OnReplaceProgress = [&](double) { return calls++ != stopAt; };
            f.edit->OnFindChangeEnd = [&](TLumEdit&, const std::string&, const std::string&, int) {
                ++ended;
            };
            const bool done = f.edit->FindReplace("zq", "ZQZ", true, false, true);
            ASSERT_EQ(done, stopAt >= commitAt);
            ASSERT_EQ(ended, done ? 1 : 0);
            if (done) {
                ASSERT_TRUE(EditorState(f) == replaced);
                continue;
            }
            ASSERT_EQ(f.edit->GetAllText(), bytes);
            ASSERT_TRUE(EditorState(f) == before);
            // The editor is fit for the next command: the same run now goes through.
            f.edit->OnReplaceProgress = nullptr;
            ASSERT_TRUE(f.edit->FindReplace("zq", "ZQZ", true, false, true));
            ASSERT_EQ(f.Lines(), replaced.lines);
        }
    }
}

}  // namespace
}  // namespace zentabo
