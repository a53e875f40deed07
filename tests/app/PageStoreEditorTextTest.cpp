// A page's text through the page store and back into an editor, as a restart does it:
// NUL bytes, lone CR and lone LF come back byte for byte, lines and all.
#include <gtest/gtest.h>

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
    void SetText(std::string t) override { edit.SetAllText(std::move(t)); }
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

}  // namespace
}  // namespace zentabo
