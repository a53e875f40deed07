// A load that reports how far it got and stops when told: the fractions only grow and
// stay within the whole, and a load stopped half-way leaves an empty editor that
// loads the file completely the next time.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editor/EditorTestSupport.h"
#include "store/StoreTestSupport.h"

namespace zentabo {
namespace {

TEST(LoadProgress, RisesWithinTheWholeAndStopsHalfWayWithoutALeftover) {
    storetest::ScratchDir dir;
    std::mt19937 rng(18);
    // Over one progress step, so that the load reports from the middle too and is
    // stopped there.
    std::string crlf, lf;
    for (const char c : storetest::RandomCp932Text(rng, (17u << 20) + 5)) {
        if (c == '\r' || c == '\n') continue;  // lone ones would make the style unclear
        crlf += c;
        lf += c;
        if (rng() % 90 == 0) {
            crlf += "\r\n";
            lf += '\n';
        }
    }
    const std::string paths[] = {dir.Write("crlf.txt", crlf), dir.Write("lf.txt", lf)};
    for (const bool wrap : {false, true}) {
        for (const std::string& path : paths) {
            SCOPED_TRACE(path + (wrap ? " wrapped" : ""));
            EditorFixture f;
            f.edit->SetWordWrap(wrap);
            std::vector<double> seen;
            f.edit->OnLoadProgress = [&](double fraction) {
                seen.push_back(fraction);
                return seen.size() < 2;
            };
            EXPECT_FALSE(f.edit->LoadFile(path));
            EXPECT_TRUE(f.edit->GetAllText().empty());
            ASSERT_EQ(seen.size(), 2u);
            EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
            EXPECT_GT(seen.back(), 0.0);
            EXPECT_LE(seen.back(), 1.0);

            f.edit->OnLoadProgress = [](double fraction) { return fraction <= 1.0; };
            ASSERT_TRUE(f.edit->LoadFile(path));
            EditorFixture plain;
            plain.edit->SetWordWrap(wrap);
            ASSERT_TRUE(plain.edit->LoadFile(path));
            EXPECT_TRUE(f.Lines() == plain.Lines());
        }
    }
}

}  // namespace
}  // namespace zentabo
