#include <gtest/gtest.h>

#include <functional>

#include "StoreTestSupport.h"
#include "store/LumStrings.h"

namespace zentabo {
namespace {

using storetest::Entries;

void Fill(TLumStrings& s, int n) {
    for (int i = 0; i < n; ++i) s.Add("line " + std::to_string(i) + "\r\n");
}

TEST(LumStringsList, IndexErrorsLeaveTheStoreExactlyAsItWas) {
    TLumStrings s;
    Fill(s, 40);
    s.Delete(10);  // leaves the free slots in the middle
    const auto before = Entries(s);
    const int32_t capacity = s.Capacity();
    const std::function<void()> bad[] = {
        [&] { s.Put(-1, "x"); },
        [&] { s.Put(s.Count(), "x"); },
        [&] { s.Insert(-1, "x"); },
        [&] { s.Insert(s.Count() + 1, "x"); },
        [&] { s.Delete(s.Count()); },
        [&] { s.Delete(-1); },
        [&] { (void)s.Get(s.Count()); },
        [&] { s.SetCount(-1); },
        [&] { s.SetCount(TLumStrings::kMaxListSize + 1); },
        [&] { s.SetCapacity(s.Count() - 1); },
        [&] { s.SetCapacity(TLumStrings::kMaxListSize + 1); },
        [&] {
            int32_t at = s.Count() + 1;
            s.InsertText(at, "a\r\nb");
        },
        [&] { s.Error(); },
    };
    for (const auto& call : bad) {
        try {
            call();
            ADD_FAILURE() << "no index error";
        } catch (const IndexError& e) {
            EXPECT_STREQ(e.what(), "インデックスがリストの範囲を超えています");
        }
        EXPECT_EQ(Entries(s), before);
        EXPECT_EQ(s.Capacity(), capacity);
    }
}

TEST(LumStringsList, InsertAtCountAppendsAndDeleteShiftsDown) {
    TLumStrings s;
    s.Insert(0, "b");
    s.Insert(0, "a");
    s.Insert(2, "d");
    s.Insert(2, "c");
    EXPECT_EQ(Entries(s), (std::vector<std::string>{"a", "b", "c", "d"}));
    s.Delete(1);
    s.Delete(2);
    EXPECT_EQ(Entries(s), (std::vector<std::string>{"a", "c"}));
    s.Put(1, "z");
    EXPECT_EQ(s.Get(1), "z");
    EXPECT_EQ(s.IndexOf("z"), 1);
    EXPECT_EQ(s.IndexOf("Z"), -1);
}

TEST(LumStringsList, InsertingAnEntryOfTheStoreItselfSurvivesGrowth) {
    TLumStrings s;
    Fill(s, 32);
    ASSERT_EQ(s.Count(), s.Capacity());  // the next insertion reallocates the slots
    s.Insert(0, s.Get(31));
    s.Add(s.Get(0));
    EXPECT_EQ(s.Get(0), "line 31\r\n");
    EXPECT_EQ(s.Get(33), "line 31\r\n");
}

TEST(LumStringsList, GrowthAndCapacityFollowTheSizeRules) {
    TLumStrings s;
    s.Add("a");
    EXPECT_EQ(s.Capacity(), 32);  // at least 32 slots at a time
    s.SetCapacity(12800);
    s.SetCount(12800);
    EXPECT_EQ(s.Get(12799), "");
    s.Add("b");
    EXPECT_EQ(s.Capacity(), 12900);  // or 1/128 of the count when that is more

    s.SetCount(3);
    EXPECT_EQ(s.Count(), 3);
    EXPECT_EQ(s.Capacity(), 12900);
    s.SetCount(5);
    EXPECT_EQ(Entries(s), (std::vector<std::string>{"a", "", "", "", ""}));
    s.SetCapacity(5);
    EXPECT_EQ(s.Capacity(), 5);
    s.SetCount(7);  // grows the capacity to the count
    EXPECT_EQ(s.Capacity(), 7);

    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Capacity(), 0);
}

TEST(LumStringsList, AddStringsAndAssign) {
    TLumStrings s;
    s.Add("x");
    s.AddStrings({"a", "b"});
    EXPECT_EQ(Entries(s), (std::vector<std::string>{"x", "a", "b"}));
    EXPECT_EQ(s.Capacity(), 3);
    s.Assign({"q"});
    EXPECT_EQ(Entries(s), (std::vector<std::string>{"q"}));
    s.Assign({});
    EXPECT_EQ(s.Count(), 0);
}

}  // namespace
}  // namespace zentabo
