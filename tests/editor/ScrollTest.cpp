// The view's scrolling through the headless host (640x400 client, 8-pixel cells,
// 18-pixel rows: 22 rows per page, 5 margin rows).
#include <gtest/gtest.h>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

std::string NumberedLines(int count, int width = 6) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string line = std::to_string(i);
        line.resize(static_cast<size_t>(width), '.');
        text += line;
        if (i + 1 < count) text += "\r\n";
    }
    return text;
}

intptr_t ScrollCode(int code, int thumb = 0) {
    return static_cast<intptr_t>(
        MakeLong(static_cast<uint32_t>(code), static_cast<uint32_t>(thumb)));
}

TEST(ScrollTest, LayoutValuesAndAShortTextThatNeedsNoScrolling) {
    EditorFixture f;
    f.edit->SetAllText(NumberedLines(10));
    EXPECT_EQ(f.edit->LinesPerPage(), 22);
    EXPECT_EQ(f.edit->VertScrollLines(), 5);
    EXPECT_EQ(f.edit->HorzStep(), 126);
    EXPECT_EQ(f.edit->MaxTopLine(), 0);
    EXPECT_FALSE(f.host.vertical.enabled);
    EXPECT_EQ(f.edit->Perform(WM_VSCROLL, ScrollCode(SB_PAGEDOWN), 0), 0);
    EXPECT_EQ(f.edit->TopLine(), 0);

    f.edit->SetVertScrollLimit(80);
    EXPECT_EQ(f.edit->VertScrollLimit(), 50);
    EXPECT_EQ(f.edit->VertScrollLines(), 12);
    f.edit->SetVertScrollLimit(-1);
    EXPECT_EQ(f.edit->VertScrollLimit(), 0);
    EXPECT_EQ(f.edit->VertScrollLines(), 1);
    f.edit->SetCurSetMode(false);
    EXPECT_EQ(f.edit->CaretEdgeGap(), 126);
}

TEST(ScrollTest, ScrollBarRequestsMoveTheViewAndTheThumb) {
    EditorFixture f;
    f.edit->SetAllText(NumberedLines(100));
    EXPECT_TRUE(f.host.vertical.enabled);
    EXPECT_EQ(f.edit->MaxTopLine(), 82);
    EXPECT_EQ(f.edit->Perform(WM_VSCROLL, ScrollCode(SB_PAGEDOWN), 0), 22);
    EXPECT_EQ(f.edit->TopLine(), 22);
    EXPECT_EQ(f.host.vertical.pos, 22);
    // The caret came along by the page.
    EXPECT_EQ(f.edit->CaretLine(), 22);
    EXPECT_EQ(f.edit->Perform(WM_VSCROLL, ScrollCode(SB_THUMBTRACK, 50), 0), 28);
    EXPECT_EQ(f.edit->Perform(WM_VSCROLL, ScrollCode(SB_BOTTOM), 0), 32);
    EXPECT_EQ(f.edit->TopLine(), 82);
    EXPECT_EQ(f.edit->Perform(WM_VSCROLL, ScrollCode(SB_LINEDOWN), 0), 0);
    EXPECT_EQ(f.edit->Perform(WM_VSCROLL, ScrollCode(SB_TOP), 0), -82);
    EXPECT_EQ(f.edit->Perform(WM_VSCROLL, ScrollCode(SB_LINEUP), 0), 0);
    EXPECT_EQ(f.edit->Perform(WM_VSCROLL, ScrollCode(SB_ENDSCROLL), 0), 0);
}

TEST(ScrollTest, ThumbUnitsAreScaledForLongTexts) {
    EditorFixture f;
    f.edit->SetAllText(NumberedLines(70000, 2));
    const int maxTop = f.edit->MaxTopLine();
    EXPECT_EQ(f.edit->VertScrollScale(), 3);
    EXPECT_EQ(f.host.vertical.maxPos, (maxTop + 2) / 3);
    f.edit->VScroll(SB_THUMBTRACK, 20000);
    EXPECT_EQ(f.edit->TopLine(), 60000);
    EXPECT_EQ(f.host.vertical.pos, 20000);
    f.edit->VScroll(SB_THUMBTRACK, f.host.vertical.maxPos);
    EXPECT_EQ(f.edit->TopLine(), maxTop);
}

TEST(ScrollTest, WheelScrollsWholeNotchesOnly) {
    EditorFixture f;
    f.edit->SetAllText(NumberedLines(100));
    f.edit->Perform(WM_MOUSEWHEEL, MakeLong(0, static_cast<uint32_t>(-240)), 0);
    EXPECT_EQ(f.edit->TopLine(), 4);
    f.edit->Perform(WM_MOUSEWHEEL, MakeLong(0, 60), 0);
    EXPECT_EQ(f.edit->TopLine(), 4);
    f.edit->MouseWheel(120);
    EXPECT_EQ(f.edit->TopLine(), 2);
    f.edit->MouseWheel(240);
    EXPECT_EQ(f.edit->TopLine(), 0);
}

TEST(ScrollTest, CaretScrollFixLeavesTheCaretUntilAKeyComes) {
    EditorFixture f;
    f.edit->CaretScrollFix = true;
    f.edit->SetAllText(NumberedLines(100));
    f.edit->MoveCaretTo(3, 2, 0);
    f.edit->VScroll(SB_THUMBTRACK, 60);
    EXPECT_EQ(f.edit->TopLine(), 60);
    EXPECT_EQ(f.edit->CaretLine(), 2);
    EXPECT_EQ(f.edit->CaretCol(), 3);
    f.edit->KeyDown(vk::kDown);
    // Brought back into view first (2 rows kept below the margin), then one row down.
    EXPECT_EQ(f.edit->CaretLine(), 3);
    EXPECT_LE(f.edit->TopLine(), 2);
}

TEST(ScrollTest, HorizontalScrollMovesPixelsAndStopsAtTheWidestRow) {
    EditorFixture f;
    f.edit->SetWordWrap(false);
    f.edit->SetHorzScrollBar(true);
    f.edit->SetAllText(std::string(200, 'x') + "\r\nshort");
    EXPECT_EQ(f.edit->WidestLine(), 1600);
    EXPECT_TRUE(f.host.horizontal.enabled);
    f.host.canvas.calls.clear();
    f.edit->Perform(WM_HSCROLL, ScrollCode(SB_LINERIGHT), 0);
    EXPECT_EQ(f.edit->HorzOffset(), 126);
    ASSERT_FALSE(f.host.canvas.calls.empty());
    EXPECT_EQ(f.host.canvas.calls.back(), "ScrollPixels -126,0 10,0-640,400");
    EXPECT_EQ(f.edit->CaretX(), -126);
    f.edit->HScroll(SB_THUMBTRACK, 5000);
    EXPECT_EQ(f.edit->HorzOffset(), 1600 - 126);  // never beyond the widest row
    f.edit->HScroll(SB_PAGELEFT, 0);
    EXPECT_EQ(f.edit->HorzOffset(), 1600 - 126 - 210);
    f.edit->HScroll(SB_THUMBTRACK, 0);
    EXPECT_EQ(f.edit->HorzOffset(), 0);

    // Everything fits: no horizontal scrolling at all.
    f.edit->SetAllText("short");
    f.edit->HScroll(SB_LINERIGHT, 0);
    EXPECT_EQ(f.edit->HorzOffset(), 0);
}

TEST(ScrollTest, CaretPositionMessages) {
    EditorFixture f;
    f.edit->SetAllText(NumberedLines(40));
    EXPECT_EQ(f.edit->Perform(WM_TLUMEDIT_SETCARETPOS, 0, MakeLong(4, 30)), 1);
    EXPECT_EQ(f.edit->CaretLine(), 30);
    EXPECT_EQ(f.edit->CaretCol(), 4);
    EXPECT_GE(f.edit->TopLine(), 30 - 22 + 5);  // scrolled into view with its margin
    EXPECT_EQ(f.edit->Perform(WM_TLUMEDIT_GETCARETPOS, 0, 0), MakeLong(4, 30));
    EXPECT_EQ(f.edit->Perform(WM_TLUMEDIT_SETCARETPOS, 0, MakeLong(0, 40)), 0);
    EXPECT_EQ(f.edit->CaretLine(), 30);
    // A column past the line end stops at the end.
    EXPECT_EQ(f.edit->Perform(WM_TLUMEDIT_SETCARETPOS, 0, MakeLong(99, 1)), 1);
    EXPECT_EQ(f.edit->Perform(WM_TLUMEDIT_GETCARETPOS, 0, 0), MakeLong(6, 1));
    EXPECT_GE(WM_TLUMEDIT_GETCARETPOS, 0xC000u);
    EXPECT_NE(WM_TLUMEDIT_GETCARETPOS, WM_TLUMEDIT_SETCARETPOS);
}

TEST(ScrollTest, FocusCreatesAndDestroysTheCaretAndTimer) {
    EditorFixture f;
    f.edit->SetAllText(NumberedLines(3));
    f.edit->MoveCaretTo(2, 1, 0);
    f.host.SetFocus(true);
    f.edit->Perform(WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(f.host.timerEnabled);
    EXPECT_TRUE(f.host.caret.created);
    EXPECT_TRUE(f.host.caret.visible);
    EXPECT_EQ(f.host.caret.height, 16);
    EXPECT_EQ(f.host.caret.x, 10 + 16);
    EXPECT_EQ(f.host.caret.y, 4 + 18);
    f.host.SetFocus(false);
    f.edit->Perform(WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(f.host.timerEnabled);
    EXPECT_FALSE(f.host.caret.created);
}

TEST(ScrollTest, ZeroSizedWindowAndLongLinesStayWorkable) {
    for (bool wrap : {false, true}) {
        EditorFixture f;
        f.edit->SetWordWrap(wrap);
        f.edit->SetAllText(std::string(1 << 20, 'a') + "\r\n" + NumberedLines(50));
        f.host.SetClientSize(0, 0);
        f.edit->Perform(WM_SIZE, 0, 0);
        for (int key : {vk::kNext, vk::kDown, vk::kEnd, vk::kRight, vk::kHome, vk::kPrior, vk::kUp,
                        vk::kLeft})
            f.edit->KeyDown(key);
        f.edit->VScroll(SB_PAGEDOWN, 0);
        f.edit->HScroll(SB_PAGERIGHT, 0);
        f.edit->TypeChars("z");
        f.host.SetClientSize(640, 400);
        f.edit->Resize();
        f.edit->KeyDown(vk::kEnd);
        EXPECT_EQ(f.edit->CaretCol(),
                  f.edit->Perform(EM_LINELENGTH, f.edit->CaretLine(), 0) -
                      (f.edit->Lines().Get(f.edit->CaretLine()).back() == '\n' ? 2 : 0));
        EXPECT_EQ(f.edit->GetAllText().size(), (1u << 20) + 2 + NumberedLines(50).size() + 1);
        EXPECT_TRUE(f.host.messages.empty());
    }
}

TEST(ScrollTest, ApplyViewSettingsMeasuresAgainAndShowsTheBars) {
    EditorFixture f;
    f.edit->SetWordWrap(false);
    f.edit->SetAllText(NumberedLines(30));
    const int textLeft = f.edit->TextLeft();
    f.edit->ShowLineNumber = true;
    f.edit->SetHorzScrollBar(true);
    f.edit->SetVertScrollBar(false);
    f.host.invalidated.clear();
    f.edit->ApplyViewSettings();
    EXPECT_GT(f.edit->TextLeft(), textLeft);
    EXPECT_EQ(f.edit->TextAreaWidth(), 640 - f.edit->TextLeft());
    EXPECT_TRUE(f.host.horizontal.shown);
    EXPECT_FALSE(f.host.vertical.shown);
    ASSERT_FALSE(f.host.invalidated.empty());
    EXPECT_EQ(f.host.invalidated.back().right, 640);

    f.host.invalidated.clear();
    f.edit->SetColor(0x123456);
    EXPECT_EQ(f.edit->Color, 0x123456u);
    ASSERT_EQ(f.host.invalidated.size(), 1u);
    EXPECT_EQ(f.host.invalidated[0].bottom, 400);
}

}  // namespace
}  // namespace zentabo
