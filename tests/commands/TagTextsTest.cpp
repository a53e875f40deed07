#include "commands/TagTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace zentabo {
namespace {

TEST(TagTextsTest, BuildsOpeningTextsWithOnlyTheFilledAttributes) {
    EXPECT_EQ(OpeningTag("p", "note") + ClosingTag("p"), "<p class=\"note\"></p>");
    EXPECT_EQ(OpeningTag("h3", "x"), "<h3 class=\"x\">");
    EXPECT_EQ(OpeningTag("em", ""), "<em>");
    EXPECT_EQ(EmptyTag("br", ""), "<br />");
    EXPECT_EQ(EmptyTag("br", "c"), "<br class=\"c\" />");
    EXPECT_EQ(InsDelOpeningTag("ins", "a.html", "2004-01-01", ""),
              "<ins cite=\"a.html\" datetime=\"2004-01-01\">");
    EXPECT_EQ(InsDelOpeningTag("del", "", "", "old"), "<del class=\"old\">");
    EXPECT_EQ(AnchorOpeningTag("", "", "_blank"), "<a target=\"_blank\">");
    EXPECT_EQ(AnchorOpeningTag("x.html", "n", ""), "<a href=\"x.html\" name=\"n\">");
    EXPECT_EQ(ClassAttribute(""), "");
    // Values go in as entered: no escaping, no trimming.
    EXPECT_EQ(StyleAttribute(" color: red; "), " style=\" color: red; \"");
}

TEST(TagTextsTest, TrimsADroppedUrlAndFindsQuotes) {
    EXPECT_EQ(UrlOpeningTag(" \thttp://example.jp/\r\n"), "<a href=\"http://example.jp/\">");
    EXPECT_EQ(TrimUrl("\r\n"), "");
    EXPECT_TRUE(HoldsDoubleQuote("a\"b"));
    EXPECT_FALSE(HoldsDoubleQuote("\x93\xFA'"));
    // Behind a lone lead byte it would still end the attribute for a reader.
    EXPECT_TRUE(HoldsDoubleQuote("\x81\""));
}

TEST(TagTextsTest, ADroppedUrlCannotBreakTheAnchorsMarkup) {
    EXPECT_EQ(UrlOpeningTag("http://x/\"><script>\r\n"),
              "<a href=\"http://x/%22%3E%3Cscript%3E\">");
    EXPECT_EQ(UrlOpeningTag(std::string("\0 http://x/a\tb\x7F \0\0", 18)),
              "<a href=\"http://x/a%09b%7F\">");
    // Bare ampersands become references; existing references stay.
    EXPECT_EQ(UrlAttributeValue("?q=1&r=2&amp;s&#38;t&#x26;u&#;v&"),
              "?q=1&amp;r=2&amp;s&#38;t&#x26;u&amp;#;v&amp;");
    // A double-byte character's second byte is never taken for markup.
    EXPECT_EQ(UrlAttributeValue("\x93\xFA\x83\x5C"), "\x93\xFA\x83\x5C");
}

}  // namespace
}  // namespace zentabo
