// Painting through the recording canvas: 8-pixel cells, 16-pixel font, 640x400 client,
// LeftMargin 10, TopMargin 4, LineSpace 10 % (LineHeight 18), TabCount 6.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/EditorTestSupport.h"

namespace zentabo {
namespace {

struct PaintFixture : EditorFixture {
    PaintFixture() { edit->SetWordWrap(false); }

    std::vector<std::string> Calls(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& c : host.canvas.calls)
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        return out;
    }
    bool Has(const std::string& call) const {
        const auto& c = host.canvas.calls;
        return std::find(c.begin(), c.end(), call) != c.end();
    }
    std::vector<std::string> Pixels() const { return Calls("SetPixel"); }
    void PaintFresh() {
        host.canvas.calls.clear();
        edit->Paint();
    }
};

TEST(Paint, RowsSitAtTheirLineHeightAndEndWithArrowOrEof) {
    PaintFixture f;
    f.edit->SetAllText("ab\r\n\r\nxyz");
    f.PaintFresh();
    // Row i at y = 4 + 18 i, text origin x = TextLeft - HorzOffset = 10, clip from 9.
    EXPECT_TRUE(f.Has("TextOut 10,4 9,4-640,22 ab 0/16777215 opaque"));
    EXPECT_TRUE(f.Has("TextOut 10,22 9,22-640,40  0/16777215 opaque"));
    EXPECT_TRUE(f.Has("TextOut 10,40 9,40-640,58 xyz 0/16777215 opaque"));
    // "[EOF]" right after the last row's text.
    EXPECT_TRUE(f.Has("TextOut 34,40 34,40-640,58 [EOF] 8421376/16777215 opaque"));
    // Arrow after "ab" (a = 26): CRMarkTop 3, CRMarkBottom 13 (12.8).
    EXPECT_TRUE(f.Has("Line 30,7-30,17 8421376 w1"));
    EXPECT_TRUE(f.Has("Line 30,17-27,14 8421376 w1"));
    EXPECT_TRUE(f.Has("Line 30,17-33,14 8421376 w1"));
    // The empty line's arrow stands at the text origin.
    EXPECT_TRUE(f.Has("Line 14,25-14,35 8421376 w1"));
    // Below the three rows the client is filled with Color.
    EXPECT_TRUE(f.Has("FillRect 0,58-640,400 16777215"));
}

TEST(Paint, EmptyTextShowsEofAtTheStartAndMarksCanBeSwitchedOff) {
    PaintFixture f;
    f.PaintFresh();
    EXPECT_TRUE(f.Has("TextOut 10,4 10,4-640,22 [EOF] 8421376/16777215 opaque"));
    f.edit->ShowEOF = false;
    f.edit->SetAllText("a\r\nb");
    f.edit->ShowCR = false;
    f.PaintFresh();
    EXPECT_TRUE(f.Calls("Line").empty());
    for (const auto& c : f.Calls("TextOut")) EXPECT_EQ(c.find("[EOF]"), std::string::npos) << c;
}

TEST(Paint, TabsExpandToTheNextStopAndGetArrowsButNoSpaceBoxes) {
    PaintFixture f;
    f.edit->ShowTAB = true;
    f.edit->ShowSglSpace = true;
    f.edit->ShowDblSpace = false;
    f.edit->SetAllText("\tabcd\tx y");
    f.PaintFresh();
    // Column 0: six blanks; column 4 of the expanded text (after "abcd" at 6..9): two.
    EXPECT_TRUE(f.Has("TextOut 10,4 9,4-640,22       abcd  x y 0/16777215 opaque"));
    // Tab arrows: start pixel 0 and 80, one space (8 px) wide, ym = 4 + 8.
    EXPECT_TRUE(f.Has("Line 11,12-17,12 8421376 w1"));
    EXPECT_TRUE(f.Has("Line 17,12-14,9 8421376 w1"));
    EXPECT_TRUE(f.Has("Line 91,12-97,12 8421376 w1"));
    // Only the real space (expanded column 13, x 114..122) gets a dotted box:
    // corners (115, 6) and (121, 18).
    const auto px = f.Pixels();
    ASSERT_FALSE(px.empty());
    for (const auto& p : px) {
        int x = std::stoi(p.substr(9));
        EXPECT_GE(x, 115) << p;
        EXPECT_LE(x, 121) << p;
    }
}

TEST(Paint, DottedBoxesSetEverySecondPointFromTheFirst) {
    PaintFixture f;
    f.edit->SetAllText("\x81\x40");
    f.PaintFresh();
    // Full-width space at 10..26: corners (12, 6) and (24, 18), right side first.
    const auto px = f.Pixels();
    ASSERT_GE(px.size(), 4u);
    EXPECT_EQ(px[0], "SetPixel 24,6 8421376");
    EXPECT_EQ(px[1], "SetPixel 24,8 8421376");
    // 12 + 12 + 12 + 12 points around, half of them set.
    EXPECT_EQ(px.size(), 24u);
    EXPECT_TRUE(f.Has("SetPixel 12,6 8421376"));
    EXPECT_FALSE(f.Has("SetPixel 13,6 8421376"));
    // In single-byte mode the bytes are no full-width space.
    f.edit->SingleByteMode = true;
    f.PaintFresh();
    EXPECT_TRUE(f.Pixels().empty());
}

TEST(Paint, QuoteColourFollowsTheLogicalLineAcrossWrappedPieces) {
    PaintFixture f;
    f.edit->SetColumn(10);
    f.edit->SetWordWrap(true);
    f.edit->SetAllText("> 1234567890abcdef\r\nplain");
    ASSERT_GE(f.edit->LineCount(), 3);
    f.PaintFresh();
    const auto texts = f.Calls("TextOut 10,");
    int grey = 0;
    for (const auto& t : texts)
        if (t.find(" 8421504/16777215") != std::string::npos) ++grey;
    EXPECT_EQ(grey, 2);  // both pieces of the quote line
    EXPECT_TRUE(f.Has("TextOut 10,40 9,40-640,58 plain 0/16777215 opaque"));
    f.edit->ColorPrintF = false;
    f.PaintFresh();
    for (const auto& t : f.Calls("TextOut 10,"))
        EXPECT_EQ(t.find(" 8421504/"), std::string::npos) << t;
}

TEST(Paint, UrlRunContinuesOnTheNextWrappedPieceAndStopsAtTheLineEnd) {
    PaintFixture f;
    f.edit->SetColumn(12);
    f.edit->SetWordWrap(true);
    f.edit->SetAllText("see http://example.jp/a b\r\nhttp");
    f.PaintFresh();
    std::vector<std::string> runs;
    for (const auto& c : f.Calls("TextOut"))
        if (c.find(" 16711680/") != std::string::npos) runs.push_back(c);
    // Pieces "see http://e" and "xample.jp/a ": the run starts at column 4, goes on
    // in the second piece and stops before the blank.
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NE(runs[0].find("http://e"), std::string::npos);
    EXPECT_NE(runs[0].find("style4"), std::string::npos);
    EXPECT_NE(runs[1].find("xample.jp/a 16711680"), std::string::npos);
    // "http" alone on the last line is no URL; the "b" after the blank is none either.
    for (const auto& r : runs) EXPECT_EQ(r.find(" b "), std::string::npos);
}

TEST(Paint, SelectionDrawsSegmentsInverseTextAndTheLineEndCell) {
    PaintFixture f;
    f.edit->SetAllText("> abc\r\ndef");
    f.edit->SetSel(2, 0, 1, 1);
    f.PaintFresh();
    // Row 0: [0,2) unselected in the quote colour, [2, end) selected in white on black.
    EXPECT_TRUE(f.Has("TextOut 10,4 10,4-26,22 >  8421504/16777215 opaque"));
    EXPECT_TRUE(f.Has("TextOut 26,4 26,4-50,22 abc 16777215/0 opaque"));
    // The CR LF cell: 8 pixels of SelColor after the text, the arrow in the XOR pen.
    EXPECT_TRUE(f.Has("FillRect 50,4-58,22 0"));
    EXPECT_TRUE(f.Has("Line 54,7-54,17 8355839 w1"));
    EXPECT_TRUE(f.Has("FillRect 58,4-640,22 16777215"));
    // Row 1: "d" selected, "ef" unselected, "[EOF]" never highlighted.
    EXPECT_TRUE(f.Has("TextOut 10,22 10,22-18,40 d 16777215/0 opaque"));
    EXPECT_TRUE(f.Has("TextOut 18,22 18,22-34,40 ef 0/16777215 opaque"));
    EXPECT_TRUE(f.Has("TextOut 34,22 34,22-640,40 [EOF] 8421376/16777215 opaque"));
}

TEST(Paint, ExtendingTheSelectionRedrawsOnlyTheRowsBetweenTheEnds) {
    PaintFixture f;
    f.edit->SetAllText("a\r\nb\r\nc\r\nd\r\ne");
    f.edit->SetSel(0, 0, 1, 0);
    f.host.canvas.calls.clear();
    f.edit->ExtendSelectionTo(1, 3, false);
    EXPECT_EQ(f.edit->SelEndLine(), 3);
    for (const auto& c : f.Calls("TextOut")) {
        int y = std::stoi(c.substr(c.find(',') + 1));
        EXPECT_GE(y, 22) << c;  // rows 1..3 only
        EXPECT_LE(y, 58) << c;
    }
    EXPECT_TRUE(f.Has("TextOut 10,58 10,58-18,76 d 16777215/0 opaque"));
}

TEST(Paint, SelectAllPaintsEveryVisibleRowSelected) {
    PaintFixture f;
    f.edit->SetAllText("ab\r\ncd");
    f.edit->SelectAll();
    f.PaintFresh();
    EXPECT_TRUE(f.Has("TextOut 10,4 10,4-26,22 ab 16777215/0 opaque"));
    EXPECT_TRUE(f.Has("TextOut 10,22 10,22-26,40 cd 16777215/0 opaque"));
}

TEST(Paint, UnderlineFollowsTheCaretRowAndIsErasedOnLeaving) {
    PaintFixture f;
    f.edit->ShowUnderLine = true;
    f.edit->ShowLineNumber = true;
    f.edit->SetAllText("a\r\nb\r\nc");
    f.PaintFresh();
    // y = TopMargin + FontHeight; from LeftMargin to the client width.
    EXPECT_TRUE(f.Has("Line 10,20-640,20 0 w1"));
    f.host.canvas.calls.clear();
    f.edit->MoveCaretTo(0, 2, 0);
    EXPECT_TRUE(f.Has("Line 10,20-640,20 16777215 w1"));
    EXPECT_TRUE(f.Has("SetPixel 53,20 8421376"));  // the gutter separator pixel again
    EXPECT_TRUE(f.Has("Line 10,56-640,56 0 w1"));
}

TEST(Paint, EveryDrawingStepHidesTheCaretFirstAndShowsItAfter) {
    struct CaretLog : HeadlessHost {
        void HideCaret() override { canvas.calls.push_back("HideCaret"); }
        void ShowCaret() override { canvas.calls.push_back("ShowCaret"); }
    } host;
    TLumEdit edit(host);
    edit.SetAllText("abc\r\ndef");
    for (auto step : {+[](TLumEdit& e) { e.Paint(); }, +[](TLumEdit& e) { e.RepaintRange(0); },
                      +[](TLumEdit& e) { e.ExtendSelectionTo(1, 1, false); }}) {
        host.canvas.calls.clear();
        step(edit);
        const auto& c = host.canvas.calls;
        ASSERT_GE(c.size(), 3u);
        EXPECT_EQ(c.front(), "HideCaret");
        EXPECT_EQ(c.back(), "ShowCaret");
        EXPECT_EQ(std::count(c.begin(), c.end(), "HideCaret"), 1);
    }
}

TEST(Paint, BadInputNeverDrawsOutsideTheClientOrHangs) {
    PaintFixture f;
    std::string odd;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') odd += static_cast<char>(b);
    odd += '\x81';  // a lone lead byte at the end
    std::string huge(1 << 20, 'x');
    huge.replace(1000, 7, "http://");
    for (bool wrap : {false, true}) {
        f.edit->SetWordWrap(wrap);
        f.edit->ShowTAB = f.edit->ShowSglSpace = f.edit->ShowHTMLTagColor = true;
        f.edit->SetAllText(odd + "\r\n" + huge + "\r\n<a\t" + huge);
        f.edit->MoveCaretTo(0, f.edit->LineCount() - 1, 0);
        f.PaintFresh();
        for (const auto& c : f.Pixels()) {
            int x = std::stoi(c.substr(9));
            int y = std::stoi(c.substr(c.find(',') + 1));
            EXPECT_TRUE(x >= 0 && x < 640 && y >= 0 && y < 400) << c;
        }
    }
    for (auto [w, h] : {std::pair{0, 0}, {0, 300}, {300, 0}, {5, 5}}) {
        f.host.SetClientSize(w, h);
        f.edit->UpdateLayout();
        f.PaintFresh();
        for (const auto& c : f.Calls("TextOut")) {
            // A clip that lies inside the client, or none.
            auto clip = c.substr(c.find(' ', 8) + 1);
            int right = std::stoi(clip.substr(clip.find('-') + 1));
            EXPECT_LE(right, std::max(w, 0) + 1) << c;
        }
    }
}

}  // namespace
}  // namespace zentabo
