// Replace runs: counting, continuing behind the inserted text, selection limits,
// the confirmation flags, undo, and the layout afterwards.
#include <gtest/gtest.h>

#include <random>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

struct ReplaceFixture : EditorFixture {
    // Answers of the confirmation handler, one per call; "y" yes, "n" no, "a" abort,
    // "*" stop asking. Nothing left answers yes.
    std::string answers;
    int asked = 0;
    int endCount = -1;

    ReplaceFixture() {
        edit->OnFind = [](TLumEdit&, const std::string& str, const std::string& f, int, int& x,
                          int&) {
            const size_t p = str.find(f);
            x = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
        };
        edit->OnFindChange = [this](TLumEdit&, const std::string&, const std::string&, int, int,
                                    int, int, bool& changeF, bool& kakuninF, bool& abortF) {
            const char a = asked < static_cast<int>(answers.size()) ? answers[asked] : 'y';
            ++asked;
            if (a == 'n') changeF = false;
            if (a == 'a') abortF = true;
            if (a == '*') kakuninF = false;
        };
        edit->OnFindChangeEnd = [this](TLumEdit&, const std::string&, const std::string&,
                                       int count) { endCount = count; };
    }
};

// The layout a fresh control gives the same text.
std::vector<std::string> FreshLayout(const std::string& text, int column) {
    EditorFixture g;
    g.edit->SetColumn(column);
    g.edit->SetAllText(text);
    return g.Lines();
}

TEST(SearchReplaceTest, GoesOnBehindEachInsertedText) {
    ReplaceFixture f;
    f.edit->SetAllText("aaa");
    f.edit->FindReplace("a", "aa", true, false, true);
    EXPECT_EQ(f.edit->GetAllText(), "aaaaaa");
    EXPECT_EQ(f.endCount, 3);
    EXPECT_EQ(f.asked, 0);
    // Each replacement is one undo step.
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "aaaaa");
    f.edit->Undo();
    f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "aaa");
    EXPECT_FALSE(f.edit->Modified());
}

TEST(SearchReplaceTest, ConfirmationAnswers) {
    struct Case {
        const char* answers;
        const char* text;
        int count;
        int asked;
    };
    const Case cases[] = {
        {"yyyy", "X.X.X.X", 4, 4},
        {"nyny", "a.X.a.X", 2, 4},
        {"ya", "X.a.a.a", 1, 2},
        {"n*", "a.X.X.X", 3, 2},  // stop asking: the rest without further calls
    };
    for (const Case& c : cases) {
        ReplaceFixture f;
        f.edit->SetAllText("a.a.a.a");
        f.answers = c.answers;
        f.edit->FindReplace("a", "X", true, true, true);
        EXPECT_EQ(f.edit->GetAllText(), c.text) << c.answers;
        EXPECT_EQ(f.endCount, c.count) << c.answers;
        EXPECT_EQ(f.asked, c.asked) << c.answers;
        EXPECT_EQ(f.edit->HitLength(), 0) << c.answers;
    }
}

// The end of the selection holds even when replacements re-wrap its last line and
// move bytes between its pieces.
TEST(SearchReplaceTest, ASelectionLimitsTheRun) {
    for (bool confirm : {true, false}) {
        for (const char* replacement : {"LONGERTEXT", ""}) {
            ReplaceFixture f;
            f.edit->SetColumn(10);
            const std::string text = "a a a a a a a a a a a a\r\na a";
            f.edit->SetAllText(text);
            // From the start to behind the eleventh "a" (column 21 of the logical line).
            int col = 21, line = 0;
            f.edit->ToDisplayPos(col, line);
            f.edit->SetSel(0, 0, line, col);
            f.edit->FindReplace("a", replacement, true, confirm, false);
            std::string expected;
            for (int i = 0; i < 11; ++i) expected += std::string(replacement) + " ";
            expected += "a\r\na a";
            EXPECT_EQ(f.edit->GetAllText(), expected) << confirm << replacement;
            EXPECT_EQ(f.endCount, 11);
            EXPECT_EQ(f.Lines(), FreshLayout(expected, 10)) << confirm << replacement;
        }
    }
}

// A selection that ends just behind a line break: replacing that line break joins the
// next line, which must not come into the range with it. Asked ("y" each time), told
// at once to stop asking ("*"), or not asked at all.
TEST(SearchReplaceTest, ASelectionEndingBehindALineBreakStaysItsSize) {
    for (bool wrap : {false, true}) {
        for (const char* answers : std::initializer_list<const char*>{"", "*", nullptr}) {
            ReplaceFixture f;
            f.edit->SetWordWrap(wrap);
            f.edit->SetAllText("a\r\nb\r\nc\r\nd");
            f.edit->SetSel(1, 0, 1, 0);
            if (answers) f.answers = answers;
            f.edit->FindReplace("\r\n", "-", true, answers != nullptr, false);
            EXPECT_EQ(f.edit->GetAllText(), "a-b\r\nc\r\nd") << wrap << (answers ? answers : "-");
            EXPECT_EQ(f.endCount, 1);
        }
    }
}

TEST(SearchReplaceTest, LineBreaksInTheMatchOrTheReplacement) {
    ReplaceFixture f;
    f.edit->SetAllText("x1\r\n2x1\r\n2");
    f.edit->FindReplace("1\r\n2", "-", true, false, true);
    EXPECT_EQ(f.edit->GetAllText(), "x-x-");
    EXPECT_EQ(f.edit->LineCount(), 1);
    f.edit->FindReplace("-", "a\r\nb", true, false, true);
    EXPECT_EQ(f.edit->GetAllText(), "xa\r\nbxa\r\nb");
    EXPECT_EQ(f.edit->LineCount(), 3);
    f.edit->FindReplace("b", "\r", true, false, true);  // a lone CR becomes CR LF
    EXPECT_EQ(f.edit->GetAllText(), "xa\r\n\r\nxa\r\n\r\n");
    for (int i = 0; i < 6; ++i) f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), "x1\r\n2x1\r\n2");
}

TEST(SearchReplaceTest, WrappedTextIsLaidOutAgainAfterARun) {
    ReplaceFixture f;
    f.edit->SetColumn(10);
    std::string text;
    for (int i = 0; i < 40; ++i) text += i % 7 == 6 ? "ab\r\n" : "ab ";
    f.edit->SetAllText(text);
    f.edit->MoveCaretTo(3, 2, 0);
    f.edit->FindReplace("ab", "\x82\xA0\x82\xA0x", true, false, true);
    std::string expected;
    for (int i = 0; i < 40; ++i)
        expected += i % 7 == 6 ? "\x82\xA0\x82\xA0x\r\n" : "\x82\xA0\x82\xA0x ";
    EXPECT_EQ(f.edit->GetAllText(), expected);
    EXPECT_EQ(f.Lines(), FreshLayout(expected, 10));
    EXPECT_EQ(f.endCount, 40);
    // Undo walks back through the records, re-wrapping as it goes.
    for (int i = 0; i < 40; ++i) f.edit->Undo();
    EXPECT_EQ(f.edit->GetAllText(), text);
    EXPECT_EQ(f.Lines(), FreshLayout(text, 10));
}

// Random texts with double-byte characters, tabs, lone CR and LF and long lines:
// replace-all re-wraps only the lines it touched, and its undo only those again; both
// must leave the layout a fresh wrap gives and undo must restore every byte. (A lone
// CR is followed by a blank: a deletion that joins it to a lone LF is another matter.)
TEST(SearchReplaceTest, ReplaceAllAndItsUndoMatchAFreshWrap) {
    std::mt19937 rng(20261209);
    const char* const kPieces[] = {"zq",   "z",        "q",        "ab",       "\t", "\r ", "\n",
                                   "\r\n", "\x82\xA0", "\x88\x9F", "\x81\x40", " ",  "xyz"};
    const struct {
        const char* find;
        const char* change;
    } kRuns[] = {
        {"zq", "zqq"}, {"zq", ""}, {"q", "\x82\xA0\x82\xA0"}, {"z", "\r\n"}, {"\r\n", "zq"}};
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const int pieces = static_cast<int>(rng() % 400);
        for (int i = 0; i < pieces; ++i) {
            if (rng() % 60 == 0) text.append(200 + rng() % 300, 'w');  // many pieces
            text += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
        }
        const auto& run = kRuns[round % (sizeof kRuns / sizeof kRuns[0])];
        const int column = 10 + static_cast<int>(rng() % 30);
        ReplaceFixture f;
        f.edit->SetColumn(column);
        f.edit->SetAllText(text);
        const std::string before = f.edit->GetAllText();
        f.edit->FindReplace(run.find, run.change, true, false, true);
        const std::string after = f.edit->GetAllText();
        ASSERT_EQ(f.Lines(), FreshLayout(after, column)) << "round " << round;
        while (!f.edit->UndoList().empty()) f.edit->Undo();
        ASSERT_EQ(f.edit->GetAllText(), before) << "round " << round;
        ASSERT_EQ(f.Lines(), FreshLayout(before, column)) << "round " << round;
        while (!f.edit->RedoList().empty()) f.edit->Redo();
        ASSERT_EQ(f.edit->GetAllText(), after) << "round " << round;
        ASSERT_EQ(f.Lines(), FreshLayout(after, column)) << "round " << round;
    }
}

TEST(SearchReplaceTest, FromTheCaretOrTheTop) {
    ReplaceFixture f;
    f.edit->SetWordWrap(false);
    f.edit->SetAllText("a a\r\na a");
    f.edit->MoveCaretTo(1, 1, 0);
    f.edit->FindReplace("a", "b", false, false, true);
    EXPECT_EQ(f.edit->GetAllText(), "a a\r\na b");
    f.edit->FindReplace("a", "b", true, false, true);
    EXPECT_EQ(f.edit->GetAllText(), "b b\r\nb b");
    EXPECT_EQ(f.endCount, 3);
    // Nothing found: the run still reports its count, and find starts anew afterwards.
    f.edit->FindReplace("zz", "b", true, false, true);
    EXPECT_EQ(f.endCount, 0);
}

}  // namespace
}  // namespace zentabo
