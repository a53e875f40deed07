// Entries made together share one block of bytes, and a large range of them gives its
// pages back while its bytes are copied out. Neither may cost a byte of any entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "store/LumStrings.h"
#include "store/SlotBlockPool.h"

namespace zentabo {
namespace {

using storetest::Entries;

// About 24 MB in 300,000 lines: enough for whole pages to go back in several steps.
std::string LargeText() {
    std::string text;
    for (int i = 0; i < 300000; ++i) {
        text += "\x93\xFA\x96\x7B line " + std::to_string(i);
        text += std::string(60, static_cast<char>('a' + i % 26));
        text += "\r\n";
    }
    return text;
}

std::string Joined(const std::vector<std::string>& entries, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to; ++i) out += entries[i];
    return out;
}

TEST(SharedBlocks, ARangeTakenOutKeepsEveryByteOfItAndOfTheEntriesOutside) {
    const std::string text = LargeText();
    for (const bool keepSomeOutside : {false, true}) {
        TLumStrings s;
        s.SetText(text);
        const std::vector<std::string> before = Entries(s);
        const int32_t n = s.Count();
        // With entries left outside, in front of the range, the block keeps its pages.
        const int32_t index = keepSomeOutside ? n / 2 : 0;
        const int32_t count = n - 1 - index;
        std::string removed;
        s.ReplaceEntries(index, count, std::string("new\r\n"), {5}, removed);
        EXPECT_EQ(removed, Joined(before, index, static_cast<std::size_t>(index + count)));
        std::vector<std::string> expected(before.begin(), before.begin() + index);
        expected.push_back("new\r\n");
        expected.insert(expected.end(), before.begin() + index + count, before.end());
        EXPECT_EQ(Entries(s), expected) << keepSomeOutside;
    }
}

TEST(SharedBlocks, EntriesFromSeveralSourcesAndTheirEditsKeepTheirBytes) {
    TLumStrings s;
    s.SetText(LargeText());
    std::vector<std::string> model = Entries(s);
    // A run from three sources, the middle one used from an offset and not to its end.
    std::vector<TLumStrings::EntrySource> sources(3);
    sources[0] = {"head\r\n", 0, 1};
    sources[1] = {"skipped|ab\r\ncd\r\nunused", 8, 2};
    sources[2] = {"tail", 0, 1};
    std::string removed;
    s.ReplaceEntries(10, 4, sources, {6, 4, 4, 4}, removed);
    EXPECT_EQ(removed, Joined(model, 10, 14));
    model.erase(model.begin() + 10, model.begin() + 14);
    model.insert(model.begin() + 10, {"head\r\n", "ab\r\n", "cd\r\n", "tail"});
    // Edits between shared entries, and one entry written with another's bytes.
    s.Put(11, s.Get(12));
    model[11] = model[12];
    s.Delete(12);
    model.erase(model.begin() + 12);
    s.Insert(5, s.Get(100000));
    model.insert(model.begin() + 5, model[100000]);
    EXPECT_EQ(Entries(s), model);

    // Lengths that do not fit their sources change nothing.
    std::vector<TLumStrings::EntrySource> bad(1);
    bad[0] = {"abc", 0, 1};
    EXPECT_THROW(s.ReplaceEntries(0, 1, bad, {4}, removed), std::logic_error);
    EXPECT_EQ(Entries(s), model);
}

// The entries of a large text live in pooled regions; closing the text must give them
// back, and entries moved between blocks by splits must keep their bytes.
TEST(SharedBlocks, PooledSlotRegionsKeepTheEntriesAndGoBackWithTheText) {
    const std::size_t regionsBefore = slot_pool::RegionCount();
    {
        TLumStrings s;
        s.SetText(LargeText());
        EXPECT_GT(slot_pool::RegionCount(), regionsBefore + 2);
        std::vector<std::string> model = Entries(s);
        // Inserts into full blocks split them into new pooled blocks; deletes empty some.
        for (int i = 0; i < 1500; ++i) {
            const int32_t at = (i * 7919) % s.Count();
            s.Insert(at, "x" + std::to_string(i));
            model.insert(model.begin() + at, "x" + std::to_string(i));
        }
        for (int i = 0; i < 4096; ++i) {
            s.Delete(1000);
            model.erase(model.begin() + 1000);
        }
        EXPECT_EQ(Entries(s), model);
    }
    // One empty region may stay for the next text.
    EXPECT_LE(slot_pool::RegionCount(), std::max<std::size_t>(regionsBefore, 1));
}

}  // namespace
}  // namespace zentabo
