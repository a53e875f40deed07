#include "commands/BlockBuilders.h"

#include <gtest/gtest.h>

namespace zentabo {
namespace {

TEST(BlockBuildersTest, ListsWrapEveryLineAndEndWithCrLf) {
    EXPECT_EQ(BuildList("a\r\nb", "ul", "menu"),
              "<ul class=\"menu\">\r\n<li>a</li>\r\n<li>b</li>\r\n</ul>\r\n");
    EXPECT_EQ(BuildList("\x93\xFA\n\n", "ol", ""),
              "<ol>\r\n<li>\x93\xFA</li>\r\n<li></li>\r\n</ol>\r\n");
    EXPECT_EQ(BuildList("", "ul", ""), "<ul>\r\n</ul>\r\n");
}

TEST(BlockBuildersTest, DefinitionListsFillAMissingLastDefinition) {
    EXPECT_EQ(BuildDefinitionList("HTML\r\nmarkup\r\nCSS\r\n", ""),
              "<dl>\r\n<dt>HTML</dt>\r\n<dd>markup</dd>\r\n<dt>CSS</dt>\r\n<dd></dd>\r\n</dl>\r\n");
    EXPECT_EQ(BuildDefinitionList("a\r\n\r\n", "x"),
              "<dl class=\"x\">\r\n<dt>a</dt>\r\n<dd></dd>\r\n</dl>\r\n");
    EXPECT_EQ(BuildDefinitionList("a", ""), "<dl>\r\n<dt>a</dt>\r\n<dd></dd>\r\n</dl>\r\n");
    EXPECT_EQ(BuildDefinitionList("", ""), "<dl>\r\n</dl>\r\n");
}

TEST(BlockBuildersTest, TablesSplitCellsAtEverySeparatorOnly) {
    EXPECT_EQ(BuildTable("a,b\r\nc", ',', ""),
              "<table border=\"1\">\r\n<tr><td>a</td><td>b</td></tr>\r\n<tr><td>c</td></tr>\r\n"
              "</table>\r\n");
    EXPECT_EQ(BuildTable("\"a,b\"\t,\n\n", '\t', "t"),
              "<table border=\"1\" class=\"t\">\r\n<tr><td>\"a,b\"</td><td>,</td></tr>\r\n"
              "<tr><td></td></tr>\r\n</table>\r\n");
    EXPECT_EQ(
        BuildTable(",\x93\xFA,", ',', ""),
        "<table border=\"1\">\r\n<tr><td></td><td>\x93\xFA</td><td></td></tr>\r\n</table>\r\n");
}

}  // namespace
}  // namespace zentabo
