#include "app/CommaText.h"

#include <gtest/gtest.h>

namespace zentabo {
namespace {

using Items = std::vector<std::string>;

TEST(CommaTextTest, QuotesOnlyItemsThatNeedIt) {
    EXPECT_EQ(JoinCommaText({}), "");
    EXPECT_EQ(JoinCommaText({""}), "\"\"");
    EXPECT_EQ(JoinCommaText({"note", "a b", "x,y", "say \"hi\"", "tab\there"}),
              "note,\"a b\",\"x,y\",\"say \"\"hi\"\"\",\"tab\there\"");
    // Double-byte text is taken as it is; no trail byte is a comma or a blank.
    EXPECT_EQ(JoinCommaText({"\x83\x41\x83\x43", "b"}), "\x83\x41\x83\x43,b");
}

TEST(CommaTextTest, BlanksAndControlsSeparateItemsOnReading) {
    EXPECT_EQ(SplitCommaText(""), Items{});
    EXPECT_EQ(SplitCommaText("  a b\tc\r\nd "), (Items{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitCommaText("a , b,,c"), (Items{"a", "b", "", "c"}));
    EXPECT_EQ(SplitCommaText("a,"), (Items{"a", ""}));
    EXPECT_EQ(SplitCommaText("\"a \"\"q\"\" b\",\"unclosed, still"),
              (Items{"a \"q\" b", "unclosed, still"}));
    EXPECT_EQ(SplitCommaText("\"a\"b"), (Items{"a", "b"}));
}

TEST(CommaTextTest, RoundTrips) {
    std::vector<Items> cases = {{""},
                                {"", ""},
                                {"a", "", "b", ""},
                                {" lead", "trail ", "\"", "\"\"", ",", "x\x01y"},
                                {"\x82\xA0 \x82\xA2", "plain"}};
    for (const Items& items : cases) EXPECT_EQ(SplitCommaText(JoinCommaText(items)), items);
}

}  // namespace
}  // namespace zentabo
