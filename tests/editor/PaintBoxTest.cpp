// Box selections as painted: the recorded drawing calls are replayed onto a model of
// the client's background colours, so a test sees what the user sees, stale pixels
// included. 8-pixel cells (a double-byte character is two), TextLeft 10, rows 18 high
// from y 4.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "editor/EditorTestSupport.h"

namespace zentabo {
namespace {

constexpr TColor kSel = 0x0000FF;  // distinct from the white background and black text
constexpr int kWidth = 640;
constexpr int kHeight = 400;

int RowY(int line) {
    return 4 + 18 * line;
}

// Background colour of every pixel, as the replayed calls left it.
class Screen {
public:
    Screen() { fill(0, 0, kWidth, kHeight, 0xFFFFFF); }

    void Replay(std::vector<std::string>& calls) {
        for (const auto& c : calls) {
            if (c.rfind("FillRect ", 0) == 0) {
                int l, t, r, b;
                unsigned color;
                if (std::sscanf(c.c_str(), "FillRect %d,%d-%d,%d %u", &l, &t, &r, &b, &color) == 5)
                    fill(l, t, r, b, color);
            } else if (c.rfind("TextOut ", 0) == 0 && c.find(" opaque") != std::string::npos) {
                int x, y, l, t, r, b;
                if (std::sscanf(c.c_str(), "TextOut %d,%d %d,%d-%d,%d", &x, &y, &l, &t, &r, &b) !=
                    6)
                    continue;
                const size_t slash = c.rfind('/');
                fill(l, t, r, b, static_cast<TColor>(std::stoul(c.substr(slash + 1))));
            }
        }
        calls.clear();
    }

    // The selected cells of a row as "from-to" cell indexes from the text origin
    // ("" when none): for text without tabs the byte columns.
    std::string Selected(int line) const {
        const int y = RowY(line) + 1;
        std::string out;
        for (int x = 0; x < kWidth;) {
            if (px_[y][x] != kSel) {
                ++x;
                continue;
            }
            const int from = x;
            while (x < kWidth && px_[y][x] == kSel) ++x;
            if (!out.empty()) out += ' ';
            out += std::to_string((from - 10) / 8) + "-" + std::to_string((x - 10) / 8);
        }
        return out;
    }

    bool operator==(const Screen& o) const { return px_ == o.px_; }

private:
    void fill(int l, int t, int r, int b, TColor color) {
        for (int y = std::max(0, t); y < std::min(kHeight, b); ++y)
            for (int x = std::max(0, l); x < std::min(kWidth, r); ++x) px_[y][x] = color;
    }
    std::vector<std::array<TColor, kWidth>> px_ = std::vector<std::array<TColor, kWidth>>(kHeight);
};

struct BoxFixture : EditorFixture {
    std::vector<std::string> lastPaint;  // the calls of the latest Painted()

    explicit BoxFixture(const std::string& text, bool wrap = false) {
        edit->SetWordWrap(wrap);
        edit->SelColor = kSel;
        edit->SetBoxSelMode(true);
        edit->SetAllText(text);
    }
    // A fresh full repaint, replayed onto a clean screen.
    Screen Painted() {
        host.canvas.calls.clear();
        edit->Paint();
        lastPaint = host.canvas.calls;
        Screen s;
        s.Replay(host.canvas.calls);
        return s;
    }
    std::vector<std::string> SelectedRows(const Screen& s) const {
        std::vector<std::string> out;
        for (int i = 0; i < edit->LineCount(); ++i) out.push_back(s.Selected(i));
        return out;
    }
    std::vector<std::string> Spans() {
        std::vector<std::string> out;
        for (int i = 0; i < edit->LineCount(); ++i) {
            const TLumEdit::BoxSpan s = edit->BoxColumns(i);
            out.push_back(std::to_string(s.start) + "-" + std::to_string(s.end));
        }
        return out;
    }
};

using Rows = std::vector<std::string>;

TEST(PaintBox, ByteColumnsCoverTheSameBytesOnEveryRowClippedToShortRows) {
    BoxFixture f("abcdefgh\r\nab\r\nabcdefghij\r\n\r\nabcdef");
    f.edit->BoxColumFix = true;
    f.edit->SetSel(5, 2, 0, 2);  // anchor right of the end: the columns are ordered
    EXPECT_EQ(f.Spans(), (Rows{"2-5", "2-2", "2-5", "0-0", "2-5"}));
    // Row 4 lies below the box: drawn unselected although its columns would fit.
    EXPECT_EQ(f.SelectedRows(f.Painted()), (Rows{"2-5", "", "2-5", "", ""}));
    // Selected text is drawn inverted on SelColor; the line-end arrows stay unselected.
    EXPECT_NE(std::find(f.lastPaint.begin(), f.lastPaint.end(),
                        "TextOut 26,4 26,4-50,22 cde 16777215/255 opaque"),
              f.lastPaint.end());
}

TEST(PaintBox, ByteColumnsLeaveOutADoubleByteCharacterTheyWouldCut) {
    // "あ" is 0x82 0xA0: two bytes, two cells.
    const std::string a = "\x82\xa0";
    BoxFixture f("abcdefgh\r\na" + a + a + "xyz\r\nabcde" + a + "z\r\nab" + a + "\r\nabcdefgh");
    f.edit->BoxColumFix = true;
    f.edit->SetSel(2, 0, 4, 6);
    // Row 1: column 2 is the second byte of the first あ, so the box starts after it.
    // Row 2: column 6 is the second byte of あ, so the box ends before it.
    // Row 3: the end is clipped to the length, which a whole あ ends.
    EXPECT_EQ(f.Spans(), (Rows{"2-6", "3-6", "2-5", "2-4", "2-6"}));
    EXPECT_EQ(f.SelectedRows(f.Painted()), (Rows{"2-6", "3-6", "2-5", "2-4", "2-6"}));
}

TEST(PaintBox, PixelEdgesStayStraightOverDoubleByteCharactersAndTabs) {
    const std::string a = "\x82\xa0";
    BoxFixture f("abcdefgh\r\na" + a + a + "xyz\r\n\tab\r\nabc");
    // Anchor at column 2 of row 0 (x 16); the mouse ends at text x 44 on row 3.
    f.edit->SetSel(2, 0, 0, 2);
    f.edit->SetBoxMouseX(10 + 44);
    f.edit->ExtendSelectionTo(3, 3, true);
    EXPECT_EQ(f.edit->BoxEndX(), 44);
    // x 16 is the middle of the first あ (8..24): the column before it; x 44 lies in the
    // left half of "x" (40..48). The tab's cell is 0..48: x 16 lies in its left half,
    // x 44 in its right half, so the box holds the whole tab (six cells).
    EXPECT_EQ(f.Spans(), (Rows{"2-5", "1-5", "0-1", "2-3"}));
    EXPECT_EQ(f.SelectedRows(f.Painted()), (Rows{"2-5", "1-5", "0-6", "2-3"}));

    // The walk that finds a row's column agrees with the caret's pixel-to-column rule.
    f.edit->SetAllText("a\tb" + a + "c\t" + a + a + "\tz\r\nq");
    f.edit->SetSel(0, 1, 1, 0);
    for (int x = 0; x < 220; ++x) {
        f.edit->SetBoxMouseX(10 + x);
        f.edit->ExtendSelectionTo(0, 0, true);
        EXPECT_EQ(f.edit->BoxColumns(0).end, f.edit->PixelToColumn(0, x, false)) << x;
    }
}

TEST(PaintBox, AnEndSetWithoutTheMouseTakesItsOwnColumnsPixel) {
    BoxFixture f("abcdefgh\r\nabcdefgh\r\nabcdefgh");
    f.edit->SetSel(1, 0, 0, 1);
    // Not at the caret: the end column's x on its row.
    f.edit->ExtendSelectionTo(4, 2, false);
    EXPECT_EQ(f.edit->BoxEndX(), 32);
    // SetSel moves the end without recording an edge: the new end's x counts, not the
    // edge recorded for the old end.
    f.edit->SetSel(6, 0, 1, 3);
    EXPECT_EQ(f.edit->BoxEndX(), 24);
    EXPECT_EQ(f.SelectedRows(f.Painted()), (Rows{"3-6", "3-6", ""}));
}

// Extends the box step by step and checks, after each step, that the incremental
// repaint left the screen exactly as a full repaint draws it.
void ExpectIncrementalMatchesFull(BoxFixture& f, const std::vector<std::pair<int, int>>& ends,
                                  bool fromMouse) {
    Screen live = f.Painted();
    for (auto [col, line] : ends) {
        if (fromMouse) f.edit->SetBoxMouseX(10 + 8 * col + 3);
        f.edit->ExtendSelectionTo(col, line, fromMouse);
        live.Replay(f.host.canvas.calls);
        const Screen full = f.Painted();
        EXPECT_EQ(f.SelectedRows(live), f.SelectedRows(full)) << "end " << col << "," << line;
        EXPECT_TRUE(live == full) << "end " << col << "," << line;
    }
}

TEST(PaintBox, GrowingShrinkingAndCrossingTheAnchorLeaveNoStaleHighlight) {
    const std::string a = "\x82\xa0";
    const std::string text = "abcdefghijkl\r\nab\r\n" + a + a + a + a + "\r\n\tabcdefg\r\n\r\n" +
                             "abcdefghijklmn\r\nxy" + a + "zzzz\r\nend";
    // Ends that grow the box, jump back over several rows, cross the anchor row,
    // move only sideways, and shrink to the anchor row.
    const std::vector<std::pair<int, int>> ends = {{9, 6}, {3, 7}, {11, 5}, {2, 0}, {7, 1},
                                                   {7, 2}, {1, 7}, {5, 3},  {5, 3}, {0, 3}};
    for (bool fix : {false, true}) {
        for (bool mouse : {false, true}) {
            BoxFixture f(text);
            f.edit->BoxColumFix = fix;
            f.edit->SetSel(4, 3, 3, 4);
            ExpectIncrementalMatchesFull(f, ends, mouse);
        }
    }
}

TEST(PaintBox, ClearingABoxWhoseEndStandsAtColumnZeroLeavesNoHighlight) {
    BoxFixture f("abcdefgh\r\nabcdefgh\r\nabcdefgh\r\nabcdefgh");
    f.edit->BoxColumFix = true;
    Screen screen = f.Painted();
    // Anchor (col 3, row 0), end (col 0, row 2): row 2 is part of the box.
    f.host.canvas.calls.clear();
    f.edit->SetSel(3, 0, 2, 0);
    screen.Replay(f.host.canvas.calls);
    EXPECT_EQ(f.SelectedRows(screen), (Rows{"0-3", "0-3", "0-3", ""}));
    f.edit->MoveCaretTo(1, 3, kScrollKeepMargin);
    screen.Replay(f.host.canvas.calls);
    EXPECT_EQ(f.SelectedRows(screen), (Rows{"", "", "", ""}));
}

TEST(PaintBox, WrappedRowsAreBoxedAsDisplayLines) {
    BoxFixture f("abcdefghijklmnopqrstuvwxyz\r\nab\r\nabcdefghijklmnop", true);
    f.edit->SetColumn(10);
    ASSERT_GT(f.edit->LineCount(), 5);
    ASSERT_EQ(f.edit->Lines().Get(0), "abcdefghij");  // a piece without marker
    f.edit->BoxColumFix = true;
    f.edit->SetSel(8, 0, 4, 3);
    const int last = f.edit->LineCount() - 1;
    Rows want(static_cast<size_t>(last + 1), "");
    // Rows 0..4: three pieces of the long line (the third "uvwxyz" is 6 long), "ab",
    // and the first piece of the last line.
    want[0] = "3-8";
    want[1] = "3-8";
    want[2] = "3-6";
    want[3] = "";
    want[4] = "3-8";
    EXPECT_EQ(f.SelectedRows(f.Painted()), want);
    // The incremental repaint agrees with the full one, in pixels too.
    ExpectIncrementalMatchesFull(f, {{9, 5}, {2, 1}, {10, 0}, {0, 5}}, false);
    f.edit->BoxColumFix = false;
    f.edit->SetSel(8, 0, 4, 3);
    ExpectIncrementalMatchesFull(f, {{9, 5}, {2, 1}, {10, 0}, {0, 5}}, true);
}

TEST(PaintBox, OutsideBoxModeTheSameEndsStillDrawAStream) {
    BoxFixture f("abcdefgh\r\nabcdefgh\r\nabcdefgh");
    f.edit->SetBoxSelMode(false);
    f.edit->SetSel(2, 0, 2, 4);
    // The stream highlights row 0 from column 2 through its line end (the 8-pixel CR LF
    // cell), all of row 1, and row 2 up to column 4.
    EXPECT_EQ(f.SelectedRows(f.Painted()), (Rows{"2-9", "0-9", "0-4"}));
}

}  // namespace
}  // namespace zentabo
