// Opening a file with word wrap on wraps it while it is read, on several threads; the
// display lines must be the ones wrapping the loaded text on one thread gives, and the
// file must come back byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "editor/EditorTestSupport.h"
#include "store/StoreTestSupport.h"

namespace zentabo {
namespace {

TEST(WrapAtLoad, EqualsWrappingTheLoadedTextAndSavesTheSameBytes) {
    storetest::ScratchDir dir;
    std::mt19937 rng(2026);
    const int columns[] = {80, 17, 255};
    for (int round = 0; round < 3; ++round) {
        // Over 2 MB, so that two threads or more share it.
        const std::string bytes =
            "<p>\r\n" + storetest::RandomCp932Text(rng, (5u << 19) + rng() % 7);
        const std::string path = dir.Write("in.txt", bytes);
        EditorFixture atLoad, after;
        for (EditorFixture* f : {&atLoad, &after}) {
            f->edit->SetTabCount(1 + round * 3);
            f->edit->SetColumn(columns[round]);
        }
        ASSERT_TRUE(atLoad.edit->LoadFile(path));
        after.edit->SetWordWrap(false);
        ASSERT_TRUE(after.edit->LoadFile(path));
        after.edit->SetWordWrap(true);
        ASSERT_EQ(atLoad.Lines(), after.Lines()) << "round " << round;

        const std::string out = dir.Path("out.txt");
        ASSERT_TRUE(atLoad.edit->SaveFile(out));
        ASSERT_EQ(storetest::ReadFileBytes(out), bytes) << "round " << round;
    }
}

}  // namespace
}  // namespace zentabo
