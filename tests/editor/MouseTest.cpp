// The mouse on the editor model: clicks, the gutter, dragging a selection with
// auto-scroll, double clicks and moving or copying the selection by dragging it.
// TextLeft 10, rows 18 pixels high from y 4, 8 pixels per byte.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "platform/VirtualKeys.h"

namespace zentabo {
namespace {

constexpr int kLeft = 10;

int Y(int row) {
    return 4 + 18 * row + 9;
}

int X(int col) {
    return kLeft + 8 * col + 1;  // the left half of the cell: before that byte
}

struct MouseFixture : EditorFixture {
    explicit MouseFixture(const std::string& text, bool wrap = false) {
        edit->SetWordWrap(wrap);
        edit->SetAllText(text);
    }
    void Press(int x, int y, int shift = 0) { edit->MouseDown(TLumEdit::mbLeft, shift, x, y); }
    void Move(int x, int y, int shift = 0) { edit->MouseMove(shift, x, y); }
    void Release(int x, int y, int shift = 0) { edit->MouseUp(TLumEdit::mbLeft, shift, x, y); }
    void Drag(int x0, int y0, int x1, int y1, int shift = 0) {
        Press(x0, y0, shift);
        Move(x1, y1, shift);
        Release(x1, y1, shift);
    }
};

TEST(MouseTest, ClicksPlaceTheCaretAndTheGutterSelectsWholeLines) {
    MouseFixture f("abc\r\ndef\r\nghi");
    f.Drag(kLeft + 8 * 2 + 5, Y(0), kLeft + 8 * 2 + 5, Y(0));  // right half of 'c'
    EXPECT_EQ(f.edit->CaretCol(), 3);
    f.Drag(kLeft - 3, Y(1), kLeft - 3, Y(1));
    EXPECT_EQ(f.edit->CaretLine(), 1);
    EXPECT_EQ(f.edit->CaretCol(), 0);
    EXPECT_FALSE(f.edit->SelActive());
    f.Drag(kLeft - 5, Y(1), kLeft - 5, Y(1));
    EXPECT_EQ(f.edit->GetSelText(), "def\r\n");
    f.Drag(kLeft - 5, Y(2), kLeft - 5, Y(2));  // the last line has no break
    EXPECT_EQ(f.edit->GetSelText(), "ghi");
    // Below the text and in the gutter of an empty last line: nothing selected.
    MouseFixture empty("abc\r\n");
    empty.Drag(2, Y(5), 2, Y(5));
    EXPECT_FALSE(empty.edit->SelActive());
    EXPECT_EQ(empty.edit->CaretLine(), 1);
}

TEST(MouseTest, ClicksAndDragsInAZeroSizeWindowAreHarmless) {
    MouseFixture f("abc\r\n\x82\xA0\x82\xA2\r\nxyz");
    f.host.SetClientSize(0, 0);
    f.edit->Resize();
    f.Press(5, 100);
    f.Move(-20, 500);
    for (int i = 0; i < 5; ++i) f.edit->TimerTick();
    f.Move(300, -30);
    for (int i = 0; i < 5; ++i) f.edit->TimerTick();
    f.Release(300, -30);
    EXPECT_EQ(f.edit->GetAllText(), "abc\r\n\x82\xA0\x82\xA2\r\nxyz");
    EXPECT_LE(f.edit->CaretLine(), 2);
    EXPECT_FALSE(f.edit->CaretLine() == 1 && f.edit->CaretCol() % 2 == 1);  // inside あ or い
}

TEST(MouseTest, ShiftClickAndDraggingExtendTheSelection) {
    MouseFixture f("abc\r\ndef\r\nghi");
    f.Drag(X(1), Y(0), X(1), Y(0));
    f.Drag(X(2), Y(2), X(2), Y(2), TLumEdit::kShiftShift);
    EXPECT_EQ(f.edit->GetSelText(), "bc\r\ndef\r\ngh");
    f.Drag(X(3), Y(2), X(1), Y(0));  // from behind the selection's end
    EXPECT_EQ(f.edit->GetSelText(), "bc\r\ndef\r\nghi");
    EXPECT_EQ(f.edit->CaretLine(), 0);
    EXPECT_FALSE(f.edit->MouseSelecting());
}

TEST(MouseTest, NeverHalfADoubleByteCharacter) {
    MouseFixture f("a\x82\xA0\x82\xA2");  // a, あ at pixels 8-24, い
    f.Drag(kLeft + 8 + 7, Y(0), kLeft + 8 + 7, Y(0));
    EXPECT_EQ(f.edit->CaretCol(), 1);
    f.Drag(kLeft + 8 + 9, Y(0), kLeft + 8 + 9, Y(0));
    EXPECT_EQ(f.edit->CaretCol(), 3);
}

TEST(MouseTest, DraggingDownTheGutterSelectsWholeLinesEvenInBoxMode) {
    MouseFixture f("abc\r\ndef\r\nghi\r\njkl");
    f.edit->SetBoxSelMode(true);
    f.Press(2, Y(0));
    f.Move(2, Y(1));
    f.Move(2, Y(2));
    f.Release(2, Y(2));
    EXPECT_FALSE(f.edit->BoxSelMode());
    EXPECT_EQ(f.edit->GetSelText(), "abc\r\ndef\r\n");
}

TEST(MouseTest, HoldingTheButtonBelowTheTextScrollsFasterAfterFiveRows) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line\r\n";
    MouseFixture f(text);
    f.Press(X(0), Y(0));
    f.Move(X(0), 401);  // below the window, the pointer grabbed
    EXPECT_EQ(f.edit->AutoScrollDirection(), 1);
    std::vector<int> steps;
    for (int i = 0; i < 40; ++i) {
        const int before = f.edit->CaretLine();
        f.edit->TimerTick();
        steps.push_back(f.edit->CaretLine() - before);
    }
    EXPECT_EQ(steps.front(), 1);
    EXPECT_EQ(steps.back(), f.edit->ScrollStep);
    EXPECT_EQ(f.edit->SelStartLine(), 0);
    EXPECT_EQ(f.edit->SelEndLine(), f.edit->CaretLine());
    f.Release(X(0), 401);
    const int line = f.edit->CaretLine();
    f.edit->TimerTick();
    EXPECT_EQ(f.edit->CaretLine(), line);
    EXPECT_FALSE(f.edit->MouseSelecting());
}

TEST(MouseTest, ADoubleClickChangesNothingAndFiresItsEvent) {
    MouseFixture f("abcdef");
    int downs = 0, doubles = 0;
    f.edit->OnMouseDown = [&](TLumEdit&, TLumEdit::TMouseButton, int, int, int) { ++downs; };
    f.edit->OnDblclick = [&](TLumEdit&) { ++doubles; };
    f.Drag(X(2), Y(0), X(2), Y(0));
    f.edit->DblClick();
    f.Drag(X(4), Y(0), X(4), Y(0));
    EXPECT_EQ(f.edit->CaretCol(), 2);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(downs, 1);
}

TEST(MouseTest, RightAndMiddleButtons) {
    MouseFixture f("abc");
    int downs = 0;
    f.edit->OnMouseDown = [&](TLumEdit&, TLumEdit::TMouseButton, int, int, int) { ++downs; };
    f.edit->MouseDown(TLumEdit::mbRight, 0, 30, 12);
    f.edit->MouseDown(TLumEdit::mbMiddle, 0, 30, 12);
    EXPECT_EQ(f.host.popupsShown, (std::vector<std::pair<int, int>>{{30, 12}}));
    EXPECT_EQ(downs, 2);
    f.edit->InsertAtPoint(X(1), Y(0), "xy");
    EXPECT_EQ(f.edit->GetAllText(), "axybc");
}

TEST(MouseTest, DroppingOntoItselfOrIntoAReadOnlyEditorOnlyClearsTheSelection) {
    MouseFixture f("abcdef\r\nghi");
    f.edit->SetSel(1, 0, 0, 4);
    f.Drag(X(2), Y(0), X(2), Y(0));
    EXPECT_FALSE(f.edit->SelActive());
    f.edit->ReadOnly = true;
    f.edit->SetSel(1, 0, 0, 4);
    f.Drag(X(2), Y(0), X(1), Y(1));
    EXPECT_FALSE(f.edit->SelActive());
    EXPECT_EQ(f.edit->GetAllText(), "abcdef\r\nghi");
    EXPECT_TRUE(f.edit->UndoList().empty());
}

TEST(MouseTest, MovingASelectionCorrectsTheDropForTheDeletedText) {
    MouseFixture f("abc\r\ndef\r\nghi");
    f.edit->SetSel(0, 0, 0, 3);
    f.Drag(X(1), Y(0), 600, Y(2));  // to the end of line 3
    EXPECT_EQ(f.edit->GetAllText(), "\r\ndef\r\nghiabc");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abc\r\ndef\r\nghi");
    EXPECT_FALSE(f.edit->Modified());

    MouseFixture same("abcdef");
    same.edit->SetSel(0, 0, 0, 2);
    same.Drag(X(1), Y(0), X(5), Y(0));
    EXPECT_EQ(same.edit->GetAllText(), "cdeabf");

    // A selection of several lines that ends with its line break, dropped into the
    // line that then joins the selection's first line.
    MouseFixture joined("ab\r\ncd\r\nef");
    joined.edit->SetSel(1, 0, 2, 0);
    joined.Drag(X(1), Y(1), X(1), Y(2));
    EXPECT_EQ(joined.edit->GetAllText(), "aeb\r\ncd\r\nf");
    joined.edit->Undo();
    EXPECT_EQ(joined.edit->GetAllText(), "ab\r\ncd\r\nef");
    joined.edit->Redo();
    EXPECT_EQ(joined.edit->GetAllText(), "aeb\r\ncd\r\nf");
}

// A move is no paste: a lone CR or LF in the moved text stays one, and where it meets
// its partner at the drop the two become a line break.
TEST(MouseTest, MovingKeepsLoneLineBreakBytes) {
    MouseFixture f("ab\ncd\ref");
    f.edit->SetSel(1, 0, 0, 4);
    f.Drag(X(2), Y(0), 600, Y(0));
    EXPECT_EQ(f.edit->GetAllText(), "ad\refb\nc");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "ab\ncd\ref");

    MouseFixture meet("a\rbc\nd");
    meet.edit->SetSel(0, 0, 0, 2);
    meet.Drag(X(1), Y(0), X(4), Y(0));  // before the LF
    EXPECT_EQ(meet.edit->GetAllText(), "bca\r\nd");
    EXPECT_EQ(meet.edit->LineCount(), 2);
    meet.edit->Undo();
    EXPECT_EQ(meet.edit->GetAllText(), "a\rbc\nd");
    EXPECT_EQ(meet.edit->LineCount(), 1);
}

TEST(MouseTest, MovingWithinAWrappedLineUsesLogicalPositions) {
    MouseFixture f("0123456789abcdefghij\r\nend", true);
    f.edit->SetColumn(10);
    ASSERT_EQ(f.edit->LineCount(), 3);
    f.edit->SetSel(0, 0, 0, 3);
    f.Drag(X(1), Y(0), X(5), Y(1));  // before 'f' in the second piece
    EXPECT_EQ(f.edit->GetAllText(), "3456789abcde012fghij\r\nend");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "0123456789abcdefghij\r\nend");
}

TEST(MouseTest, CtrlCopiesAndTheCursorShowsWhich) {
    MouseFixture f("abc\r\ndef");
    f.edit->SetSel(0, 0, 0, 2);
    f.Press(X(1), Y(0));
    EXPECT_EQ(f.host.dragCursor, 1);
    f.host.keysDown.push_back(vk::kControl);
    f.Move(X(3), Y(1));
    EXPECT_EQ(f.host.dragCursor, 2);
    f.Release(X(3), Y(1));
    EXPECT_EQ(f.host.dragCursor, 0);
    EXPECT_EQ(f.edit->GetAllText(), "abc\r\ndefab");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abc\r\ndef");
}

TEST(MouseTest, LosingTheFocusMidDragDropsNothing) {
    MouseFixture f("abc\r\ndef");
    f.edit->SetSel(0, 0, 0, 2);
    f.Press(X(1), Y(0));
    f.Move(X(2), Y(1));
    f.edit->CancelMouse();
    EXPECT_FALSE(f.edit->DragActive());
    EXPECT_EQ(f.host.dragCursor, 0);
    f.Release(X(2), Y(1));
    f.edit->TimerTick();
    EXPECT_EQ(f.edit->GetAllText(), "abc\r\ndef");
    EXPECT_EQ(f.edit->GetSelText(), "ab");
}

TEST(MouseTest, ManualDragModeWithoutAHandlerClearsTheSelection) {
    MouseFixture f("abcdef");
    f.edit->DragMode = dmManual;
    f.edit->SetSel(0, 0, 0, 4);
    f.Press(X(2), Y(0));
    EXPECT_FALSE(f.edit->SelActive());
    EXPECT_FALSE(f.edit->DragActive());
    f.Release(X(2), Y(0));
    std::string offered;
    f.edit->OnManualStartDrag = [&](TLumEdit&, const std::string& s, bool&) { offered = s; };
    f.edit->SetSel(0, 0, 0, 4);
    f.Press(X(2), Y(0));
    EXPECT_EQ(offered, "abcd");
    EXPECT_TRUE(f.edit->SelActive());
}

TEST(MouseTest, AltShiftDragMakesABoxThatMovesInOneUndoStep) {
    MouseFixture f("abcd\r\nabcd\r\nabcd");
    const int altShift = TLumEdit::kShiftAlt | TLumEdit::kShiftShift;
    f.Drag(X(1), Y(0), X(3), Y(1), altShift);
    EXPECT_TRUE(f.edit->BoxSelMode());
    EXPECT_EQ(f.edit->GetSelText(), "bc\r\nbc\r\n");
    f.Drag(X(2), Y(0), 600, Y(0));  // to the end of the first row
    EXPECT_EQ(f.edit->GetAllText(), "adbc\r\nadbc\r\nabcd");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abcd\r\nabcd\r\nabcd");
    f.Drag(X(0), Y(2), X(0), Y(2));  // a plain click ends the box
    EXPECT_FALSE(f.edit->BoxSelMode());
}

TEST(MouseTest, AltShiftArrowsMakeABox) {
    MouseFixture f("abcd\r\nabcd");
    f.host.keysDown = {vk::kMenu, vk::kShift};
    f.edit->KeyDown(vk::kRight);
    f.edit->KeyDown(vk::kRight);
    f.edit->KeyDown(vk::kDown);
    EXPECT_TRUE(f.edit->BoxSelMode());
    EXPECT_EQ(f.edit->GetSelText(), "ab\r\nab\r\n");
    f.host.keysDown.clear();
    f.edit->KeyDown(vk::kLeft);
    EXPECT_FALSE(f.edit->BoxSelMode());
}

}  // namespace
}  // namespace zentabo
