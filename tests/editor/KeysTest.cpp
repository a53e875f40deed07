// The key table through the headless host: movement, word classes, deletion,
// ReadOnly, insert mode, auto-indent, Shift selection and typed characters.
#include <gtest/gtest.h>

#include <random>

#include "EditorTestSupport.h"
#include "store/LumEditSub.h"

namespace zentabo {
namespace {

const std::string kHira = "\x82\xA0\x82\xA2\x82\xA4";  // three hiragana
const std::string kWideSpace = "\x81\x40";

struct Keys : EditorFixture {
    void Press(int key, std::vector<int> mods = {}) {
        host.keysDown = mods;
        edit->KeyDown(key);
        edit->KeyUp(key);
        host.keysDown.clear();
    }
    // Holding a key: key-downs without key-ups.
    void Hold(int key, int times) {
        for (int i = 0; i < times; ++i) edit->KeyDown(key);
    }
    std::string Text() const { return edit->GetAllText(); }
};

std::string ManyLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line" + std::to_string(i) + "\r\n";
    return text + "end";
}

TEST(KeysTest, WordMovementFollowsCharacterClasses) {
    Keys k;
    k.edit->SetAllText("abc" + kHira + kWideSpace + kWideSpace + "x\tyy 12");
    k.Press(vk::kRight, {vk::kControl});
    EXPECT_EQ(k.edit->CaretCol(), 3);
    k.Press(vk::kRight, {vk::kControl});
    EXPECT_EQ(k.edit->CaretCol(), 9);
    k.Press(vk::kRight, {vk::kControl});  // a run of full-width spaces (class 4)
    EXPECT_EQ(k.edit->CaretCol(), 13);
    k.Press(vk::kRight, {vk::kControl});  // "x" stops before the TAB
    EXPECT_EQ(k.edit->CaretCol(), 14);
    k.Press(vk::kRight, {vk::kControl});  // a TAB is one step
    EXPECT_EQ(k.edit->CaretCol(), 15);
    k.Press(vk::kRight, {vk::kControl});
    EXPECT_EQ(k.edit->CaretCol(), 17);
    k.Press(vk::kLeft, {vk::kControl});
    EXPECT_EQ(k.edit->CaretCol(), 15);
    k.Press(vk::kEnd);
    k.Press(vk::kLeft, {vk::kControl});
    EXPECT_EQ(k.edit->CaretCol(), 18);  // back over "12"
    k.edit->MoveCaretTo(9, 0, 0);
    k.Press(vk::kLeft, {vk::kControl});
    EXPECT_EQ(k.edit->CaretCol(), 3);
    k.Press(vk::kLeft);
    EXPECT_EQ(k.edit->CaretCol(), 2);
    k.edit->MoveCaretTo(5, 0, 0);
    k.Press(vk::kLeft);  // two bytes back over a double-byte character
    EXPECT_EQ(k.edit->CaretCol(), 3);
    EXPECT_EQ(TLumEdit::CharClass(0x889F), 2);  // kanji
    EXPECT_EQ(TLumEdit::CharClass(0x8341), 1);  // katakana
    EXPECT_EQ(TLumEdit::CharClass(0x8260), 3);  // full-width letter
    EXPECT_EQ(TLumEdit::CharClass(0xB1), 5);    // half-width katakana
}

TEST(KeysTest, WordDeletionOverMixedClasses) {
    Keys k;
    k.edit->SetAllText("abc" + kHira + "def\tg");
    k.Press(vk::kDelete, {vk::kControl});
    EXPECT_EQ(k.Text(), kHira + "def\tg");
    k.edit->MoveCaretTo(9, 0, 0);  // after "def"
    k.Press(vk::kBack, {vk::kControl});
    EXPECT_EQ(k.Text(), kHira + "\tg");
    EXPECT_EQ(k.edit->CaretCol(), 6);
    k.Press(vk::kDelete, {vk::kControl});  // on a TAB: one character
    EXPECT_EQ(k.Text(), kHira + "g");
    k.edit->Undo();
    EXPECT_EQ(k.Text(), kHira + "\tg");
    k.edit->MoveCaretTo(7, 0, 0);  // after the TAB: Ctrl+Backspace acts as Backspace
    k.Press(vk::kBack, {vk::kControl});
    EXPECT_EQ(k.Text(), kHira + "g");
    k.edit->MoveCaretTo(0, 0, 0);
    k.Press(vk::kBack, {vk::kControl});
    EXPECT_EQ(k.Text(), kHira + "g");
}

TEST(KeysTest, ReadOnlyBlocksChangesButNotMovementOrCopy) {
    Keys k;
    k.edit->SetAllText("abc\r\ndef");
    k.host.SetClipboard("zz");
    k.edit->ReadOnly = true;
    for (int key : {'V', 'X', 'Z'}) k.Press(key, {vk::kControl});
    for (int key : {vk::kDelete, vk::kBack, vk::kReturn, vk::kTab}) k.Press(key);
    k.Press(vk::kInsert, {vk::kShift});
    k.Press(vk::kDelete, {vk::kShift});
    k.edit->TypeChars("q");
    k.edit->ImeResult("\x93\xfa");
    EXPECT_EQ(k.Text(), "abc\r\ndef");
    EXPECT_TRUE(k.edit->InsertMode());
    k.Press(vk::kDown);
    k.Press(vk::kRight);
    EXPECT_EQ(k.edit->CaretLine(), 1);
    EXPECT_EQ(k.edit->CaretCol(), 1);
    k.Press('A', {vk::kControl});
    EXPECT_TRUE(k.edit->AllSelected());
    k.Press('C', {vk::kControl});
    EXPECT_EQ(k.host.Clipboard(), "abc\r\ndef");
}

TEST(KeysTest, ClipboardUndoAndInsertKeys) {
    Keys k;
    k.edit->SetAllText("hello");
    bool insMode = true;
    k.edit->OnChangeInsMode = [&](TLumEdit&, bool mode) { insMode = mode; };
    k.Press(vk::kRight, {vk::kShift});
    k.Press(vk::kRight, {vk::kShift});
    EXPECT_EQ(k.edit->GetSelText(), "he");
    k.Press(vk::kInsert, {vk::kControl, vk::kShift});  // copies, then pastes over the selection
    EXPECT_EQ(k.host.Clipboard(), "he");
    EXPECT_EQ(k.Text(), "hello");
    k.Press(vk::kHome);
    k.Press(vk::kEnd, {vk::kShift});
    k.Press('X', {vk::kControl});
    EXPECT_EQ(k.Text(), "");
    k.Press('Z', {vk::kControl});
    EXPECT_EQ(k.Text(), "hello");
    k.Press(vk::kInsert);
    EXPECT_FALSE(insMode);
    EXPECT_FALSE(k.edit->InsertMode());
    k.edit->SetAllText(kHira);
    k.edit->SetInsertMode(false);
    k.edit->TypeChars("A");  // over a double-byte character: "A" and a blank
    EXPECT_EQ(k.Text(), "A \x82\xA2\x82\xA4");
}

TEST(KeysTest, AutoIndentCopiesBlanksButNotFullWidthSpaces) {
    Keys k;
    k.edit->AutoIndent = true;
    k.edit->SetAllText("\t\tabc");
    k.Press(vk::kEnd);
    k.Press(vk::kReturn);
    EXPECT_EQ(k.Text(), "\t\tabc\r\n\t\t");
    EXPECT_EQ(k.edit->CaretLine(), 1);
    EXPECT_EQ(k.edit->CaretCol(), 2);
    k.edit->SetAllText(kWideSpace + "abc");
    k.Press(vk::kEnd);
    k.Press(vk::kReturn);
    EXPECT_EQ(k.Text(), kWideSpace + "abc\r\n");
    k.Press(vk::kTab);
    EXPECT_EQ(k.Text(), kWideSpace + "abc\r\n\t");
}

TEST(KeysTest, ShiftExtendsAcrossAWrappedLineAndPlainMovesClear) {
    Keys k;
    k.edit->SetColumn(10);
    k.edit->SetAllText("abcdefghijklmno");
    ASSERT_EQ(k.edit->LineCount(), 2);
    k.edit->MoveCaretTo(9, 0, 0);
    k.Press(vk::kRight, {vk::kShift});
    EXPECT_EQ(k.edit->CaretLine(), 1);
    EXPECT_EQ(k.edit->CaretCol(), 0);
    EXPECT_TRUE(k.edit->SelActive());
    EXPECT_EQ(k.edit->GetSelText(), "j");
    k.Press(vk::kRight, {vk::kShift});
    EXPECT_EQ(k.edit->GetSelText(), "jk");
    k.Press(vk::kLeft);
    EXPECT_FALSE(k.edit->SelActive());
    EXPECT_EQ(k.edit->CaretLine(), 1);
    EXPECT_EQ(k.edit->CaretCol(), 0);
    k.Press(vk::kLeft);  // back onto the wrapped line, before its last character
    EXPECT_EQ(k.edit->CaretLine(), 0);
    EXPECT_EQ(k.edit->CaretCol(), 9);
    k.Press(vk::kEnd, {vk::kControl, vk::kShift});
    EXPECT_EQ(k.edit->GetSelText(), "jklmno");
    k.Press(vk::kHome, {vk::kControl});
    EXPECT_FALSE(k.edit->SelActive());
    EXPECT_EQ(k.edit->CaretLine(), 0);
}

TEST(KeysTest, DownAtTheBottomEdgeSpeedsUpAfterFiveSteps) {
    Keys k;
    k.edit->SetAllText(ManyLines(300));
    k.Hold(vk::kDown, 17);  // rows 0..17: the caret reaches the margin
    EXPECT_EQ(k.edit->CaretLine(), 17);
    EXPECT_EQ(k.edit->TopLine(), 0);
    std::vector<int> steps;
    for (int i = 0; i < 8; ++i) {
        int top = k.edit->TopLine();
        k.edit->KeyDown(vk::kDown);
        steps.push_back(k.edit->TopLine() - top);
        EXPECT_EQ(k.edit->CaretLine() - k.edit->TopLine(), 17);
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 1, 1, 1, 1, 2, 2, 2}));
    k.edit->KeyUp(vk::kDown);
    EXPECT_EQ(k.edit->ScrollRepeat(), 0);
    k.edit->KeyDown(vk::kDown);
    EXPECT_EQ(k.edit->CaretLine() - k.edit->TopLine(), 17);
    // Up moves the caret until the top margin, then the view.
    k.Hold(vk::kUp, 13);
    EXPECT_EQ(k.edit->CaretLine() - k.edit->TopLine(), 4);
    int top = k.edit->TopLine();
    k.edit->KeyDown(vk::kUp);
    EXPECT_EQ(k.edit->TopLine(), top - 1);
}

TEST(KeysTest, PagesAndTheLastPage) {
    Keys k;
    k.edit->SetAllText(ManyLines(60));
    k.edit->MoveCaretTo(2, 3, 0);
    k.Press(vk::kNext);
    EXPECT_EQ(k.edit->TopLine(), 22);
    EXPECT_EQ(k.edit->CaretLine(), 25);
    k.Press(vk::kNext);  // only 21 lines left to scroll, the caret still moves a page
    EXPECT_EQ(k.edit->TopLine(), k.edit->MaxTopLine());
    EXPECT_EQ(k.edit->CaretLine(), 47);
    k.Press(vk::kNext);  // on the last page: the caret moves instead of the view
    EXPECT_EQ(k.edit->TopLine(), k.edit->MaxTopLine());
    EXPECT_EQ(k.edit->CaretLine(), 60);
    k.Press(vk::kPrior);
    EXPECT_EQ(k.edit->TopLine(), k.edit->MaxTopLine() - 22);
    k.Press(vk::kHome, {vk::kControl});
    k.Press(vk::kPrior);  // at the top: the caret stays on the first line
    EXPECT_EQ(k.edit->CaretLine(), 0);
    k.Press(vk::kEnd, {vk::kControl});
    EXPECT_EQ(k.edit->CaretLine(), 60);
    EXPECT_EQ(k.edit->CaretCol(), 3);
    EXPECT_EQ(k.edit->TopLine(), k.edit->MaxTopLine());
    EXPECT_EQ(k.host.vertical.pos, k.edit->MaxTopLine());
}

TEST(KeysTest, VerticalMovesKeepTheGoalColumnAndScrollSideways) {
    Keys k;
    k.edit->SetWordWrap(false);
    k.edit->SetAllText("abcdefgh\r\nab\r\n\tcdefgh\r\n" + std::string(300, 'x'));
    k.edit->MoveCaretTo(7, 0, 0);
    k.Press(vk::kDown);
    EXPECT_EQ(k.edit->CaretCol(), 2);
    k.Press(vk::kDown);  // the TAB is six cells wide: x 56 lies after "\tc"
    EXPECT_EQ(k.edit->CaretCol(), 2);
    k.Press(vk::kEnd);
    k.Press(vk::kDown);
    EXPECT_EQ(k.edit->CaretCol(), 12);
    k.Press(vk::kEnd);
    EXPECT_EQ(k.edit->CaretCol(), 300);
    EXPECT_EQ(k.edit->HorzOffset(), 2400 - 630 + 10);
    EXPECT_GE(k.edit->CaretX(), 0);
    EXPECT_LE(k.edit->CaretX(), 630 - 10);
    k.Press(vk::kUp);  // the row's end lies left of the view: it scrolls back
    EXPECT_EQ(k.edit->HorzOffset(), 0);
    k.Press(vk::kHome);
    k.Press(vk::kLeft);
    EXPECT_EQ(k.edit->CaretLine(), 1);
    EXPECT_EQ(k.edit->CaretCol(), 2);
}

TEST(KeysTest, TypedCharactersAndKeyHandlers) {
    Keys k;
    k.edit->TypeChars("a\x82\xA0\x01\x7F\x82");  // controls and a lone lead byte dropped
    EXPECT_EQ(k.Text(), "a\x82\xA0");
    k.edit->Perform(WM_CHAR, 0x8C8E, 0);  // a double-byte character, whole
    k.edit->Perform(WM_CHAR, 'b', 0);
    EXPECT_EQ(k.Text(),
              "a\x82\xA0\x8C\x8E"
              "b");
    k.host.keysDown = {vk::kControl};
    k.edit->TypeChars("c");
    k.host.keysDown.clear();
    EXPECT_EQ(k.Text(),
              "a\x82\xA0\x8C\x8E"
              "b");
    k.edit->OnKeyDown = [](TLumEdit&, int& key) {
        if (key == vk::kBack) key = 0;
    };
    k.Press(vk::kBack);
    EXPECT_EQ(k.Text(),
              "a\x82\xA0\x8C\x8E"
              "b");
    k.edit->OnKeyPress = [](TLumEdit&, char& c) {
        if (c == 'x') c = 0;
    };
    k.edit->TypeChars("xyx");
    EXPECT_EQ(k.Text(),
              "a\x82\xA0\x8C\x8E"
              "by");
    int changes = 0;
    k.edit->OnChange = [&](TLumEdit&) { ++changes; };
    k.edit->ImeResult("\x93\xfa\x96\x7b\x8c\xea");
    EXPECT_EQ(k.Text(),
              "a\x82\xA0\x8C\x8E"
              "by\x93\xfa\x96\x7b\x8c\xea");
    EXPECT_EQ(changes, 1);
    k.edit->Undo();
    EXPECT_EQ(k.Text(),
              "a\x82\xA0\x8C\x8E"
              "by");
}

// The handler sees every character before ReadOnly and Ctrl are looked at, and the
// character it leaves is the one typed.
TEST(KeysTest, KeyPressComesFirstAndItsCharacterIsTyped) {
    Keys k;
    std::string seen;
    k.edit->OnKeyPress = [&](TLumEdit&, char& c) {
        seen += c;
        if (c == 'a') c = 'b';
        if (c == 'q') c = 0;
    };
    k.edit->ReadOnly = true;
    k.edit->TypeChars("x");
    k.edit->ReadOnly = false;
    k.host.keysDown = {vk::kControl};
    k.edit->TypeChars("y");
    k.host.keysDown.clear();
    EXPECT_EQ(k.Text(), "");
    k.edit->TypeChars("aq\x82\xA0z");
    EXPECT_EQ(seen, "xyaq\x82z");  // a trail byte rides with its lead
    EXPECT_EQ(k.Text(), "b\x82\xA0z");
}

// Wherever a caret lands inside the text, it is never between lead and trail byte.
TEST(KeysTest, FreeCaretNeverStandsOnATrailByte) {
    Keys k;
    k.edit->SetWordWrap(false);
    k.edit->SetFreeCaretMode(true);
    k.edit->SetAllText("\x82\xA0\x82\xA2\r\nabcd");
    k.edit->MoveCaretTo(1, 0, 0);
    EXPECT_EQ(k.edit->CaretCol(), 0);
    k.edit->MoveCaretTo(3, 1, 0);
    k.Press(vk::kUp);  // column 3 of "abcd" lies inside the second character
    EXPECT_EQ(k.edit->CaretCol() % 2, 0);
    k.edit->Perform(EM_SETSEL, 0, MakeLong(3, 0));
    EXPECT_EQ(k.edit->CaretCol() % 2, 0);
    k.edit->MoveCaretTo(3, 0, 0);
    k.edit->TypeChars("x");
    EXPECT_EQ(k.Text(), "\x82\xA0x\x82\xA2\r\nabcd");
    k.edit->MoveCaretTo(7, 0, 0);  // beyond the text stays free
    EXPECT_EQ(k.edit->CaretCol(), 7);
}

TEST(KeysTest, FreeCaretStepsIntoTheBlankArea) {
    Keys k;
    k.edit->SetWordWrap(false);
    k.edit->SetFreeCaretMode(true);
    k.edit->SetAllText("ab\r\ncd");
    k.Press(vk::kEnd);
    k.Press(vk::kRight);
    k.Press(vk::kRight);
    EXPECT_EQ(k.edit->CaretLine(), 0);
    EXPECT_EQ(k.edit->CaretCol(), 4);
    k.edit->TypeChars("z");
    EXPECT_EQ(k.Text(), "ab  z\r\ncd");
    for (int i = 0; i < 200; ++i) k.Press(vk::kRight);  // stops at the free-caret limit
    EXPECT_LT(k.edit->CaretCol(), 80);
    k.Press(vk::kLeft);
    EXPECT_EQ(k.edit->CaretLine(), 0);
}

// What must hold after any key: the store's rules, the caret on a character boundary
// inside the text, the view inside its range.
std::string CheckState(const TLumEdit& e) {
    const int count = e.LineCount();
    for (int i = 0; i < count; ++i) {
        const std::string_view s = e.Lines().Get(i);
        const bool last = i == count - 1;
        if (last != HasEndMark(s)) return "end mark on line " + std::to_string(i);
        // A lone CR, LF or NUL is text; a piece never ends with one.
        if (!last && !EndsWithCrLf(s) &&
            (s.empty() || s.back() == '\r' || s.back() == '\n' || s.back() == '\0'))
            return "piece ending with a marker byte in line " + std::to_string(i);
        if (!last && !e.WordWrap() && !EndsWithCrLf(s)) return "unbroken line " + std::to_string(i);
    }
    if (e.CaretLine() < 0 || e.CaretLine() >= count) return "caret line";
    const std::string_view s = e.Lines().Get(e.CaretLine());
    const int len = static_cast<int>(StripLineEnd(s).size());
    if (e.CaretCol() < 0 || (!e.FreeCaretMode() && e.CaretCol() > len)) return "caret column";
    if (e.CaretCol() > 0 && e.CaretCol() < len &&
        ByteTypeAt(s, e.CaretCol() + 1, false) == kTrailByte)
        return "caret on a trail byte";
    if (e.TopLine() < 0 || e.TopLine() > std::max(e.MaxTopLine(), 0)) return "top line";
    if (e.HorzOffset() < 0) return "horizontal offset";
    return {};
}

TEST(KeysTest, RandomKeysKeepTheStoreAndUndoBackToTheStart) {
    const int keys[] = {vk::kBack,  vk::kTab,  vk::kReturn, vk::kEscape,   vk::kPrior,
                        vk::kNext,  vk::kEnd,  vk::kHome,   vk::kLeft,     vk::kUp,
                        vk::kRight, vk::kDown, vk::kInsert, vk::kDelete,   'A',
                        'C',        'V',       'X',         vk::kOemComma, vk::kOemPeriod};
    const std::string start = "ab\x82\xA0\tc\r\n\r\n" + kWideSpace + "xyz " + kHira + "\r\nend";
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        Keys k;
        k.host.SetClientSize(static_cast<int>(rng() % 3) * 150, static_cast<int>(rng() % 3) * 60);
        k.edit->Resize();
        k.edit->SetWordWrap(seed % 2 == 0);
        k.edit->SetColumn(10);
        k.edit->SetFreeCaretMode(seed % 3 == 0);
        k.edit->AutoIndent = seed % 4 < 2;
        k.edit->CaretScrollFix = seed % 5 == 0;
        k.edit->SetAllText(start);
        k.host.SetClipboard("p\r\nq\x82");
        for (int step = 0; step < 400; ++step) {
            const unsigned r = rng();
            std::vector<int> mods;
            if (r & 1) mods.push_back(vk::kShift);
            if ((r & 6) == 6) mods.push_back(vk::kControl);
            if (r % 7 == 0) {
                std::string bytes;
                for (unsigned n = rng() % 4; n > 0; --n) bytes += static_cast<char>(rng());
                if (r & 8)
                    k.edit->ImeResult(bytes);
                else
                    k.edit->TypeChars(bytes);
            } else if (r % 11 == 0) {
                k.edit->VScroll(static_cast<int>(rng() % 9), static_cast<int>(rng() % 20));
            } else {
                k.Press(keys[rng() % std::size(keys)], mods);
            }
            std::string problem = CheckState(*k.edit);
            ASSERT_TRUE(problem.empty()) << "seed " << seed << " step " << step << ": " << problem;
        }
        EXPECT_TRUE(k.host.messages.empty()) << "seed " << seed << ": " << k.host.messages[0];
        EXPECT_GT(k.edit->UndoList().size(), 10u) << "seed " << seed;
        while (!k.edit->UndoList().empty()) k.edit->Undo();
        EXPECT_EQ(k.Text(), start) << "seed " << seed;
    }
}

}  // namespace
}  // namespace zentabo
