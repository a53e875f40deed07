// NUL bytes, lone CR and lone LF inside lines: they load, show, edit, undo and save as
// ordinary bytes, so a file comes back byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "EditorTestSupport.h"
#include "store/LumEditSub.h"

namespace zentabo {
namespace {

using namespace std::string_literals;

struct FileFixture : EditorFixture {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("zentabo-control-bytes-" + std::to_string(::getpid()));
    FileFixture() { std::filesystem::create_directories(dir); }
    ~FileFixture() { std::filesystem::remove_all(dir); }
    std::string Write(const std::string& bytes) {
        const std::string path = (dir / "in.txt").string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string SavedBytes() {
        const std::string path = (dir / "out.txt").string();
        EXPECT_TRUE(edit->SaveFile(path));
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

// NUL bytes, a lone CR and a lone LF inside the lines of a CR LF file.
const std::string kFile = "first\r\nab\0cd\rxy\r\nsecond\nline\r\n\0tail\0"s;
const std::string kEdited = "first\r\nacd\rxQy\r\nsecond\nline\r\n\0tZail\0"s;

TEST(ControlBytesTest, AFileWithNulAndLoneBreaksLoadsEditsUndoesAndSavesByteForByte) {
    for (bool wrap : {false, true}) {
        FileFixture f;
        f.edit->SetWordWrap(wrap);
        ASSERT_TRUE(f.edit->LoadFile(f.Write(kFile)));
        EXPECT_EQ(f.edit->LineCount(), 4);
        EXPECT_EQ(f.edit->GetAllText(), kFile);
        EXPECT_EQ(f.SavedBytes(), kFile);

        // Typing behind the NUL and the lone CR, deleting across them, and undo.
        f.edit->MoveCaretTo(7, 1, 0);  // between "x" and "y"
        EXPECT_EQ(f.edit->CaretCol(), 7);
        f.edit->TypeText("Q");
        f.edit->MoveCaretTo(1, 1, 0);
        f.edit->DeleteForward();  // "b"
        f.edit->DeleteForward();  // the NUL
        f.edit->MoveCaretTo(2, 3, 0);
        f.edit->TypeText("Z");
        EXPECT_EQ(f.edit->GetAllText(), kEdited);
        EXPECT_EQ(f.SavedBytes(), kEdited);
        while (!f.edit->UndoList().empty()) f.edit->Undo();
        EXPECT_EQ(f.edit->GetAllText(), kFile);
        EXPECT_FALSE(f.edit->Modified());
        while (!f.edit->RedoList().empty()) f.edit->Redo();
        EXPECT_EQ(f.edit->GetAllText(), kEdited);
    }
}

// With word wrap off a lone CR is a byte of its row: typing and undo on that row
// leave the line whole.
TEST(ControlBytesTest, ALoneCrWithoutWordWrapIsAnOrdinaryByte) {
    FileFixture f;
    f.edit->SetWordWrap(false);
    ASSERT_TRUE(f.edit->LoadFile(f.Write("0\r\nab\rcd\r\nef")));
    ASSERT_EQ(f.edit->LineCount(), 3);
    EXPECT_EQ(f.edit->Lines().Get(1), "ab\rcd\r\n");
    f.edit->MoveCaretTo(100, 1, 0);
    EXPECT_EQ(f.edit->CaretCol(), 5);
    f.edit->TypeText("!");
    f.edit->MoveCaretTo(3, 1, 0);
    f.edit->DeleteBackward();  // the CR itself, one byte
    EXPECT_EQ(f.edit->GetAllText(), "0\r\nabcd!\r\nef");
    f.edit->Undo();
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "0\r\nab\rcd\r\nef");
    EXPECT_EQ(f.edit->LineCount(), 3);
}

// A long run of NUL bytes cannot be cut into pieces that end with one: the wrap takes
// the run whole rather than let a piece read as the end of the text.
TEST(ControlBytesTest, WrappedPiecesNeverEndWithAMarkerByte) {
    EditorFixture f;
    f.edit->SetColumn(10);
    const std::string text = "abcdefgh" + std::string(30, '\0') + "ij\rkl\nmnopqrstuvw\r\nz";
    f.edit->SetAllText(text);
    for (int i = 0; i + 1 < f.edit->LineCount(); ++i) {
        const std::string_view s = f.edit->Lines().Get(i);
        if (EndsWithCrLf(s)) continue;
        EXPECT_TRUE(s.back() != '\0' && s.back() != '\r' && s.back() != '\n') << i;
    }
    EXPECT_EQ(f.edit->GetAllText(), text);
    f.edit->SetColumn(13);
    f.edit->SetWordWrap(false);
    EXPECT_EQ(f.edit->LineCount(), 2);
    EXPECT_EQ(f.edit->GetAllText(), text);
}

// A NUL takes one blank cell and carries a solid box, in the row and in a selection.
TEST(ControlBytesTest, ANulByteIsShownAsABlankWithABox) {
    EditorFixture f;
    f.edit->SetWordWrap(false);
    f.edit->SetAllText("a\0b"s);
    f.host.canvas.calls.clear();
    f.edit->Paint();
    auto has = [&](const std::string& call) {
        const auto& c = f.host.canvas.calls;
        return std::find(c.begin(), c.end(), call) != c.end();
    };
    EXPECT_TRUE(has("TextOut 10,4 9,4-640,22 a b 0/16777215 opaque"));
    EXPECT_TRUE(has("TextOut 34,4 34,4-640,22 [EOF] 8421376/16777215 opaque"));
    EXPECT_TRUE(has("Line 19,6-24,6 8421376 w1"));  // the top of the box over x 18..26
    EXPECT_EQ(f.edit->ColumnToPixel(0, 2), 16);
    f.host.canvas.calls.clear();
    f.edit->SetSel(0, 0, 0, 3);
    f.edit->Paint();
    EXPECT_TRUE(has("Line 19,6-24,6 8355839 w1"));  // drawn again in the selection's pen
}

}  // namespace
}  // namespace zentabo
