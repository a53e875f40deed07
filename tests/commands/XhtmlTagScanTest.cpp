#include "commands/XhtmlTagScan.h"

#include <gtest/gtest.h>

#include <string>

#include "store/Cp932Codec.h"

namespace zentabo {
namespace {

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8).bytes;
}

// The backward scan, checked against the scan from the start.
std::string OpenAtEnd(const std::string& text) {
    std::optional<std::string> tag = ClosingTagText(text, text.size());
    std::vector<XhtmlOpenTag> open = FindOpenElements(text, text.size());
    EXPECT_EQ(tag.has_value(), !open.empty()) << text;
    if (tag && !open.empty()) {
        EXPECT_EQ(*tag, "</" + open.back().name + ">") << text;
    }
    return tag ? *tag : "(none)";
}

TEST(XhtmlTagScanTest, ClosingTagSkipsWhatOpensNoElement) {
    EXPECT_EQ(OpenAtEnd("<div><p>a<br />b<img src=\"x\" alt=\"y\"/>"), "</p>");
    EXPECT_EQ(OpenAtEnd("<div><!-- <p> <em> --><?php echo '<b>'; ?>"), "</div>");
    EXPECT_EQ(OpenAtEnd("<div><![CDATA[ <p> </div> ]]>"), "</div>");
    EXPECT_EQ(OpenAtEnd("<div><a title=\"x > y\" href='a>b'>link"), "</a>");
    EXPECT_EQ(OpenAtEnd("<!DOCTYPE html [ <!ENTITY e \"<p>\"> ]><div>"), "</div>");
    EXPECT_EQ(OpenAtEnd("<p>a &lt; b < c</p><ul><li>x</li>"), "</ul>");
    // A ']' that is the trail byte of a double-byte character (0x815D) does not end
    // the CDATA section, so the <b> after it is still inside.
    EXPECT_EQ(OpenAtEnd("<div><![CDATA[\x81\x5D]> <b> ]]>"), "</div>");
    EXPECT_EQ(OpenAtEnd(Sjis("<p>日本語パソコン<em class=\"表\">ソ")), "</em>");
}

TEST(XhtmlTagScanTest, ClosingTagAfterEndTagsAndAtTheCaret) {
    // An end tag closes its element and everything opened inside it; a stray one
    // changes nothing.
    EXPECT_EQ(OpenAtEnd("<div><em><strong>x</em>"), "</div>");
    EXPECT_EQ(OpenAtEnd("<div></span>"), "</div>");
    EXPECT_EQ(OpenAtEnd("<p>a</p>"), "(none)");
    EXPECT_EQ(OpenAtEnd("<p>a</p><!-- <div> --> <div> <p> </p> </div>"), "(none)");
    const std::string text = "<ul><li>one</li><li>two</li></ul>";
    EXPECT_EQ(*ClosingTagText(text, text.find("two")), "</li>");
    EXPECT_EQ(*ClosingTagText(text, text.find("<li>two")), "</ul>");
    // A tag the caret stands in is not open yet.
    EXPECT_EQ(*ClosingTagText(text, text.find("i>two")), "</ul>");
    std::optional<XhtmlOpenTag> open = FindUnclosedElement(text, text.find("two"));
    ASSERT_TRUE(open);
    EXPECT_EQ(text.substr(open->start, open->end - open->start), "<li>");
}

TEST(XhtmlTagScanTest, DeepNestingNeedsNoRecursion) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "<div>";
    text += "<span>";
    EXPECT_EQ(OpenAtEnd(text), "</span>");
    EXPECT_EQ(FindOpenElements(text, text.size()).size(), 100001u);
}

std::string Partner(const std::string& text, std::size_t caret) {
    std::optional<XhtmlTagRange> r = FindPartnerTag(text, caret);
    return r ? text.substr(r->start, r->end - r->start) + "@" + std::to_string(r->start) : "(none)";
}

TEST(XhtmlTagScanTest, PartnerTagOfNestedElementsOfOneName) {
    const std::string text = "<div id=\"a\"><div>xy</div><!-- </div> --></div>";
    const std::size_t outerEnd = text.rfind("</div>");
    EXPECT_EQ(Partner(text, 0), "</div>@" + std::to_string(outerEnd));
    EXPECT_EQ(Partner(text, 5), "</div>@" + std::to_string(outerEnd));
    EXPECT_EQ(Partner(text, outerEnd + 3), "<div id=\"a\">@0");
    EXPECT_EQ(Partner(text, text.size()), "<div id=\"a\">@0");  // right after the '>'
    EXPECT_EQ(Partner(text, text.find("<div>")), "</div>@" + std::to_string(text.find("</div>")));
    EXPECT_EQ(Partner(text, text.find("y")), "(none)");
    EXPECT_EQ(Partner(text, text.find("<!--") + 6), "(none)");  // inside a comment
}

TEST(XhtmlTagScanTest, PartnerTagWithJapaneseAndEmptyTags) {
    const std::string text = Sjis("<p title=\"ソ>\">表<br />パ</p>");
    EXPECT_EQ(Partner(text, 2), "</p>@" + std::to_string(text.size() - 4));
    EXPECT_EQ(Partner(text, text.find("<br")), "(none)");
    EXPECT_EQ(Partner(text, text.size() - 2), Sjis("<p title=\"ソ>\">") + "@0");
    EXPECT_EQ(Partner("<p>open only", 1), "(none)");
    EXPECT_EQ(Partner("stray</p>", 6), "(none)");
}

}  // namespace
}  // namespace zentabo
