// Properties, whole-text operations, the clipboard and the edit messages.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "EditorTestSupport.h"
#include "store/LumEditSub.h"

namespace zentabo {
namespace {

const std::string kNul(1, '\0');

TEST(EditorStateTest, NewControlHoldsOneEndMarkAndDefaults) {
    EditorFixture f;
    EXPECT_EQ(f.Lines(), std::vector<std::string>{kNul});
    EXPECT_EQ(f.edit->GetAllText(), "");
    EXPECT_EQ(f.edit->Perform(EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_TRUE(f.edit->WordWrap());
    EXPECT_EQ(f.edit->Column(), 72);
    EXPECT_EQ(f.edit->TabCount(), 6);
    EXPECT_EQ(f.edit->UndoBuf(), 0xF8000);
    EXPECT_EQ(f.edit->LineHeight(), 18);  // 16 + 10 % of 16, 1.6 rounded to 2
    EXPECT_EQ(f.edit->Version(), "TLumEdit Ver1.36");
}

TEST(EditorStateTest, SettersClamp) {
    EditorFixture f;
    f.edit->SetColumn(5);
    EXPECT_EQ(f.edit->Column(), 10);
    f.edit->SetTabCount(0);
    EXPECT_EQ(f.edit->TabCount(), 1);
    f.edit->SetTabCount(12);
    EXPECT_EQ(f.edit->TabCount(), 8);
    f.edit->SetVertScrollLimit(80);
    EXPECT_EQ(f.edit->VertScrollLimit(), 50);
    f.edit->SetVertScrollLimit(-1);
    EXPECT_EQ(f.edit->VertScrollLimit(), 0);
    f.edit->SetTopMargin(40);
    EXPECT_EQ(f.edit->TopMargin(), 30);
    f.edit->SetTopMargin(4);
    f.edit->SetShowRuler(true);
    EXPECT_EQ(f.edit->TopMargin(), 11);
    f.edit->SetLineNoColumn(9);
    EXPECT_EQ(f.edit->LineNoColumn(), 5);
    f.edit->SetLineSpaceUnit(uPixel);
    EXPECT_EQ(f.edit->LineHeight(), 26);
}

TEST(EditorStateTest, SetAllTextSplitsOnlyAtCrLfAndKeepsEveryByte) {
    EditorFixture f;
    f.edit->SetAllText("a\r\n");
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"a\r\n", kNul}));
    // Lone CR, lone LF and NUL bytes are bytes of their line, a final NUL too.
    for (bool wrap : {true, false}) {
        f.edit->SetWordWrap(wrap);
        const std::string text("a\rb\nc\0d\r\n\0", 10);
        f.edit->SetAllText(text);
        EXPECT_EQ(f.edit->GetAllText(), text);
        EXPECT_EQ(f.Lines(), (std::vector<std::string>{std::string("a\rb\nc\0d\r\n", 9),
                                                       std::string(2, '\0')}));
    }
    // Pasted text brings its own breaks: those become CR LF; a NUL stays.
    f.host.SetClipboard(std::string("x\ny\rz\0", 6));
    f.edit->MoveCaretTo(0, 0, 0);
    f.edit->PasteFromClipboard();
    EXPECT_EQ(f.edit->GetAllText().substr(0, 9), std::string("x\r\ny\r\nz\0a", 9));
}

TEST(EditorStateTest, SelectAllOnEmptyTextDoesNothing) {
    EditorFixture f;
    int events = 0;
    f.edit->OnSelectionChange = [&](TLumEdit&) { ++events; };
    f.edit->SelectAll();
    EXPECT_FALSE(f.edit->AllSelected());
    EXPECT_EQ(events, 0);
    f.edit->SetAllText("ab\r\ncd");
    f.edit->SelectAll();
    EXPECT_TRUE(f.edit->AllSelected());
    EXPECT_EQ(events, 1);
    EXPECT_EQ(f.edit->GetSelText(), "ab\r\ncd");
}

TEST(EditorStateTest, ClearEmptiesWholeTextAndHistory) {
    EditorFixture f;
    f.edit->SetAllText("abc\r\ndef");
    f.edit->SetSel(1, 0, 0, 2);
    f.edit->TypeText("x");
    ASSERT_FALSE(f.edit->UndoList().empty());
    f.edit->Perform(WM_CLEAR, 0, 0);
    EXPECT_EQ(f.edit->GetAllText(), "");
    EXPECT_TRUE(f.edit->UndoList().empty());
    EXPECT_FALSE(f.edit->Modified());
}

TEST(EditorStateTest, SetSelBehindLineBreakMovesToNextLine) {
    EditorFixture f;
    f.edit->SetAllText("abc\r\ndef");
    f.edit->SetSel(1, 0, 0, 5);
    EXPECT_EQ(f.edit->CaretLine(), 1);
    EXPECT_EQ(f.edit->CaretCol(), 0);
    EXPECT_EQ(f.edit->GetSelText(), "bc\r\n");
}

TEST(EditorStateTest, EditMessagesAnswerAsTheEditControl) {
    EditorFixture f;
    f.edit->SetAllText("abc\r\nde");
    f.edit->Perform(EM_SETSEL, MakeLong(1, 0), MakeLong(2, 1));
    uint32_t start = 0, end = 0;
    intptr_t len = f.edit->Perform(EM_GETSEL, reinterpret_cast<uintptr_t>(&start),
                                   reinterpret_cast<intptr_t>(&end));
    EXPECT_EQ(start, MakeLong(1, 0));
    EXPECT_EQ(end, MakeLong(2, 1));
    EXPECT_EQ(len, 6);  // "bc" CR LF "de"

    EXPECT_EQ(f.edit->Perform(WM_GETTEXTLENGTH, 0, 0), 8);  // the end NUL counts
    char buffer[6];
    EXPECT_EQ(f.edit->Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<intptr_t>(buffer)), 5);
    EXPECT_STREQ(buffer, "abc\r\n");

    EXPECT_EQ(f.edit->Perform(EM_LINELENGTH, 0, 0), 5);
    EXPECT_EQ(f.edit->Perform(EM_LINELENGTH, 9, 0), 0);
    char line[16] = {};
    uint16_t size = 3;
    std::memcpy(line, &size, sizeof size);
    EXPECT_EQ(f.edit->Perform(EM_GETLINE, 0, reinterpret_cast<intptr_t>(line)), 3);
    EXPECT_EQ(std::string(line, 3), "abc");
    EXPECT_EQ(f.edit->Perform(EM_GETLINE, 5, reinterpret_cast<intptr_t>(line)), 0);
}

TEST(EditorStateTest, ClipboardCopyCutPasteAndFailures) {
    EditorFixture f;
    f.edit->SetAllText("hello world");
    f.edit->SetSel(0, 0, 0, 5);
    f.edit->Perform(WM_COPY, 0, 0);
    EXPECT_EQ(f.host.Clipboard(), "hello");

    f.host.clipboardFailure = ClipboardWrite::BlockFailed;
    f.edit->CopyToClipboard();
    f.host.clipboardFailure = ClipboardWrite::OtherFailure;
    f.edit->CopyToClipboard();
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"Error:OC002", "Error:OC007"}));
    EXPECT_EQ(f.edit->GetAllText(), "hello world");
    f.host.clipboardFailure = ClipboardWrite::Ok;

    int changes = 0;
    f.edit->OnChange = [&](TLumEdit&) { ++changes; };
    f.edit->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(f.edit->GetAllText(), " world");
    f.host.SetClipboard("a\nb");
    f.edit->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(f.edit->GetAllText(), "a\r\nb world");
    EXPECT_EQ(changes, 2);
}

TEST(EditorStateTest, FilesRoundTripAndFailuresAnswerFalse) {
    EditorFixture f;
    // A private folder: a fixed name would collide with another user's test run.
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zentabo-editor-state-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path dir = pattern;
    const auto path = dir / "state.txt";
    f.edit->SetAllText("one\r\ntwo");
    ASSERT_TRUE(f.edit->SaveFile(path.string()));
    f.edit->SetAllText("");
    ASSERT_TRUE(f.edit->LoadFile(path.string()));
    EXPECT_EQ(f.edit->GetAllText(), "one\r\ntwo");
    EXPECT_FALSE(f.edit->Modified());
    std::filesystem::remove_all(dir);
    EXPECT_FALSE(f.edit->LoadFile((path / "missing").string()));
    EXPECT_FALSE(f.edit->SaveFile("/nonexistent-dir/x.txt"));
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_TRUE(HasEndMark(f.edit->Lines().Get(f.edit->LineCount() - 1)));
}

}  // namespace
}  // namespace zentabo
