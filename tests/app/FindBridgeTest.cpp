#include "app/FindBridge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentabo {
namespace {

// Records each call as one line of text.
class RecordingSearch : public EditorSearch {
public:
    std::vector<std::string> calls;

    void SetFindText(const std::string& text) override { calls.push_back("SetFindText " + text); }
    void FindFirst() override { calls.push_back("FindFirst"); }
    void FindNext() override { calls.push_back("FindNext"); }
    void FindPrev() override { calls.push_back("FindPrev"); }
    void FindReplace(const std::string& findText, const std::string& replaceText, bool fromTop,
                     bool confirm, bool wholeText) override {
        calls.push_back("FindReplace " + findText + ">" + replaceText + " " + Flag(fromTop) +
                        Flag(confirm) + Flag(wholeText));
    }

private:
    static std::string Flag(bool b) { return b ? "1" : "0"; }
};

using Calls = std::vector<std::string>;

TEST(FindBridgeTest, OptionBitsAreTheDialogsValues) {
    EXPECT_EQ((TFindOptions{frDown, frFindNext, frMatchCase, frReplace, frReplaceAll}).Bits(),
              0x0001 | 0x0002 | 0x0020 | 0x0200 | 0x0400);
}

TEST(FindBridgeTest, ANewTextStartsAtTheTopTheSameTextGoesOnFromTheCaret) {
    RecordingSearch ed;
    std::string page;
    DoFind("abc", {frDown}, page, ed);
    EXPECT_EQ(page, "abc");
    DoFind("abc", {frDown, frFindNext}, page, ed);
    DoFind("abc", {frFindNext}, page, ed);
    // The comparison is exact: a change of case is a new text.
    DoFind("ABC", {}, page, ed);
    EXPECT_EQ(page, "ABC");
    EXPECT_EQ(ed.calls, (Calls{"SetFindText abc", "FindFirst", "FindNext", "FindPrev",
                               "SetFindText ABC", "FindFirst"}));
}

TEST(FindBridgeTest, TheThreeReplaceModes) {
    struct Case {
        TFindOptions options;
        Calls expected;
    };
    const Case cases[] = {
        // After a find: ask each time, inside the selection.
        {{frDown, frFindNext, frReplace}, {"FindReplace s>r 110"}},
        // No find since the dialog was shown: ask each time, over the whole text.
        {{frDown, frReplace}, {"FindReplace s>r 111"}},
        // Replace all never asks and always takes the whole text.
        {{frDown, frFindNext, frReplaceAll}, {"FindReplace s>r 101"}},
        {{frReplaceAll}, {"FindReplace s>r 101"}},
        // Neither button pressed yet: nothing to do.
        {{frDown, frFindNext}, {}},
    };
    for (const Case& c : cases) {
        RecordingSearch ed;
        std::string page = "old";
        DoReplace("s", "r", c.options, page, ed);
        EXPECT_EQ(ed.calls, c.expected) << c.options.Bits();
        EXPECT_EQ(page, c.expected.empty() ? "old" : "s") << c.options.Bits();
    }
}

TEST(FindBridgeTest, AFindAfterAReplaceSearchesForItsOwnText) {
    RecordingSearch ed;
    std::string page;
    DoFind("a", {frDown}, page, ed);
    DoReplace("b", "c", {frDown, frReplaceAll}, page, ed);
    // The editor now holds "b"; searching for "a" again must hand it "a" anew.
    DoFind("a", {frDown, frFindNext}, page, ed);
    // And the replaced text is the editor's already, so its search goes on.
    DoReplace("a", "c", {frDown, frFindNext, frReplace}, page, ed);
    DoFind("a", {frDown, frFindNext}, page, ed);
    EXPECT_EQ(ed.calls, (Calls{"SetFindText a", "FindFirst", "FindReplace b>c 101", "SetFindText a",
                               "FindFirst", "FindReplace a>c 110", "FindNext"}));
}

}  // namespace
}  // namespace zentabo
