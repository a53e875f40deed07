// Box selections in the model: copy rows, cutting, pasting blocks and their undo.
// Every byte is 8 pixels wide on the headless host; a TAB goes to the next multiple
// of 6 cells.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

const std::string kNul(1, '\0');

struct BoxFixture : EditorFixture {
    explicit BoxFixture(const std::string& text, bool wrap = false) {
        edit->SetWordWrap(wrap);
        edit->SetAllText(text);
        edit->SetBoxSelMode(true);
    }
    void Paste(const std::string& text, int col, int line) {
        edit->MoveCaretTo(col, line, 0);
        edit->InsertString(text);
    }
};

TEST(BoxSelectionTest, CopyGivesOneRowPerLineEvenWhenShortOrEmpty) {
    BoxFixture f("abcdef\r\nab\r\n\r\nabcdef");
    f.edit->SetSel(1, 0, 3, 4);
    EXPECT_EQ(f.edit->GetSelText(), "bcd\r\nb\r\n\r\nbcd\r\n");
    // A box whose end stands at column 0 still holds its last row.
    f.edit->SetSel(3, 0, 1, 0);
    EXPECT_EQ(f.edit->GetSelText(), "abc\r\nab\r\n");
}

TEST(BoxSelectionTest, PixelEdgesStayStraightOverTabsWhileByteEdgesDoNot) {
    BoxFixture f("\tab\r\nxxxxxxab");
    f.edit->SetSel(1, 0, 1, 8);  // x 48 to 64 on both rows
    EXPECT_EQ(f.edit->GetSelText(), "ab\r\nab\r\n");
    f.edit->BoxColumFix = true;
    EXPECT_EQ(f.edit->GetSelText(), "ab\r\nxxxxxab\r\n");
}

TEST(BoxSelectionTest, ByteEdgesNeverCutADoubleByteCharacter) {
    BoxFixture f("abcdef\r\n\x82\xA0\x82\xA2\x82\xA4\r\nabcdef");  // あいう
    f.edit->BoxColumFix = true;
    f.edit->SetSel(1, 0, 2, 5);  // both edges on a trail byte in the middle row
    EXPECT_EQ(f.edit->GetSelText(), "bcde\r\n\x82\xA2\r\nbcde\r\n");
}

TEST(BoxSelectionTest, CutRemovesEveryRowAndOneUndoRestoresThem) {
    BoxFixture f("abcdef\r\nab\r\nabcdef");
    f.edit->SetSel(1, 0, 2, 4);
    f.edit->CutToClipboard();
    EXPECT_EQ(f.host.Clipboard(), "bcd\r\nb\r\nbcd\r\n");
    EXPECT_EQ(f.edit->GetAllText(), "aef\r\na\r\naef");
    EXPECT_EQ(f.edit->CaretLine(), 0);
    EXPECT_EQ(f.edit->CaretCol(), 1);
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abcdef\r\nab\r\nabcdef");
    EXPECT_FALSE(f.edit->Modified());
    f.edit->Redo();
    EXPECT_EQ(f.edit->GetAllText(), "aef\r\na\r\naef");
}

TEST(BoxSelectionTest, PastePadsShortLinesToTheLeftEdge) {
    BoxFixture f("abcdef\r\nab\r\nabcdef");
    f.Paste("1\r\n2\r\n3\r\n", 4, 0);
    EXPECT_EQ(f.edit->GetAllText(), "abcd1ef\r\nab  2\r\nabcd3ef");
    EXPECT_EQ(f.edit->CaretLine(), 2);
    EXPECT_EQ(f.edit->CaretCol(), 5);
}

TEST(BoxSelectionTest, PasteOnTheLastLineAddsLinesThatOneUndoRemoves) {
    BoxFixture f("abc");
    f.Paste("xy\r\nzw\r\nuv", 1, 0);
    EXPECT_EQ(f.edit->GetAllText(), "axybc\r\n zw\r\n uv");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abc");
    EXPECT_EQ(f.Lines(), std::vector<std::string>{"abc" + kNul});
    EXPECT_FALSE(f.edit->Modified());
    f.edit->Redo();
    EXPECT_EQ(f.edit->GetAllText(), "axybc\r\n zw\r\n uv");
}

TEST(BoxSelectionTest, OverwritePasteReplacesTheBlockAndUndoBringsItBack) {
    BoxFixture f("abcdef\r\nabcdef\r\nab");
    f.edit->SetInsertMode(false);
    f.Paste("XY\r\nZW\r\nUV", 1, 0);
    EXPECT_EQ(f.edit->GetAllText(), "aXYdef\r\naZWdef\r\naUV");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abcdef\r\nabcdef\r\nab");
    f.edit->Redo();
    EXPECT_EQ(f.edit->GetAllText(), "aXYdef\r\naZWdef\r\naUV");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abcdef\r\nabcdef\r\nab");
}

TEST(BoxSelectionTest, OverwritePasteOnTheLastLineComesBackInOneUndo) {
    // The covered bytes return only after the block is gone: the added line break
    // must be found where it was before any of them went.
    BoxFixture f("abcdef");
    f.edit->SetInsertMode(false);
    f.Paste("XY\r\nZW", 1, 0);
    EXPECT_EQ(f.edit->GetAllText(), "aXYdef\r\n ZW");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abcdef");
    f.edit->Redo();
    EXPECT_EQ(f.edit->GetAllText(), "aXYdef\r\n ZW");
}

TEST(BoxSelectionTest, OverwriteNeverLeavesHalfACharacter) {
    BoxFixture f("a\x82\xA0\x82\xA2\r\na\x82\xA0\x82\xA2");
    f.edit->SetInsertMode(false);
    // One byte wide: the block's right edge falls in the left half of あ, which stays.
    f.Paste("X\r\nY", 1, 0);
    EXPECT_EQ(f.edit->GetAllText(), "aX\x82\xA0\x82\xA2\r\naY\x82\xA0\x82\xA2");
    f.edit->Undo();
    f.Paste("XYZ\r\nUVW", 1, 0);  // three bytes: あ goes whole, い stays whole
    EXPECT_EQ(f.edit->GetAllText(), "aXYZ\x82\xA2\r\naUVW\x82\xA2");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "a\x82\xA0\x82\xA2\r\na\x82\xA0\x82\xA2");
}

TEST(BoxSelectionTest, WrappedLinesTakeOneRowPerLogicalLine) {
    // Column 10: the first logical line wraps into pieces of 10, 10 and 5 bytes.
    BoxFixture f(std::string(25, 'a') + "\r\nbbb", true);
    f.edit->SetColumn(10);
    ASSERT_EQ(f.edit->LineCount(), 4);
    f.Paste("X\r\nY", 2, 1);  // in the second piece: anchored on the first one
    EXPECT_EQ(f.edit->GetAllText(), "aaX" + std::string(23, 'a') + "\r\nbbYb");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), std::string(25, 'a') + "\r\nbbb");
}

TEST(BoxSelectionTest, BoxOverALoneLeadByteCutsAndRestoresExactly) {
    const std::string text = "ab\x82\r\nabcd\r\nabcd";
    BoxFixture f(text);
    f.edit->SetSel(1, 0, 2, 3);
    f.edit->DeleteSelection(true, true);
    EXPECT_EQ(f.edit->GetAllText(), "a\r\nad\r\nad");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), text);
}

TEST(BoxSelectionTest, SwitchingTheModeClearsTheSelection) {
    BoxFixture f("abc\r\ndef");
    f.edit->SetSel(0, 0, 1, 2);
    f.edit->SetBoxSelMode(false);
    EXPECT_FALSE(f.edit->SelActive());
    f.edit->SetSel(0, 0, 1, 2);
    f.edit->SetBoxSelMode(true);
    EXPECT_FALSE(f.edit->SelActive());
    EXPECT_EQ(f.edit->GetAllText(), "abc\r\ndef");
}

}  // namespace
}  // namespace zentabo
