// The input method's view of the text (what it reads around the caret, in UTF-16
// units), reconversion of the selection, and the ranges it replaces, through the
// headless host.
#include <gtest/gtest.h>

#include <random>

#include "EditorTestSupport.h"
#include "store/Cp932Codec.h"
#include "store/LumEditSub.h"

namespace zentabo {
namespace {

const std::string kNihongo = "\x93\xfa\x96\x7b\x8c\xea";           // 日本語
const std::string kKatakana = "\x83\x6a\x83\x7a\x83\x93\x83\x53";  // ニホンゴ
const std::string kA = "\x82\xa0";                                 // あ
const std::string kI = "\x82\xa2";                                 // い

std::u16string Selected(const TLumEdit::ImeSurrounding& s) {
    const int from = std::min(s.cursor, s.anchor);
    return s.text.substr(from, std::max(s.cursor, s.anchor) - from);
}

TEST(ImeTest, SurroundingTextDescribesExactlyTheSelectedBytes) {
    EditorFixture f;
    TLumEdit& e = *f.edit;
    // Across a logical line break, in either direction.
    e.SetAllText(
        "ab\x93\xfa\x96\x7b\r\n\x8c\xea"
        "cd\r\nxyz");
    e.SetSel(2, 0, 1, 2);
    TLumEdit::ImeSurrounding s = e.ImeSurroundingText();
    EXPECT_EQ(s.text, u"ab日本\r\n語cd");
    EXPECT_EQ(s.anchor, 2);
    EXPECT_EQ(s.cursor, 7);
    e.SetSel(2, 1, 0, 2);
    s = e.ImeSurroundingText();
    EXPECT_EQ(s.cursor, 2);
    EXPECT_EQ(Selected(s), u"日本\r\n語");

    // Across a soft line break: the whole logical line, the selection inside it.
    e.SetColumn(10);
    e.SetWordWrap(true);
    e.SetAllText("abcdefgh" + kNihongo + "xy");
    ASSERT_EQ(e.LineCount(), 2);
    e.SetSel(8, 0, 1, 4);
    s = e.ImeSurroundingText();
    EXPECT_EQ(s.text, u"abcdefgh日本語xy");
    EXPECT_EQ(s.anchor, 8);
    EXPECT_EQ(s.cursor, 11);

    // Nothing is offered in box mode or while a composition is open.
    e.SetBoxSelMode(true);
    e.SetSel(8, 0, 1, 4);
    s = e.ImeSurroundingText();
    EXPECT_EQ(s.anchor, s.cursor);
    e.SetBoxSelMode(false);
    e.SetSel(8, 0, 1, 4);
    e.ImeStartComposition();
    EXPECT_EQ(e.ImeSurroundingText().anchor, e.ImeSurroundingText().cursor);
    e.ImeEndComposition();
    EXPECT_EQ(Selected(e.ImeSurroundingText()), u"日本語");
}

TEST(ImeTest, LongTextIsCutAroundTheCaretBetweenCharacters) {
    EditorFixture f;
    TLumEdit& e = *f.edit;
    e.SetWordWrap(false);
    std::string half;
    for (int i = 0; i < 2500; ++i) half += kA;
    e.SetAllText(half + "a" + half);
    e.MoveCaretTo(5001, 0, 0);
    TLumEdit::ImeSurrounding s = e.ImeSurroundingText();
    EXPECT_LE(s.text.size(), 4001u);
    EXPECT_EQ(s.text.find(u'\xFFFD'), std::u16string::npos);
    ASSERT_GT(s.cursor, 0);
    EXPECT_EQ(s.text[s.cursor - 1], u'a');
    EXPECT_EQ(s.anchor, s.cursor);
    // A selection too long to hand over is not offered.
    e.SelectAll();
    s = e.ImeSurroundingText();
    EXPECT_EQ(s.anchor, s.cursor);
    EXPECT_LE(s.text.size(), 4001u);
}

TEST(ImeTest, ReconvertedSelectionIsReplacedByTheCandidateInOneStep) {
    EditorFixture f;
    TLumEdit& e = *f.edit;
    int requests = 0;
    e.OnIMEReConvert = [&](TLumEdit&) { ++requests; };
    e.IMEReconvMode = imrManual;
    for (const bool insert : {true, false}) {
        e.SetAllText(kA + kNihongo + kI);
        e.SetInsertMode(insert);
        e.SetSel(2, 0, 0, 8);  // left to right: the caret stands at the end
        e.ImeDeleteSurrounding(0, 0);
        // The caret goes to the selection's start; the selection stays.
        EXPECT_EQ(e.CaretCol(), 2);
        EXPECT_EQ(e.GetSelText(), kNihongo);
        e.ImeStartComposition();
        e.ImeCommit(kKatakana, 0, 0);
        e.ImeEndComposition();
        // Overwrite mode too: the text behind the selection stays.
        EXPECT_EQ(e.GetAllText(), kA + kKatakana + kI);
        e.Undo();
        EXPECT_EQ(e.GetAllText(), kA + kNihongo + kI);
    }
    EXPECT_EQ(requests, 2);

    // An input method that counts the selection in deletes exactly it: the same.
    e.SetInsertMode(true);
    e.SetSel(2, 0, 0, 8);
    e.ImeDeleteSurrounding(-3, 3);
    EXPECT_EQ(e.GetAllText(), kA + kNihongo + kI);
    EXPECT_EQ(requests, 3);

    // Box mode and an open composition offer nothing.
    e.SetBoxSelMode(true);
    e.SetSel(2, 0, 0, 8);
    e.ImeDeleteSurrounding(0, 0);
    EXPECT_EQ(e.CaretCol(), 8);
    e.SetBoxSelMode(false);
    e.SetSel(2, 0, 0, 8);
    e.ImeStartComposition();
    e.ImeDeleteSurrounding(0, 0);
    e.ImeEndComposition();
    EXPECT_EQ(e.CaretCol(), 8);
    EXPECT_EQ(requests, 3);
    e.IMEReconvMode = imrAuto;
    e.ImeDeleteSurrounding(0, 0);
    EXPECT_EQ(requests, 3);
    EXPECT_EQ(e.CaretCol(), 2);
}

TEST(ImeTest, ReplacementRangesStayInsideTheText) {
    EditorFixture f;
    TLumEdit& e = *f.edit;
    e.SetAllText(kNihongo);
    e.MoveCaretTo(6, 0, 0);
    e.ImeDeleteSurrounding(-1, 1);
    EXPECT_EQ(e.GetAllText(), kNihongo.substr(0, 4));
    e.ImeCommit("x", -1, 1);
    EXPECT_EQ(e.GetAllText(), kNihongo.substr(0, 2) + "x");

    // With a selection the range counts from its start, the selection taken out,
    // and what it covers is replaced together with the selection.
    e.SetAllText("abc" + kNihongo.substr(0, 4) + "def");
    e.SetSel(3, 0, 0, 7);
    e.ImeCommit("X", -1, 1);
    EXPECT_EQ(e.GetAllText(), "abXdef");
    e.Undo();
    EXPECT_EQ(e.GetAllText(), "abc" + kNihongo.substr(0, 4) + "def");

    // Outside the text: nothing is deleted, the commit goes in at the caret.
    e.SetAllText("abc");
    e.MoveCaretTo(1, 0, 0);
    e.ImeCommit("x", -5, 2);
    e.ImeCommit("", 2, 10);
    e.ImeDeleteSurrounding(-5, 1);
    EXPECT_EQ(e.GetAllText(), "axbc");

    e.ReadOnly = true;
    e.ImeCommit("y", -1, 1);
    e.ImeDeleteSurrounding(-1, 1);
    EXPECT_EQ(e.GetAllText(), "axbc");
}

// Whatever an input method sends, in any order, over wrapped double-byte text: the
// store keeps its rules, what it reads stays inside the text and never cuts a
// character, and undo goes back to the start.
TEST(ImeTest, RandomInputMethodTrafficKeepsTheTextWhole) {
    const std::string start = "ab" + kNihongo + "\tc\r\n\r\n" + kA + "xyz " + kI + kA + "\r\nend";
    const std::string pieces[] = {"", "x", kKatakana, "\r\n", kA + "q", std::string(30, 'w')};
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 rng(seed);
        EditorFixture f;
        TLumEdit& e = *f.edit;
        e.SetColumn(7);
        e.SetWordWrap(seed % 2 == 0);
        e.SetInsertMode(seed % 3 != 0);
        e.IMEReconvMode = seed % 4 == 0 ? imrManual : imrAuto;
        e.OnIMEReConvert = [](TLumEdit&) {};
        e.SetAllText(start);
        for (int step = 0; step < 300; ++step) {
            const int line = static_cast<int>(rng() % static_cast<unsigned>(e.LineCount()));
            const int a = static_cast<int>(rng() % 12) - 6, b = static_cast<int>(rng() % 12) - 3;
            switch (rng() % 8) {
                case 0:
                    e.SetSel(static_cast<int>(rng() % 9), line, static_cast<int>(rng() % 4),
                             static_cast<int>(rng() % 9));
                    break;
                case 1:
                    e.MoveCaretTo(static_cast<int>(rng() % 9), line, 0);
                    break;
                case 2:
                    e.SetBoxSelMode(!e.BoxSelMode());
                    break;
                case 3:
                    if (e.IMEComposing())
                        e.ImeEndComposition();
                    else
                        e.ImeStartComposition();
                    break;
                case 4:
                    e.ImeDeleteSurrounding(a, b);
                    break;
                default:
                    e.ImeCommit(pieces[rng() % std::size(pieces)], a, b);
                    break;
            }
            const TLumEdit::ImeSurrounding s = e.ImeSurroundingText();
            ASSERT_TRUE(s.cursor >= 0 && s.anchor >= 0 &&
                        std::max(s.cursor, s.anchor) <= static_cast<int>(s.text.size()))
                << "seed " << seed << " step " << step;
            ASSERT_EQ(s.text.find(u'\xFFFD'), std::u16string::npos) << "seed " << seed;
            ASSERT_TRUE(HasEndMark(e.Lines().Get(e.LineCount() - 1))) << "seed " << seed;
            const std::string_view caretLine = e.Lines().Get(e.CaretLine());
            ASSERT_FALSE(e.CaretCol() > 0 &&
                         e.CaretCol() < static_cast<int>(StripLineEnd(caretLine).size()) &&
                         ByteTypeAt(caretLine, e.CaretCol() + 1, false) == kTrailByte)
                << "seed " << seed << " step " << step;
        }
        EXPECT_TRUE(f.host.messages.empty()) << "seed " << seed;
        EXPECT_GT(e.UndoList().size(), 20u) << "seed " << seed;
        while (!e.UndoList().empty()) e.Undo();
        EXPECT_EQ(e.GetAllText(), start) << "seed " << seed;
    }
}

}  // namespace
}  // namespace zentabo
