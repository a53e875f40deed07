// What every change owes the rest of the program: an OnChange event, a redo list that
// no longer replays old text, and a cut that never loses text the clipboard refused.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

TEST(ChangeHistoryTest, CutKeepsTheTextWhenTheClipboardRefusesIt) {
    for (ClipboardWrite failure : {ClipboardWrite::BlockFailed, ClipboardWrite::OtherFailure}) {
        EditorFixture f;
        f.edit->SetAllText("hello world");
        int changes = 0;
        f.edit->OnChange = [&](TLumEdit&) { ++changes; };
        f.edit->SetSel(0, 0, 0, 5);
        f.host.clipboardFailure = failure;
        f.edit->CutToClipboard();
        EXPECT_EQ(f.edit->GetAllText(), "hello world");
        EXPECT_EQ(f.edit->GetSelText(), "hello");
        EXPECT_FALSE(f.edit->Modified());
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(f.host.messages.size(), 1u);
        f.host.clipboardFailure = ClipboardWrite::Ok;
        f.edit->CutToClipboard();
        EXPECT_EQ(f.edit->GetAllText(), " world");
        EXPECT_EQ(f.host.Clipboard(), "hello");
        EXPECT_EQ(changes, 1);
    }
}

TEST(ChangeHistoryTest, DeletingASelectionThroughTheDeleteOperationsFiresOnChange) {
    EditorFixture f;
    f.edit->SetAllText("abcdef");
    int changes = 0;
    f.edit->OnChange = [&](TLumEdit&) { ++changes; };
    f.edit->SetSel(0, 0, 0, 2);
    f.edit->DeleteForward();
    f.edit->SetSel(0, 0, 0, 2);
    f.edit->DeleteBackward();
    EXPECT_EQ(f.edit->GetAllText(), "ef");
    EXPECT_EQ(changes, 2);
}

// A change that is not journalled still outdates every record: redo (and undo) must
// not write old bytes at positions the change moved.
TEST(ChangeHistoryTest, AChangeWithoutARecordEmptiesRedoAndUndo) {
    // Typed text and a whole replacement of the selection keep their journals apart.
    for (int way = 0; way < 4; ++way) {
        const bool replacing = way >= 2;
        EditorFixture f;
        std::vector<bool> redoEvents;
        f.edit->OnChangeRedoMode = [&](TLumEdit&, bool on) { redoEvents.push_back(on); };
        f.edit->SetAllText("abc");
        f.edit->MoveCaretTo(3, 0, 0);
        f.edit->TypeText("X");
        f.edit->TypeText("Y");
        f.edit->Undo();
        ASSERT_TRUE(f.edit->RedoAvailable());
        if (way % 2 == 0)
            f.edit->UndoRec = false;
        else
            f.edit->SetUndoBuf(0);
        redoEvents.clear();
        if (replacing) {
            f.edit->SetSel(0, 0, 0, 1);
            f.edit->ReplaceSelection("12");
        } else {
            f.edit->MoveCaretTo(0, 0, 0);
            f.edit->TypeText("12");
        }
        EXPECT_TRUE(f.edit->RedoList().empty());
        EXPECT_FALSE(f.edit->RedoAvailable());
        EXPECT_EQ(redoEvents, std::vector<bool>{false});
        f.edit->UndoRec = true;
        f.edit->SetUndoBuf(0xF8000);
        f.edit->Redo();
        f.edit->Undo();
        EXPECT_EQ(f.edit->GetAllText(), replacing ? "12bcX" : "12abcX");
        EXPECT_TRUE(f.edit->Modified());
    }
}

}  // namespace
}  // namespace zentabo
