// A page's text through the page store and back into an editor, as a restart does it:
// NUL bytes, lone CR and lone LF come back byte for byte, lines and all.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "FakePages.h"
#include "app/PageStore.h"
#include "editor/LumEdit.h"
#include "support/HeadlessHost.h"

namespace zentabo {
namespace {

using namespace std::string_literals;

// A page whose text lives in a real editor.
struct EditorPage : testing::FakePage {
    HeadlessHost host;
    TLumEdit edit{host};
    std::string Text() const override { return edit.GetAllText(); }
    void SetText(std::string t, const TaskProgress& progress) override {
        edit.SetAllText(std::move(t), progress);
    }
};

struct EditorPages : PageStoreHost {
    std::vector<std::unique_ptr<EditorPage>> pages;
    int PageCount() const override { return static_cast<int>(pages.size()); }
    PageStorePage& Page(int index) override { return *pages.at(static_cast<size_t>(index)); }
    PageStorePage& CreatePage() override {
        pages.push_back(std::make_unique<EditorPage>());
        return *pages.back();
    }
    bool AskReloadChangedFile(PageStorePage&, const std::string&) override { return false; }
};

TEST(PageStoreEditorTextTest, ControlBytesSurviveARestartInEveryLayout) {
    const std::string text = "a\0b\r\nc\rd\ne\r\n\0\0tail\0"s;
    for (bool wrap : {true, false}) {
        EditorPages before;
        auto& page = static_cast<EditorPage&>(before.CreatePage());
        page.edit.SetWordWrap(wrap);
        page.edit.SetAllText(text);
        page.edit.MoveCaretTo(1, 0, 0);
        page.edit.TypeText("X");  // an edit beside the NUL
        page.edit.Undo();
        const int lines = page.edit.LineCount();
        std::string data;
        ASSERT_TRUE(SavePagesToStream(before, data));

        EditorPages after;
        ASSERT_TRUE(LoadPagesFromStream(after, data, "", {}).complete);
        ASSERT_EQ(after.PageCount(), 1);
        EXPECT_EQ(after.pages[0]->edit.GetAllText(), text);
        EXPECT_EQ(after.pages[0]->edit.LineCount(), lines);
    }
}

// Restoring a large page: the progress moves while its text is laid out, not only once
// the page is done, and never goes back.
TEST(PageStoreEditorTextTest, ProgressMovesWhileALargePageIsLaidOut) {
    EditorPages before;
    for (int i = 0; i < 3; ++i) {
        auto& page = static_cast<EditorPage&>(before.CreatePage());
        std::string text = "small page";
        if (i == 1)
            for (int l = 0; l < 60000; ++l) text += "a line of the large page\r\n";
        page.edit.SetAllText(text);
    }
    std::string data;
    ASSERT_TRUE(SavePagesToStream(before, data));

    EditorPages after;
    std::vector<double> seen;
    ASSERT_TRUE(LoadPagesFromStream(after, data, "", {}, [&](double f) {
                    seen.push_back(f);
                    return true;
                }).complete);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    // The large page's record is nearly all of the data: it is laid out in many steps.
    const auto inside =
        std::count_if(seen.begin(), seen.end(), [](double f) { return f > 0.01 && f < 0.99; });
    EXPECT_GT(inside, 10);
    EXPECT_DOUBLE_EQ(seen.back(), 1.0);
}

}  // namespace
}  // namespace zentabo
