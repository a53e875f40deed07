// Random edit sequences against a plain vector: the slot array with its blocks and the
// lazily built, shifted line-end checkpoints must always agree with a naive model.
#include <gtest/gtest.h>

#include <random>

#include "StoreTestSupport.h"
#include "store/LumStrings.h"

namespace zentabo {
namespace {

using namespace storetest;

std::string RandomEntry(std::mt19937& rng) {
    static const char* const kinds[] = {
        "", "abc", "text\r\n", "wrapped piece ", "\x82\xA0\x82\xA2\r\n", "x\r\n"};
    return kinds[rng() % 6];
}

void CheckPositionHelpers(const TLumStrings& s, const std::vector<std::string>& model,
                          std::mt19937& rng) {
    const int32_t n = static_cast<int32_t>(model.size());
    for (int q = 0; q < 4; ++q) {
        int32_t index = n == 0 ? 0 : static_cast<int32_t>(rng() % (n + 1));
        ASSERT_EQ(s.CountLineEndsBefore(index), ReferenceCountLineEndsBefore(model, index))
            << "index " << index;
        int32_t lines = ReferenceCountLineEndsBefore(model, n);
        int32_t k = static_cast<int32_t>(rng() % (lines + 3));
        ASSERT_EQ(s.IndexAfterLineEnds(k), ReferenceIndexAfterLineEnds(model, k)) << "n " << k;
    }
}

TEST(LumStringsModel, RandomEditsAgreeWithAPlainVector) {
    std::mt19937 rng(20260501);
    TLumStrings s;
    std::vector<std::string> model;
    // Several blocks of the slot array, so that edits split and empty them.
    for (int i = 0; i < 9000; ++i) {
        std::string e = RandomEntry(rng);
        s.Add(e);
        model.push_back(e);
    }
    // Edits cluster around a wandering point, as typing does, with jumps now and then.
    int32_t point = 1500;
    for (int step = 0; step < 20000; ++step) {
        int32_t n = static_cast<int32_t>(model.size());
        if (rng() % 50 == 0) point = n == 0 ? 0 : static_cast<int32_t>(rng() % n);
        point = std::clamp<int32_t>(point + static_cast<int32_t>(rng() % 7) - 3, 0, n);
        switch (rng() % 10) {
            case 0:
            case 1:
            case 2: {
                std::string e = RandomEntry(rng);
                s.Insert(point, e);
                model.insert(model.begin() + point, e);
                break;
            }
            case 3:
            case 4:
            case 5:
                if (point < n) {
                    s.Delete(point);
                    model.erase(model.begin() + point);
                }
                break;
            case 6:
                if (point < n) {
                    // An entry written with the bytes of another, or of itself.
                    const int32_t from = std::min<int32_t>(n - 1, point + rng() % 3);
                    const std::string e = model[from];
                    if (rng() % 2) {
                        s.Put(point, s.Get(from));
                        model[point] = e;
                    } else {
                        s.Insert(point, s.Get(from));
                        model.insert(model.begin() + point, e);
                    }
                }
                break;
            case 7:
                if (point < n) {
                    std::string e = RandomEntry(rng);
                    s.Put(point, e);
                    model[point] = e;
                }
                break;
            case 8: {
                std::string e = RandomEntry(rng);
                s.Add(e);
                model.push_back(e);
                break;
            }
            case 9:
                if (rng() % 4 == 0) {
                    // A run of entries rewritten at once, longer or shorter than before.
                    const int32_t count = std::min<int32_t>(n - point, rng() % 4);
                    std::vector<std::string> entries(rng() % 5);
                    for (std::string& e : entries) e = RandomEntry(rng);
                    std::string removed, expected;
                    for (int32_t i = point; i < point + count; ++i) expected += model[i];
                    model.erase(model.begin() + point, model.begin() + point + count);
                    model.insert(model.begin() + point, entries.begin(), entries.end());
                    if (rng() % 2) {
                        s.ReplaceEntries(point, count, entries, removed);
                    } else {
                        // The new entries share one block, which the next edits cut up.
                        std::string joined;
                        std::vector<uint32_t> lengths;
                        for (const std::string& e : entries) {
                            joined += e;
                            lengths.push_back(static_cast<uint32_t>(e.size()));
                        }
                        s.ReplaceEntries(point, count, std::move(joined), lengths, removed);
                    }
                    ASSERT_EQ(removed, expected);
                } else if (rng() % 20 == 0) {
                    int32_t count = static_cast<int32_t>(rng() % (n + 40));
                    s.SetCount(count);
                    model.resize(count);
                } else if (rng() % 20 == 0) {
                    s.SetCapacity(s.Count() + static_cast<int32_t>(rng() % 100));
                }
                break;
        }
        ASSERT_EQ(s.Count(), static_cast<int32_t>(model.size()));
        ASSERT_GE(s.Capacity(), s.Count());
        if (step % 97 == 0) {
            ASSERT_EQ(Entries(s), model) << "step " << step;
        }
        if (step % 5 == 0) CheckPositionHelpers(s, model, rng);
    }
    EXPECT_EQ(Entries(s), model);
}

TEST(LumStringsModel, PositionHelpersAtTheEdges) {
    TLumStrings s;
    EXPECT_EQ(s.CountLineEndsBefore(0), 0);
    EXPECT_EQ(s.IndexAfterLineEnds(0), 0);
    EXPECT_EQ(s.IndexAfterLineEnds(3), 0);

    // Two logical lines, the first wrapped into three pieces, then the end of text.
    s.SetText(std::string("ab\r\ncd\r\n\0", 9));
    s.Insert(0, "x");
    s.Insert(0, "w");
    const std::vector<std::string> model = Entries(s);  // w, x, ab, cd, NUL
    for (int32_t i = 0; i <= s.Count(); ++i)
        EXPECT_EQ(s.CountLineEndsBefore(i), ReferenceCountLineEndsBefore(model, i));
    EXPECT_EQ(s.IndexAfterLineEnds(0), 0);
    EXPECT_EQ(s.IndexAfterLineEnds(1), 3);
    EXPECT_EQ(s.IndexAfterLineEnds(2), 4);
    EXPECT_EQ(s.IndexAfterLineEnds(9), 4);  // fewer line ends: the last entry

    // A text that ends with CR LF has no entry after its last line end.
    s.SetText("a\r\nb\r\n");
    EXPECT_EQ(s.IndexAfterLineEnds(2), 1);
}

}  // namespace
}  // namespace zentabo
