// Which rows an undo or redo draws, counted through OnUserClientDraw (fired once for
// every row drawn unselected). Headless host: 640x400 client, 22 rows per page.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

// count logical lines of 22 bytes ("NN" and 20 letters); at Column 10 each wraps into
// pieces of 10, 10 and 2 bytes.
std::string LongLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string line = std::to_string(10 + i % 90);
        for (int k = 0; k < 20; ++k) line += static_cast<char>('a' + (i + k) % 26);
        text += line;
        if (i + 1 < count) text += "\r\n";
    }
    return text;
}

struct RowCounter {
    explicit RowCounter(EditorFixture& f) : fixture(f) {
        f.edit->OnUserClientDraw = [this](TLumEdit&, int l1, int, int, int, int, int) {
            ++draws[l1];
        };
    }
    // The rows drawn (with how often) by one step.
    template <typename Step>
    std::map<int, int> During(Step step) {
        draws.clear();
        fixture.host.invalidated.clear();
        step();
        return draws;
    }
    static std::map<int, int> Once(int first, int last) {
        std::map<int, int> rows;
        for (int i = first; i <= last; ++i) rows[i] = 1;
        return rows;
    }
    EditorFixture& fixture;
    std::map<int, int> draws;
};

TEST(UndoRepaintTest, UndoOfTypingDrawsEachRowFromTheChangeToTheBottomOnce) {
    for (bool wrap : {true, false}) {
        SCOPED_TRACE(wrap ? "wrapped" : "not wrapped");
        EditorFixture f;
        f.edit->SetColumn(10);
        f.edit->SetWordWrap(wrap);
        f.edit->SetAllText(LongLines(40));
        RowCounter rows(f);
        f.edit->MoveCaretTo(3, 4, kScrollKeepMargin);
        const std::string before = f.edit->GetAllText();
        f.edit->TypeText("x");
        EXPECT_EQ(rows.During([&] { f.edit->Undo(); }), RowCounter::Once(4, 21));
        EXPECT_EQ(f.edit->GetAllText(), before);
        EXPECT_TRUE(f.host.invalidated.empty());
    }
}

TEST(UndoRepaintTest, RedoOfTypingDrawsTheLogicalLineFromTheChangeOnce) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText(LongLines(40));
    RowCounter rows(f);
    // Row 3 is the first piece of logical line 1; typing there pushes a byte into each
    // later piece of that line.
    f.edit->MoveCaretTo(3, 3, kScrollKeepMargin);
    f.edit->TypeText("x");
    const std::string typed = f.edit->GetAllText();
    f.edit->Undo();
    EXPECT_EQ(rows.During([&] { f.edit->Redo(); }), RowCounter::Once(3, 5));
    EXPECT_EQ(f.edit->GetAllText(), typed);
    EXPECT_EQ(f.edit->Lines().Get(4), "ijklmnopqr");
    EXPECT_EQ(f.edit->Lines().Get(5), "stu\r\n");
}

TEST(UndoRepaintTest, TypingIntoAWrappedLineDrawsEveryPieceItShifted) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText(LongLines(40));
    RowCounter rows(f);
    // Rows 3 to 5 hold logical line 1; a byte typed into row 3 moves one byte into each
    // of rows 4 and 5, while the row count stays the same.
    f.edit->MoveCaretTo(3, 3, kScrollKeepMargin);
    EXPECT_EQ(rows.During([&] { f.edit->TypeText("x"); }), RowCounter::Once(3, 5));
    EXPECT_EQ(f.edit->Lines().Get(5), "stu\r\n");
    // A byte typed into the last piece changes that row alone.
    f.edit->MoveCaretTo(1, 5, kScrollKeepMargin);
    EXPECT_EQ(rows.During([&] { f.edit->TypeText("y"); }), RowCounter::Once(5, 5));
}

TEST(UndoRepaintTest, TypingALineBreakDrawsEachRowBelowOnce) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText(LongLines(4));  // 12 rows: the scroll range stays as it is
    RowCounter rows(f);
    f.edit->MoveCaretTo(1, 2, kScrollKeepMargin);
    EXPECT_EQ(rows.During([&] { f.edit->TypeText("\r\n"); }), RowCounter::Once(2, 12));
    EXPECT_EQ(f.edit->LineCount(), 13);
}

TEST(UndoRepaintTest, UndoOfALineBreakDrawsTheRowsBelowOnce) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText(LongLines(4));  // 12 rows: the scroll range stays as it is
    RowCounter rows(f);
    // Splitting "st" of the first line's last piece adds a row.
    f.edit->MoveCaretTo(1, 2, kScrollKeepMargin);
    f.edit->TypeText("\r\n");
    EXPECT_EQ(f.edit->LineCount(), 13);
    EXPECT_EQ(rows.During([&] { f.edit->Undo(); }), RowCounter::Once(2, 11));
    EXPECT_EQ(f.edit->GetAllText(), LongLines(4));
    EXPECT_EQ(rows.During([&] { f.edit->Redo(); }), RowCounter::Once(2, 12));
    EXPECT_EQ(f.edit->LineCount(), 13);
}

TEST(UndoRepaintTest, UndoThatScrollsAsksForTheWholeViewAndDrawsNoRowItself) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText(LongLines(100));
    RowCounter rows(f);
    // Typing over a selection leaves two records at one position, undone as one step.
    f.edit->SetSel(2, 6, 6, 6);
    f.edit->TypeText("Z");
    const std::string typed = f.edit->GetAllText();
    f.edit->MoveCaretTo(0, f.edit->LineCount() - 1, kScrollKeepMargin);
    EXPECT_TRUE(rows.During([&] { f.edit->Undo(); }).empty());
    EXPECT_FALSE(f.host.invalidated.empty());
    EXPECT_EQ(f.edit->TopLine(), 2);
    EXPECT_EQ(f.edit->GetAllText(), LongLines(100));
    f.edit->MoveCaretTo(0, f.edit->LineCount() - 1, kScrollKeepMargin);
    EXPECT_TRUE(rows.During([&] { f.edit->Redo(); }).empty());
    EXPECT_EQ(f.edit->GetAllText(), typed);
}

}  // namespace
}  // namespace zentabo
