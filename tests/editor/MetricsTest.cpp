// Metrics, gutter and ruler on the headless host (8-pixel digits, 16-pixel font).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "editor/EditorTestSupport.h"

namespace zentabo {
namespace {

bool Has(const HeadlessHost& host, const std::string& call) {
    const auto& c = host.canvas.calls;
    return std::find(c.begin(), c.end(), call) != c.end();
}

TEST(Metrics, LineHeightMarkOffsetsAndSpaceWidthsComeFromTheFont) {
    EditorFixture f;
    EXPECT_EQ(f.edit->FontHeight(), 16);
    EXPECT_EQ(f.edit->LineHeight(), 18);  // 10 % of 16 = 1.6, rounded to 2
    f.edit->SetLineSpaceUnit(uPixel);
    EXPECT_EQ(f.edit->LineHeight(), 26);
    f.edit->SetLineSpaceUnit(uPercent);
    f.edit->SetLineSpace(25);  // 4.0
    EXPECT_EQ(f.edit->LineHeight(), 20);
    EXPECT_EQ(f.edit->CRMarkTop(), 3);      // 3.2
    EXPECT_EQ(f.edit->CRMarkBottom(), 13);  // 12.8
    EXPECT_EQ(f.edit->DigitWidth(), 8);
    EXPECT_EQ(f.edit->SpaceWidth(), 8);
    EXPECT_EQ(f.edit->DblSpaceWidth(), 16);
    EXPECT_EQ(f.edit->RulerLimit(), 2047);
    // The editor font carries no style from Font.
    FontDescription font = f.edit->Font();
    font.style = kStyleBold;
    f.edit->SetFont(font);
    EXPECT_EQ(f.host.lastFont.style, kStyleNone);
}

TEST(Metrics, GutterWidensForHundredThousandLinesAndNarrowsNoFurtherThanConfigured) {
    EditorFixture f;
    f.edit->SetWordWrap(false);
    f.edit->ShowLineNumber = true;
    f.edit->SetGutterWidth();
    EXPECT_EQ(f.edit->GutterWidth(), 47);  // 5 digits of 8 + 7
    EXPECT_EQ(f.edit->TextLeft(), 57);
    std::string text;
    for (int i = 0; i < 99999; ++i) text += "x\r\n";
    f.edit->SetAllText(text);  // 100,000 lines: six digits need 48 + 10 + 7 = 65
    EXPECT_EQ(f.edit->TextLeft(), 67);
    f.edit->SetAllText("a\r\nb");
    EXPECT_EQ(f.edit->TextLeft(), 57);
    f.edit->SetLineNoColumn(2);
    f.edit->SetGutterWidth();
    EXPECT_EQ(f.edit->TextLeft(), 33);
    std::string big(9999 * 3, 'x');
    for (size_t i = 1; i < big.size(); i += 3) big[i] = '\r', big[i + 1] = '\n';
    f.edit->SetAllText(big);  // 10,000 lines: 40 + 17 = 57 in steps of 10 from 33
    EXPECT_EQ(f.edit->TextLeft(), 63);
}

TEST(Metrics, GutterNumbersEveryDisplayLineRightAlignedWithItsSeparator) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText("0123456789abc\r\nz");
    f.edit->ShowLineNumber = true;
    f.edit->SetGutterWidth();
    f.host.canvas.calls.clear();
    f.edit->Paint();
    EXPECT_TRUE(Has(f.host, "Line 53,4-53,58 8421376 w1"));
    // Numbers end at TextLeft - 7 = 50: "1" at 42, wrapped piece "2", then "3".
    EXPECT_TRUE(Has(f.host, "TextOut 42,4 42,4-50,22 1 8421376/16777215 opaque"));
    EXPECT_TRUE(Has(f.host, "TextOut 42,22 42,22-50,40 2 8421376/16777215 opaque"));
    EXPECT_TRUE(Has(f.host, "TextOut 42,40 42,40-50,58 3 8421376/16777215 opaque"));
}

TEST(Metrics, RulerTicksStopAtTheWrapColumnAndTheCursorIsXored) {
    EditorFixture f;
    f.edit->SetShowRuler(true);
    f.edit->SetShowRulerCur(true);
    EXPECT_EQ(f.edit->TopMargin(), 11);
    f.edit->SetColumn(72);
    int c1 = -1, c2 = -1;
    f.edit->OnUserDraw = [&](TLumEdit&, int a, int b, int, int) { c1 = a, c2 = b; };
    f.host.canvas.calls.clear();
    f.edit->Paint();
    EXPECT_EQ(c1, 1);
    EXPECT_EQ(c2, 72);
    // Column i at x = (i - 1) * 8 + 10.
    EXPECT_TRUE(Has(f.host, "Line 10,10-10,5 0 w1"));
    EXPECT_TRUE(Has(f.host, "Line 82,10-82,1 0 w1"));    // column 10, long tick
    EXPECT_TRUE(Has(f.host, "Line 578,10-578,5 0 w1"));  // column 72
    EXPECT_FALSE(Has(f.host, "Line 586,10-586,5 0 w1"));
    EXPECT_TRUE(Has(f.host, "Line 10,10-579,10 0 w1"));
    // Cursor: RulerCurColor XOR Color, width 5, XOR mode; a caret move erases and redraws.
    EXPECT_TRUE(Has(f.host, "Line 10,0-10,8 16777215 w5 xor"));
    f.edit->SetAllText("abc");
    f.host.canvas.calls.clear();
    f.edit->MoveCaretTo(2, 0, 0);
    const auto& c = f.host.canvas.calls;
    auto cursor = std::find(c.begin(), c.end(), "Line 26,0-26,8 16777215 w5 xor");
    ASSERT_NE(cursor, c.end());
    EXPECT_TRUE(std::find(c.begin(), cursor, "Line 10,0-10,8 16777215 w5 xor") != cursor);
    // Margins clamp.
    f.edit->SetTopMargin(40);
    EXPECT_EQ(f.edit->TopMargin(), 30);
    f.edit->SetTopMargin(4);
    EXPECT_EQ(f.edit->TopMargin(), 11);
}

}  // namespace
}  // namespace zentabo
