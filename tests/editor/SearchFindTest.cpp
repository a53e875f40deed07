// The search engine's walk: windows, forward and backward steps, wrap-around, and
// handlers that answer nonsense.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

using Log = std::vector<std::string>;

// A plain, case-sensitive compare step that logs every event.
struct SearchFixture : EditorFixture {
    Log log;
    std::vector<int> askedLines;

    SearchFixture() {
        edit->OnFind = [this](TLumEdit&, const std::string& str, const std::string& f, int index,
                              int& x, int&) {
            askedLines.push_back(index);
            const size_t p = str.find(f);
            x = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
        };
        edit->OnFindHit = [this](TLumEdit&, const std::string&, int x, int y, int len, int n) {
            log.push_back("hit " + std::to_string(y) + "," + std::to_string(x) + " len " +
                          std::to_string(len) + " #" + std::to_string(n));
        };
        edit->OnFindNoHit = [this](TLumEdit&, const std::string& f) { log.push_back("none " + f); };
    }
    std::string Take() {
        std::string s = log.empty() ? "" : log.back();
        log.clear();
        return s;
    }
};

TEST(SearchFindTest, WithoutAHandlerNothingIsFound) {
    EditorFixture f;
    Log log;
    f.edit->OnFindNoHit = [&](TLumEdit&, const std::string&) { log.push_back("none"); };
    f.edit->SetAllText("abc");
    f.edit->SetFindText("a");
    f.edit->FindNext();
    f.edit->FindNext();
    EXPECT_EQ(log, (Log{"none", "none"}));
}

TEST(SearchFindTest, ForwardStepsWrapAroundInTwoSteps) {
    SearchFixture f;
    f.edit->SetAllText("ab ab\r\nxab");
    f.edit->SetFindText("ab");
    f.edit->FindFirst();
    EXPECT_EQ(f.Take(), "hit 0,0 len 2 #1");
    EXPECT_EQ(f.edit->CaretLine(), 0);
    EXPECT_EQ(f.edit->HitLength(), 2);
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "hit 0,3 len 2 #2");
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "hit 1,1 len 2 #3");
    EXPECT_EQ(f.edit->CaretCol(), 1);
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "none ab");
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "hit 0,0 len 2 #1");
}

TEST(SearchFindTest, MatchesRunAcrossLineEndsButMustStartInTheFirstLine) {
    SearchFixture f;
    f.edit->SetAllText("xa\r\nbc");
    f.edit->SetFindText("a\r\nb");
    f.edit->FindFirst();
    EXPECT_EQ(f.Take(), "hit 0,1 len 4 #1");

    // Across a soft wrap: Column 10 cuts the logical line after ten bytes.
    f.edit->SetColumn(10);
    f.edit->SetAllText("0123456789abcdef");
    ASSERT_EQ(f.edit->LineCount(), 2);
    f.edit->SetFindText("89ab");
    f.edit->FindFirst();
    EXPECT_EQ(f.Take(), "hit 0,8 len 4 #1");

    // The handler sees "xx" CR LF "ab" and reports the match in the second line:
    // ignored, and the next window (line 1) finds it.
    f.edit->SetAllText("xx\r\nab");
    f.edit->SetFindText("ab");
    f.askedLines.clear();
    f.edit->FindFirst();
    EXPECT_EQ(f.Take(), "hit 1,0 len 2 #1");
    EXPECT_EQ(f.askedLines, (std::vector<int>{0, 1}));
}

TEST(SearchFindTest, BackwardFindsTheLastMatchOfEachLine) {
    SearchFixture f;
    f.edit->SetAllText("ab ab ab\r\nab");
    f.edit->SetFindText("ab");
    f.edit->MoveCaretTo(2, 1, 0);  // end of text
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "hit 1,0 len 2 #1");
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "hit 0,6 len 2 #2");
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "hit 0,3 len 2 #3");
    // Turning round goes on behind the current hit, not from the line start.
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "hit 0,6 len 2 #4");
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "hit 0,3 len 2 #5");
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "hit 0,0 len 2 #6");
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "none ab");
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "hit 1,0 len 2 #1");
}

TEST(SearchFindTest, ACaretMoveRestartsAtTheCaret) {
    SearchFixture f;
    f.edit->SetAllText("ab ab ab");
    f.edit->SetFindText("ab");
    f.edit->FindFirst();
    f.edit->MoveCaretTo(4, 0, 0);
    EXPECT_EQ(f.edit->HitLength(), 0);
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "hit 0,6 len 2 #2");
}

// After a miss the next step wraps round, even when the caret was placed again in
// between without moving (focus back, a repaint); a real move still restarts there.
TEST(SearchFindTest, WrapRoundSurvivesFocusAndCaretPlacementsInPlace) {
    SearchFixture f;
    f.edit->SetAllText("ab x ab");
    f.edit->SetFindText("ab");
    f.edit->FindFirst();
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "hit 0,5 len 2 #2");
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "none ab");
    f.edit->Perform(WM_KILLFOCUS, 0, 0);
    f.edit->Perform(WM_SETFOCUS, 0, 0);
    f.edit->MoveCaretTo(f.edit->CaretCol(), f.edit->CaretLine(), 0);
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "hit 0,0 len 2 #1");

    f.edit->MoveCaretTo(7, 0, 0);
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "hit 0,5 len 2 #2");
    f.edit->FindPrev();
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "none ab");
    f.edit->Perform(WM_SETFOCUS, 0, 0);
    f.edit->FindPrev();
    EXPECT_EQ(f.Take(), "hit 0,5 len 2 #1");

    f.edit->MoveCaretTo(3, 0, 0);
    f.edit->FindNext();
    EXPECT_EQ(f.Take(), "hit 0,5 len 2 #2");
}

// The hit is drawn like a selection in the given colour, over every row it covers,
// and a caret move takes the mark away.
TEST(SearchFindTest, HighlightDrawsTheHitInItsColour) {
    SearchFixture f;
    f.edit->SetAllText("xab\r\ncdy");
    f.edit->SetFindText("ab\r\ncd");
    f.edit->FindFirst();
    f.host.canvas.calls.clear();
    f.edit->HighlightHit(0x00FFFF);
    std::vector<std::string> texts;
    for (const std::string& c : f.host.canvas.calls)
        if (c.rfind("TextOut", 0) == 0 && c.find("/65535 opaque") != std::string::npos)
            texts.push_back(c.substr(c.find(' ', c.find(' ', 8) + 1) + 1));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].substr(0, 3), "ab ");
    EXPECT_EQ(texts[1].substr(0, 3), "cd ");
    EXPECT_EQ(f.edit->SelColor, 0u);
    f.edit->MoveCaretTo(0, 0, 0);
    EXPECT_EQ(f.edit->HitLength(), 0);
    f.host.canvas.calls.clear();
    f.edit->HighlightHit(0x00FFFF);
    EXPECT_TRUE(f.host.canvas.calls.empty());
}

TEST(SearchFindTest, OddSearchTextsFindNothingOrTheirBytes) {
    SearchFixture f;
    f.edit->SetAllText("ab\r\ncd\x82");
    for (const std::string& text :
         {std::string(), std::string(1, '\0'), std::string(5000, 'a'), std::string("abcdefgh")}) {
        f.edit->SetFindText(text);
        f.edit->FindFirst();
        EXPECT_EQ(f.Take(), "none " + text) << text.size();
        EXPECT_EQ(f.edit->GetAllText(), "ab\r\ncd\x82");
    }
    f.edit->SetFindText("\x82");  // a lone lead byte at the end of the text
    f.edit->FindFirst();
    EXPECT_EQ(f.Take(), "hit 1,2 len 1 #1");
    f.edit->SetFindText("b\r\nc");
    f.edit->FindFirst();
    EXPECT_EQ(f.Take(), "hit 0,1 len 4 #1");
}

// Handlers that report positions outside the window, empty or overlong matches, or
// a match that would split CR LF: every step ends and the text is untouched.
TEST(SearchFindTest, NonsenseFromTheHandlerEndsEveryStep) {
    struct Answer {
        int x;
        int len;
    };
    const Answer answers[] = {{-3, 2}, {1000, 2}, {1, 0}, {1, -5}, {2, 1000}, {3, 1}, {4, 1}};
    for (const Answer& a : answers) {
        EditorFixture f;
        int hits = 0, misses = 0;
        f.edit->SetAllText("ab\r\ncd\r\nef");
        f.edit->OnFind = [&](TLumEdit&, const std::string&, const std::string&, int, int& x,
                             int& len) {
            x = a.x;
            len = a.len;
        };
        f.edit->OnFindHit = [&](TLumEdit& e, const std::string&, int x, int y, int len, int) {
            ++hits;
            EXPECT_GE(len, 1);
            EXPECT_LE(x, e.Lines().Get(y).size());
        };
        f.edit->OnFindNoHit = [&](TLumEdit&, const std::string&) { ++misses; };
        f.edit->SetFindText("ab");
        for (int i = 0; i < 12; ++i) f.edit->FindNext();
        for (int i = 0; i < 12; ++i) f.edit->FindPrev();
        EXPECT_GT(misses, 0) << a.x << "," << a.len;
        EXPECT_EQ(f.edit->GetAllText(), "ab\r\ncd\r\nef");
        f.edit->FindReplace("ab", "", true, false, true);
        EXPECT_EQ(f.edit->LineCount(), static_cast<int>(f.Lines().size()));
        EXPECT_EQ(f.Lines().back().back(), '\0');
    }
}

}  // namespace
}  // namespace zentabo
