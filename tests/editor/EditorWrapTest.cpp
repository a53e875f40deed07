// Word wrap: the break rule, whole-text wrap and unwrap, positions.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

const std::string kNul(1, '\0');

TEST(EditorWrapTest, LineExactlyAsWideAsTheWrapWidthStaysWhole) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText("0123456789\r\n01234567890");
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"0123456789\r\n", "0123456789", "0" + kNul}));
}

TEST(EditorWrapTest, DoubleByteCharacterIsNeverSplitAndCrLfStaysTogether) {
    EditorFixture f;
    f.edit->SetColumn(11);
    std::string kana;
    for (int i = 0; i < 8; ++i) kana += "\x82\xA0";
    f.edit->SetAllText(kana + "\r\n");
    std::vector<std::string> lines = f.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 10u);  // 5 characters; the 6th would cut at column 11
    EXPECT_EQ(lines[1], kana.substr(10) + "\r\n");
}

TEST(EditorWrapTest, TabsAreMeasuredExpanded) {
    EditorFixture f;
    EXPECT_EQ(f.edit->ExpandTabs("a\tb"), "a     b");
    f.edit->SetTabCount(4);
    EXPECT_EQ(f.edit->ExpandTabs("\t\tx"), "        x");
    f.edit->SetColumn(10);
    f.edit->SetAllText("\t\t\tx");  // 12 cells expanded
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"\t\t", "\tx" + kNul}));
}

TEST(EditorWrapTest, ToggleRestoresLinesAndCaret) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText("abcdefghijklmnopqrstuvwxyz\r\nshort");
    std::vector<std::string> wrapped = f.Lines();
    ASSERT_EQ(wrapped.size(), 4u);
    f.edit->MoveCaretTo(3, 1, 0);  // "n" of the second piece: logical offset 13
    f.edit->SetWordWrap(false);
    EXPECT_EQ(f.edit->LineCount(), 2);
    EXPECT_EQ(f.edit->CaretLine(), 0);
    EXPECT_EQ(f.edit->CaretCol(), 13);
    f.edit->SetWordWrap(true);
    EXPECT_EQ(f.Lines(), wrapped);
    EXPECT_EQ(f.edit->CaretLine(), 1);
    EXPECT_EQ(f.edit->CaretCol(), 3);
}

TEST(EditorWrapTest, PositionConversionsAndLineQueries) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText("x\r\nabcdefghijklmnopqrstuvwxyz\r\nend");
    int col = 3, line = 2;  // "n": logical line 1, offset 13
    f.edit->ToLogicalPos(col, line);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(col, 13);
    col = 10, line = 1;  // the first piece's length gives the end of that piece
    f.edit->ToDisplayPos(col, line);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(col, 10);
    col = 500, line = 1;  // past the logical line: its end, never the next line
    f.edit->ToDisplayPos(col, line);
    EXPECT_EQ(line, 3);
    EXPECT_EQ(col, 6);
    EXPECT_EQ(f.edit->LineStartOf(3), 1);
    EXPECT_EQ(f.edit->LineEndOf(1), 3);
    EXPECT_TRUE(f.edit->IsWrappedLine(2));
    EXPECT_TRUE(f.edit->IsWrappedLine(3));
    EXPECT_FALSE(f.edit->IsWrappedLine(0));
    EXPECT_FALSE(f.edit->IsWrappedLine(4));
}

TEST(EditorWrapTest, NarrowTextAreaNeverCutsBelowTenCells) {
    EditorFixture f;
    f.host.SetClientSize(60, 200);  // narrower than 10 cells
    f.edit->UpdateLayout();
    f.edit->SetAutoWrap(true);
    f.edit->SetAllText(std::string(35, 'a'));
    for (int i = 0; i < f.edit->LineCount() - 1; ++i) EXPECT_EQ(f.edit->Lines().Get(i).size(), 10u);
}

TEST(EditorWrapTest, AutoWrapFollowsANewWidthButNotAResizeThatKeepsIt) {
    EditorFixture f;
    f.host.SetClientSize(400, 200);
    f.edit->UpdateLayout();
    f.edit->SetAutoWrap(true);
    f.edit->SetAllText(std::string(300, 'a'));
    const std::size_t wide = f.edit->Lines().Get(0).size();
    f.host.SetClientSize(200, 200);
    f.edit->Resize();
    EXPECT_LT(f.edit->Lines().Get(0).size(), wide);
    // A scroll bar shown again or a repeated resize: same width, no new wrap.
    const int wraps = f.edit->WholeTextWraps();
    f.edit->Resize();
    EXPECT_EQ(f.edit->WholeTextWraps(), wraps);
    f.host.SetClientSize(400, 200);
    f.edit->Resize();
    EXPECT_EQ(f.edit->Lines().Get(0).size(), wide);
}

TEST(EditorWrapTest, TypingRewrapsAndCaretFollows) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText("0123456789abc");
    f.edit->MoveCaretTo(5, 0, 0);
    f.edit->TypeText("X");
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"01234X5678", "9abc" + kNul}));
    f.edit->MoveCaretTo(10, 0, 0);
    f.edit->TypeText("Y");  // at the end of a full piece: the caret moves to the next
    EXPECT_EQ(f.edit->CaretLine(), 1);
    EXPECT_EQ(f.edit->CaretCol(), 1);
    f.edit->SetColumn(12);
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"01234X5678Y9", "abc" + kNul}));
}

}  // namespace
}  // namespace zentabo
