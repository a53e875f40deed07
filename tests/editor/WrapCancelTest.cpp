// Applying view settings that wrap the whole text again: stopped by its progress at
// any call, it leaves the layout, the caret and the selection as they were, and the
// settings the layout was made for, applied again, wrap nothing; settings that do not
// change the pieces wrap nothing either.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"

namespace zentabo {
namespace {

struct Layout {
    std::vector<std::string> lines;
    int caretLine, caretCol, selStartLine, selStartCol;
    bool operator==(const Layout&) const = default;
};

Layout LayoutOf(const EditorFixture& f) {
    return {f.Lines(), f.edit->CaretLine(), f.edit->CaretCol(), f.edit->SelStartLine(),
            f.edit->SelStartCol()};
}

// A page over several progress steps, caret and anchor in the middle.
void Prepare(EditorFixture& f) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += i % 3 ? "a line of words\twith a tab\r\n" : "\x82\xA0\x82\xA2 kana\r\n";
    f.edit->SetColumn(20);
    f.edit->SetAllText(text);
    f.edit->SetTabCount(6);
    f.edit->SetSel(3, 100, 9001, 5);
}

void ApplyColumnAndTabs(TLumEdit& edit, int column, int tabs) {
    edit.HoldWrapsUntilApply();
    edit.SetColumn(column);
    edit.SetTabCount(tabs);
}

TEST(WrapCancelTest, StoppedAtAnyCallTheLayoutStaysAndItsSettingsWrapNothing) {
    EditorFixture whole;
    Prepare(whole);
    int calls = 0;
    whole.edit->OnWrapProgress = [&](double) { return ++calls > 0; };
    ApplyColumnAndTabs(*whole.edit, 13, 2);
    ASSERT_TRUE(whole.edit->ApplyViewSettings());
    ASSERT_GT(calls, 2);
    const Layout wrapped = LayoutOf(whole);

    for (int stopAt = 0; stopAt < calls; ++stopAt) {
        SCOPED_TRACE("stopped at call " + std::to_string(stopAt));
        EditorFixture f;
        Prepare(f);
        const Layout before = LayoutOf(f);
        const int wraps = f.edit->WholeTextWraps();
        int call = 0;
        f.edit->OnWrapProgress = [&](double) { return call++ != stopAt; };
        ApplyColumnAndTabs(*f.edit, 13, 2);
        ASSERT_FALSE(f.edit->ApplyViewSettings());
        ASSERT_TRUE(LayoutOf(f) == before);
        ASSERT_EQ(f.edit->WholeTextWraps(), wraps);

        // The old settings again: the layout is theirs already.
        ApplyColumnAndTabs(*f.edit, 20, 6);
        ASSERT_TRUE(f.edit->ApplyViewSettings());
        ASSERT_EQ(f.edit->WholeTextWraps(), wraps);
        ASSERT_TRUE(LayoutOf(f) == before);
        // And the new ones once more, let through: the layout a whole run gives.
        f.edit->OnWrapProgress = nullptr;
        ApplyColumnAndTabs(*f.edit, 13, 2);
        ASSERT_TRUE(f.edit->ApplyViewSettings());
        ASSERT_TRUE(LayoutOf(f) == wrapped);
    }
}

TEST(WrapCancelTest, OnlyAChangeOfThePiecesWrapsAndOnlyApplyingCanBeStopped) {
    EditorFixture f;
    Prepare(f);
    f.edit->OnWrapProgress = [](double) { return false; };
    const int wraps = f.edit->WholeTextWraps();
    f.edit->HoldWrapsUntilApply();
    f.edit->ShowCR = !f.edit->ShowCR;
    f.edit->SetColumn(20);
    EXPECT_TRUE(f.edit->ApplyViewSettings());
    EXPECT_EQ(f.edit->WholeTextWraps(), wraps);
    // A setter on its own wraps at once, whatever the progress says.
    f.edit->SetColumn(30);
    EXPECT_EQ(f.edit->WholeTextWraps(), wraps + 1);
    EXPECT_EQ(f.edit->Lines().Get(0).size(), 11u);  // "\x82\xA0\x82\xA2 kana\r\n" whole
    EXPECT_EQ(f.edit->Lines().Get(1).size(), 28u);  // the tab reaches column 18 of 30

    // A text laid out while the wraps are held follows the settings of that moment:
    // going back to the held ones wraps it again.
    f.edit->OnWrapProgress = nullptr;
    f.edit->HoldWrapsUntilApply();
    f.edit->SetColumn(10);
    f.edit->SetAllText(std::string(25, 'a'));
    f.edit->SetColumn(30);
    EXPECT_TRUE(f.edit->ApplyViewSettings());
    EXPECT_EQ(f.edit->LineCount(), 1);
}

}  // namespace
}  // namespace zentabo
