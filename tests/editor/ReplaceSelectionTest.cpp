// The bulk replacement of the selection against the per-line deletion and insertion
// it stands in for, and the journal's budget with a replacement that does not fit.
#include <gtest/gtest.h>

#include <random>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

struct Pair {
    EditorFixture bulk;
    EditorFixture perLine;

    Pair(const std::string& text, bool wrap, bool freeCaret = false) {
        for (EditorFixture* f : {&bulk, &perLine}) {
            f->edit->SetColumn(10);
            f->edit->SetWordWrap(wrap);
            f->edit->SetFreeCaretMode(freeCaret);
            f->edit->SetAllText(text);
        }
    }
    void Replace(const std::string& text) {
        bulk.edit->ReplaceSelection(text);
        perLine.edit->DeleteSelection(true, false);
        perLine.edit->InsertAtCaret(text, true, false);
    }
    // The per-line path journals a removal and an insertion; they make one step when
    // they share their position. Where a lone lead byte before the selection paired
    // with the byte behind it, the insertion went one byte earlier, so two steps.
    static int Steps(const std::deque<UndoRecord>& list) {
        if (list.size() < 2) return 1;
        return list[0].line == list[1].line && list[0].column == list[1].column ? 1 : 2;
    }
    void UndoBoth() {
        bulk.edit->Undo();
        for (int n = Steps(perLine.edit->UndoList()); n > 0; --n) perLine.edit->Undo();
    }
    void RedoBoth() {
        bulk.edit->Redo();
        for (int n = Steps(perLine.edit->RedoList()); n > 0; --n) perLine.edit->Redo();
    }
    void Both(const std::function<void(TLumEdit&)>& step) {
        step(*bulk.edit);
        step(*perLine.edit);
    }
};

void ExpectSameState(Pair& p, const std::string& when) {
    SCOPED_TRACE(when);
    ASSERT_EQ(p.bulk.Lines(), p.perLine.Lines());
    EXPECT_EQ(p.bulk.edit->CaretLine(), p.perLine.edit->CaretLine());
    EXPECT_EQ(p.bulk.edit->CaretCol(), p.perLine.edit->CaretCol());
    EXPECT_EQ(p.bulk.edit->SelActive(), p.perLine.edit->SelActive());
    EXPECT_EQ(p.bulk.edit->Modified(), p.perLine.edit->Modified());
    EXPECT_EQ(p.bulk.edit->RedoAvailable(), p.perLine.edit->RedoAvailable());
}

// Text from pieces that stress the wrap and the journal: ASCII, double-byte characters
// (a 10-column wrap falls on their lead bytes), tabs, full-width spaces and every kind
// of line break, lone CR and LF included, and lone lead bytes, which pair with
// whatever follows them.
std::string RandomText(std::mt19937& rng, int pieces) {
    static const char* const kParts[] = {"a",        "bc", "defghij",  "\x93\xFA\x96\x7B",
                                         "\x82\xA0", "\t", "\x81\x40", "\r\n",
                                         "\r\n",     "\r", "\n",       " ",
                                         "<p>",      "&",  "\x93"};
    std::string out;
    std::uniform_int_distribution<size_t> pick(0, std::size(kParts) - 1);
    for (int i = 0; i < pieces; ++i) out += kParts[pick(rng)];
    return out;
}

void RandomSelection(std::mt19937& rng, Pair& p) {
    const TLumEdit& e = *p.bulk.edit;
    std::uniform_int_distribution<int> kind(0, 5);
    auto randomPos = [&](int& line, int& col) {
        line = std::uniform_int_distribution<int>(0, e.LineCount() - 1)(rng);
        col = std::uniform_int_distribution<int>(0,
                                                 static_cast<int>(e.Lines().Get(line).size()))(rng);
    };
    int k = kind(rng);
    if (k == 0) {
        p.Both([](TLumEdit& ed) { ed.SelectAll(); });
    } else if (k == 1) {
        int line, col;
        randomPos(line, col);
        p.Both([&](TLumEdit& ed) { ed.MoveCaretTo(col, line, 0); });
    } else {
        int l1, c1, l2, c2;
        randomPos(l1, c1);
        randomPos(l2, c2);
        p.Both([&](TLumEdit& ed) { ed.SetSel(c1, l1, l2, c2); });
    }
}

// Every state the bulk path reaches (the replacement, its undo and redo, a second
// undo) is the one the per-line path reaches: entries, caret and flags.
TEST(ReplaceSelectionTest, MatchesThePerLinePathWithUndoAndRedo) {
    std::mt19937 rng(14);
    for (int round = 0; round < 400; ++round) {
        const bool wrap = round % 2 == 0;
        Pair p(RandomText(rng, 1 + round % 40), wrap, round % 3 == 0);
        const std::string original = p.bulk.edit->GetAllText();
        RandomSelection(rng, p);
        const std::string replacement = RandomText(rng, round % 7 == 0 ? 0 : 1 + round % 30);
        const std::string trace = "round " + std::to_string(round);
        p.Replace(replacement);
        ExpectSameState(p, trace + " replaced");
        p.UndoBoth();
        ExpectSameState(p, trace + " undone");
        EXPECT_EQ(p.bulk.edit->GetAllText(), original) << trace;
        p.RedoBoth();
        ExpectSameState(p, trace + " redone");
        p.UndoBoth();
        ExpectSameState(p, trace + " undone again");
        if (HasFailure()) return;
    }
}

// A NUL is an ordinary byte of its line: new text that ends with one, put over a range
// that took a line break away, still joins the line behind it.
TEST(ReplaceSelectionTest, ANulAtTheEndOfTheNewTextEndsNoLine) {
    using namespace std::string_literals;
    for (bool wrap : {false, true}) {
        Pair p("ab\r\ncd\r\nef"s, wrap);
        p.Both([](TLumEdit& ed) { ed.SetSel(2, 0, 0, 4); });
        p.Replace("x\0"s);
        ExpectSameState(p, wrap ? "wrapped" : "unwrapped");
        EXPECT_EQ(p.bulk.edit->GetAllText(), "abx\0cd\r\nef"s);
        p.UndoBoth();
        ExpectSameState(p, "undone");
        EXPECT_EQ(p.bulk.edit->GetAllText(), "ab\r\ncd\r\nef");
    }
}

// A record made by wrapping at one width is applied after the text was wrapped at
// another, and a typed character after the replacement is undone on its own first.
TEST(ReplaceSelectionTest, UndoAfterRewrapAndFurtherTyping) {
    Pair p("\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67\r\nabc def ghi jkl",
           true);
    const std::string original = p.bulk.edit->GetAllText();
    p.Both([](TLumEdit& ed) { ed.SetSel(4, 0, 3, 5); });
    p.Replace("<p>\r\n\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8</p>");
    p.Both([](TLumEdit& ed) {
        ed.TypeText("x");
        ed.SetColumn(13);
    });
    ASSERT_EQ(p.bulk.Lines(), p.perLine.Lines());
    p.Both([](TLumEdit& ed) { ed.Undo(); });
    ExpectSameState(p, "typing undone");
    p.Both([](TLumEdit& ed) { ed.Undo(); });
    EXPECT_EQ(p.bulk.edit->GetAllText(), original);
    EXPECT_EQ(p.bulk.Lines(), p.perLine.Lines());
}

// The per-line path journals a replacement as a removal and an insertion; when the two
// do not fit the budget together, the removal is dropped and undo took the new text
// away without bringing the old one back. One record keeps the step whole.
TEST(ReplaceSelectionTest, AReplacementOverTheBudgetStaysWhole) {
    EditorFixture f;
    f.edit->SetUndoBuf(16);
    const std::string original = "0123456789\r\nabcdefghij\r\nklmnopqrst";
    f.edit->SetAllText(original);
    f.edit->MoveCaretTo(0, 0, 0);
    f.edit->TypeText("!");
    f.edit->SelectAll();
    f.edit->ReplaceSelection("short");
    EXPECT_EQ(f.edit->GetAllText(), "short");
    EXPECT_EQ(f.edit->UndoList().size(), 1u);  // the older typing no longer fits
    EXPECT_TRUE(f.edit->HistoryTruncated());
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "!" + original);
    EXPECT_TRUE(f.edit->Modified());  // the typing before it cannot come back
    f.edit->Redo();
    EXPECT_EQ(f.edit->GetAllText(), "short");
    EXPECT_EQ(f.edit->UndoBytes(), static_cast<int64_t>(original.size()) + 1);

    // The next change takes the budget back: the large record goes, and what is left
    // to undo never removes text it cannot restore.
    f.edit->TypeText("x");
    EXPECT_EQ(f.edit->UndoList().size(), 1u);
    f.edit->Undo();
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "short");
}

// Pasting over a selection is one such step: the removal alone fits the budget but
// not with the insertion, or it does not fit at all. Either way undo gives the
// selected text back.
TEST(ReplaceSelectionTest, PastingOrTypingOverASelectionUndoesWhateverTheBudget) {
    for (int budget : {16, 4}) {
        EditorFixture f;
        f.edit->SetUndoBuf(budget);
        f.edit->SetAllText("0123456789\r\nabcdefghij");
        f.edit->SetSel(0, 1, 1, 10);
        f.host.SetClipboardText("\x93\xFA\x96\x7B\x8C\xEA\r\nxyzw");
        f.edit->PasteFromClipboard();
        EXPECT_EQ(f.edit->GetAllText(), "0123456789\r\n\x93\xFA\x96\x7B\x8C\xEA\r\nxyzw");
        f.edit->Undo();
        EXPECT_EQ(f.edit->GetAllText(), "0123456789\r\nabcdefghij") << budget;
    }
    // Typing over a selection larger than the budget is kept whole the same way.
    EditorFixture f;
    f.edit->SetUndoBuf(4);
    f.edit->SetAllText("0123456789\r\nabcdefghij");
    f.edit->SetSel(0, 1, 1, 10);
    f.edit->TypeText("Z");
    EXPECT_EQ(f.edit->GetAllText(), "0123456789\r\nZ");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "0123456789\r\nabcdefghij");
}

TEST(ReplaceSelectionTest, NothingSelectedAndNothingToInsertChangesNothing) {
    EditorFixture f;
    f.edit->SetAllText("ab");
    f.edit->ReplaceSelection("");
    EXPECT_TRUE(f.edit->UndoList().empty());
    EXPECT_FALSE(f.edit->Modified());
    f.edit->SelectAll();
    f.edit->ReplaceSelection("");
    EXPECT_EQ(f.edit->GetAllText(), "");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "ab");
    EXPECT_FALSE(f.edit->Modified());
}

}  // namespace
}  // namespace zentabo
