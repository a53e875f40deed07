// Editing primitives and the undo journal.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

const std::string kNul(1, '\0');

TEST(EditorEditingTest, SelectionRangeIsOrdered) {
    EditorFixture f;
    f.edit->SetWordWrap(false);
    f.edit->SetAllText("0123456789\r\n0123456789\r\n0123456789\r\n0123456789");
    f.edit->SetSel(2, 3, 1, 7);
    SelectionRange r = f.edit->GetSelectionRange();
    EXPECT_EQ(r.startLine, 1);
    EXPECT_EQ(r.startCol, 7);
    EXPECT_EQ(r.endLine, 3);
    EXPECT_EQ(r.endCol, 2);
}

TEST(EditorEditingTest, DeletingAnEmptyLineAndJoiningLines) {
    EditorFixture f;
    f.edit->SetAllText("ab\r\n\r\ncd");
    f.edit->SetSel(0, 1, 2, 0);  // the empty logical line
    f.edit->DeleteSelection(true, false);
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"ab\r\n", "cd" + kNul}));
    f.edit->SetSel(2, 0, 1, 0);
    f.edit->DeleteSelection(true, false);
    EXPECT_EQ(f.Lines(), std::vector<std::string>{"abcd" + kNul});
    f.edit->Undo();
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"ab\r\n", "cd" + kNul}));
}

TEST(EditorEditingTest, InsertingLinesInTheMiddle) {
    EditorFixture f;
    f.edit->SetAllText("ab");
    f.edit->MoveCaretTo(1, 0, 0);
    f.edit->InsertString("x\r\ny");
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"ax\r\n", "yb" + kNul}));
    EXPECT_EQ(f.edit->CaretLine(), 1);
    EXPECT_EQ(f.edit->CaretCol(), 1);
}

TEST(EditorEditingTest, OverwriteTyping) {
    EditorFixture f;
    f.edit->SetAllText("\x82\xA0zz\r\nab");
    f.edit->SetInsertMode(false);
    f.edit->TypeText("1");  // over a lead byte: the whole character goes, a blank keeps columns
    EXPECT_EQ(f.edit->GetAllText(), "1 zz\r\nab");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "\x82\xA0zz\r\nab");
    f.edit->Redo();
    EXPECT_EQ(f.edit->GetAllText(), "1 zz\r\nab");
    f.edit->MoveCaretTo(2, 1, 0);
    f.edit->TypeText("c");  // at the end of the last line: appends
    EXPECT_EQ(f.edit->GetAllText(), "1 zz\r\nabc");
}

TEST(EditorEditingTest, FreeCaretPadsWithBlanks) {
    EditorFixture f;
    f.edit->SetAllText("ab");
    f.edit->SetFreeCaretMode(true);
    f.edit->MoveCaretTo(5, 0, 0);
    EXPECT_EQ(f.edit->CaretCol(), 5);
    EXPECT_EQ(f.edit->CaretDisplayColumn(), 5);
    f.edit->TypeText("x");
    EXPECT_EQ(f.edit->GetAllText(), "ab   x");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "ab");
}

TEST(EditorEditingTest, KeyboardDeletionsTakeWholeCharactersAndLineBreaks) {
    EditorFixture f;
    f.edit->SetAllText("a\x82\xA0\r\nb");
    f.edit->MoveCaretTo(3, 0, 0);
    f.edit->DeleteForward();  // CR LF as one unit
    EXPECT_EQ(f.edit->GetAllText(),
              "a\x82\xA0"
              "b");
    f.edit->DeleteBackward();  // the whole double-byte character
    EXPECT_EQ(f.edit->GetAllText(), "ab");
    EXPECT_EQ(f.edit->CaretCol(), 1);
    f.edit->Undo();
    EXPECT_EQ(f.edit->CaretCol(), 3);  // kind 2: caret after the restored text
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "a\x82\xA0\r\nb");
    EXPECT_EQ(f.edit->CaretCol(), 3);  // kind 3: caret before it
    EXPECT_FALSE(f.edit->Modified());
}

TEST(EditorEditingTest, ReplaceRangeAndSelectFrom) {
    EditorFixture f;
    f.edit->SetAllText("hello world\r\nnext");
    f.edit->ReplaceRange("there", 6, true, 0, 11, 0);
    EXPECT_EQ(f.edit->GetAllText(), "hello there\r\nnext");
    f.edit->SelectFrom(13, 0, 0);  // ends exactly behind the CR LF: column 0 of line 1
    EXPECT_EQ(f.edit->SelEndLine(), 1);
    EXPECT_EQ(f.edit->SelEndCol(), 0);
    EXPECT_EQ(f.edit->GetSelText(), "hello there\r\n");
}

TEST(EditorEditingTest, PositionsBeyondTheTextAreClamped) {
    EditorFixture f;
    f.edit->SetAllText("ab\r\ncd");
    f.edit->SetSel(-5, -3, 99, 99);
    EXPECT_EQ(f.edit->GetSelText(), "ab\r\ncd");
    f.edit->MoveCaretTo(1000, 1000, 2);
    EXPECT_EQ(f.edit->CaretLine(), 1);
    EXPECT_EQ(f.edit->CaretCol(), 2);
    EXPECT_EQ(f.edit->GetTextRange(0, 0, 50, 50), "ab\r\ncd");
}

TEST(EditorUndoTest, BudgetDropsOldestAndKeepsModified) {
    EditorFixture f;
    f.edit->SetUndoBuf(10);
    f.edit->InsertString("123456");
    f.edit->InsertString("abcdef");
    EXPECT_EQ(f.edit->UndoList().size(), 1u);
    EXPECT_TRUE(f.edit->HistoryTruncated());
    EXPECT_EQ(f.edit->UndoBytes(), 6);
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "123456");
    EXPECT_TRUE(f.edit->Modified());

    EditorFixture g;
    g.edit->SetUndoBuf(3);
    EXPECT_FALSE(g.edit->RecordUndo(kUndoInsert, "toolong", 0, 0));
    EXPECT_TRUE(g.edit->Modified());
    EXPECT_TRUE(g.edit->UndoList().empty());
}

TEST(EditorUndoTest, TypingOverSelectionUndoesInOneStepAndNewChangeEndsRedo) {
    EditorFixture f;
    std::vector<bool> modify, redo;
    f.edit->OnChangeModify = [&](TLumEdit&, bool m) { modify.push_back(m); };
    f.edit->OnChangeRedoMode = [&](TLumEdit&, bool r) { redo.push_back(r); };
    f.edit->SetAllText("abcdef");
    modify.clear();
    redo.clear();
    f.edit->SetSel(1, 0, 0, 4);
    f.edit->TypeText("X");
    EXPECT_EQ(f.edit->GetAllText(), "aXef");
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abcdef");
    EXPECT_FALSE(f.edit->Modified());
    EXPECT_TRUE(f.edit->RedoAvailable());
    f.edit->Redo();
    EXPECT_EQ(f.edit->GetAllText(), "aXef");
    f.edit->Undo();
    f.edit->TypeText("y");
    EXPECT_TRUE(f.edit->RedoList().empty());
    EXPECT_EQ(modify, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(redo, (std::vector<bool>{true, false, true, false}));
}

// Removing the selection pairs the lone lead byte before it with the byte behind it,
// so the typed text goes in before that byte, away from the removal's position.
TEST(EditorUndoTest, TypingOverASelectionBehindALoneLeadByteIsStillOneStep) {
    for (bool wrap : {false, true}) {
        EditorFixture f;
        f.edit->SetWordWrap(wrap);
        const std::string text = "a\x95\r\nbc";
        f.edit->SetAllText(text);
        f.edit->SetSel(2, 0, 1, 1);
        f.edit->TypeText("X");
        EXPECT_EQ(f.edit->GetAllText(),
                  "aX\x95"
                  "c");
        f.edit->Undo();
        EXPECT_EQ(f.edit->GetAllText(), text);
        EXPECT_FALSE(f.edit->Modified());
        f.edit->Redo();
        EXPECT_EQ(f.edit->GetAllText(),
                  "aX\x95"
                  "c");
        f.edit->TypeText("Y");  // a later key is a step of its own
        f.edit->Undo();
        EXPECT_EQ(f.edit->GetAllText(),
                  "aX\x95"
                  "c");
    }
}

TEST(EditorUndoTest, UndoAfterColumnChangeUsesLogicalPositions) {
    EditorFixture f;
    f.edit->SetColumn(10);
    f.edit->SetAllText("abcdefghijklmnopqrstuvwxyz");
    f.edit->MoveCaretTo(5, 1, 0);  // logical offset 15
    f.edit->TypeText("!");
    f.edit->SetColumn(20);
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(f.edit->CaretLine(), 0);
    EXPECT_EQ(f.edit->CaretCol(), 15);
}

TEST(EditorUndoTest, BoxPayloadRoundTripAndDamage) {
    std::string payload;
    PrependBoxPiece(payload, 3, 1, "b,\r\nc");
    PrependBoxPiece(payload, 0, 0, "a");
    EXPECT_EQ(payload, "0,0,1,a3,1,5,b,\r\nc");
    std::vector<BoxPiece> pieces;
    ASSERT_TRUE(ParseBoxPayload(payload, pieces));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1].text, "b,\r\nc");
    pieces.clear();
    EXPECT_FALSE(ParseBoxPayload("1,x,1,a", pieces));
    EXPECT_FALSE(ParseBoxPayload("1,1,9,a", pieces));

    // Pieces removed from two lines come back with one undo; a damaged payload says so.
    EditorFixture f;
    f.edit->SetWordWrap(false);
    f.edit->SetAllText("abc\r\ndef");
    f.edit->SetSel(1, 0, 0, 2);
    f.edit->DeleteSelection(true, false);  // "ac"
    f.edit->SetSel(1, 1, 1, 2);
    f.edit->DeleteSelection(true, false);  // "df"
    std::string removed;
    PrependBoxPiece(removed, 1, 1, "e");
    PrependBoxPiece(removed, 1, 0, "b");
    f.edit->RecordUndo(kUndoBoxDelete, removed, 0, 1);
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "abc\r\ndef");
    f.edit->Redo();
    EXPECT_EQ(f.edit->GetAllText(), "ac\r\ndf");
    f.edit->RecordUndo(kUndoBoxDelete, "0,0,x", 0, 0);
    f.edit->Undo();
    EXPECT_EQ(f.host.messages, std::vector<std::string>{"Error:OC010_BoxUndo"});
    f.edit->TypeText("z");  // still usable
    EXPECT_EQ(f.edit->GetAllText(), "zac\r\ndf");
}

}  // namespace
}  // namespace zentabo

namespace zentabo {
namespace {

// Commands read the selection in place where the store holds it in one piece; what
// they read must be GetSelText's bytes in every case, in place or copied.
TEST(SelectionInPlace, ReadsWhatGetSelTextGives) {
    EditorFixture f;
    f.edit->SetColumn(12);
    std::string text;
    for (int i = 0; i < 40; ++i) text += "\x93\xFA\x96\x7B line " + std::to_string(i) + "\r\n";
    for (const bool wrap : {true, false}) {
        f.edit->SetWordWrap(wrap);
        f.edit->SetAllText(text);
        auto check = [&](const char* what, bool inPlace) {
            std::string storage;
            const std::string_view got = f.edit->GetSelTextInPlace(storage);
            EXPECT_EQ(got, f.edit->GetSelText()) << what << " wrap " << wrap;
            EXPECT_EQ(storage.empty(), inPlace) << what << " wrap " << wrap;
        };
        f.edit->SelectAll();
        check("all", true);
        f.edit->SetSel(3, 2, 9, 4);
        check("part", true);
        f.edit->SetSel(5, 7, 7, 1);  // backwards within one line
        check("one line", true);
        f.edit->MoveCaretTo(0, 5, 0);
        f.edit->TypeText("x");  // an edited entry between the others: copied
        f.edit->SelectAll();
        check("edited", false);
        f.edit->SetBoxSelMode(true);
        f.edit->SetSel(1, 1, 6, 4);
        check("box", false);
        f.edit->SetBoxSelMode(false);
    }
    f.edit->SetAllText("");
    f.edit->SelectAll();
    std::string storage;
    EXPECT_EQ(f.edit->GetSelTextInPlace(storage), "");
}

}  // namespace
}  // namespace zentabo
