#include "commands/TextTransforms.h"

#include <gtest/gtest.h>

namespace zentabo {
namespace {

// 日本 and 語 in code page 932.
constexpr const char* kNihon = "\x93\xFA\x96\x7B";
constexpr const char* kGo = "\x8C\xEA";

TEST(ParagraphConversionTest, MarksParagraphsAndBreaksInJoinedForm) {
    EXPECT_EQ(ConvertParagraphs("a\r\nb\r\n\r\nc"), "<p>a<br />\r\nb</p>\r\n\r\n<p>c</p>\r\n");
    EXPECT_EQ(ConvertParagraphs("x"), "<p>x</p>\r\n");
    EXPECT_EQ(ConvertParagraphs(std::string(kNihon) + "\n" + kGo + "\r"),
              std::string("<p>") + kNihon + "<br />\r\n" + kGo + "</p>\r\n");
    // A line of one space is text.
    EXPECT_EQ(ConvertParagraphs("\r\n \r\n\r\n"), "\r\n<p> </p>\r\n\r\n");
    EXPECT_EQ(ConvertParagraphs(""), "");
    EXPECT_EQ(ConvertParagraphs("\r\n"), "\r\n");
}

TEST(ParagraphConversionTest, CollapsesDoubledTagsSoASecondRunChangesNothing) {
    const std::string once = ConvertParagraphs("a\r\nb\r\n\r\nc\r\n\r\n\r\nd");
    EXPECT_EQ(ConvertParagraphs(once), once);
    EXPECT_EQ(ConvertParagraphs("<p>x</p>"), "<p>x</p>\r\n");
    EXPECT_EQ(ConvertParagraphs("a<br />\r\nb"), "<p>a<br />\r\nb</p>\r\n");
    // Pairs that stood in the text before collapse too, one level per pass.
    EXPECT_EQ(ConvertParagraphs("<p><p><p>x"), "<p><p>x</p>\r\n");
}

TEST(HtmlCodingTest, EncodesInOrderAndDecodesAmpFirstOneLevel) {
    EXPECT_EQ(EncodeHtml("a&b<c"), "a&amp;b&lt;c");
    EXPECT_EQ(EncodeHtml(std::string("<a href=\"") + kNihon + "\">&</a>"),
              std::string("&lt;a href=&quot;") + kNihon + "&quot;&gt;&amp;&lt;/a&gt;");
    EXPECT_EQ(DecodeHtml("&amp;amp;"), "&amp;");
    EXPECT_EQ(DecodeHtml("&amp;lt;"), "<");
    EXPECT_EQ(DecodeHtml("&lt;&gt;&quot;"), "<>\"");
    EXPECT_EQ(DecodeHtml("&AMP; &#60; &lt"), "&AMP; &#60; &lt");
    // A "<" behind a lone lead byte is that byte's partner, not a character.
    EXPECT_EQ(EncodeHtml("\x81<"), "\x81<");
    const std::string japanese = std::string(kNihon) + "<&>\"" + kGo + "\x81\x40";
    EXPECT_EQ(DecodeHtml(EncodeHtml(japanese)), japanese);
}

TEST(MailCodingTest, EncodesEveryAtAndDotButNoTrailByte) {
    EXPECT_EQ(EncodeMail("a@b.jp. End."), "a&#64;b&#46;jp&#46; End&#46;");
    // Full-width space (81 40) and full-width at sign (81 97) stay.
    EXPECT_EQ(EncodeMail("\x81\x40\x81\x97@"), "\x81\x40\x81\x97&#64;");
    EXPECT_EQ(DecodeMail("a&#64;b&#46;c &#065;"), "a@b.c &#065;");
    const std::string mail = std::string(kNihon) + " info@example.jp";
    EXPECT_EQ(DecodeMail(EncodeMail(mail)), mail);
}

TEST(TrimTest, TrimsEveryLineToJoinedForm) {
    EXPECT_EQ(TrimLines("\x81\x40x\x81\x40"), "\x81\x40x\x81\x40\r\n");
    EXPECT_EQ(TrimLines("\tx \r  y\n\n"), "x\r\ny\r\n\r\n");
    EXPECT_EQ(TrimLinesLeft(" \tx \r\n"), "x \r\n");
    EXPECT_EQ(TrimLinesRight(std::string(" ") + kNihon + "\t \r\n"),
              std::string(" ") + kNihon + "\r\n");
    EXPECT_EQ(TrimLines(""), "");
}

TEST(QuoteTest, PutsTheMarkBeforeEveryLine) {
    EXPECT_EQ(QuoteLines("a\r\n\r\n", ">"), ">a\r\n>\r\n");
    EXPECT_EQ(QuoteLines(std::string(kNihon) + "\nb", "\x81\x84 "),
              std::string("\x81\x84 ") + kNihon + "\r\n\x81\x84 b\r\n");
    EXPECT_EQ(QuoteLines("", ">"), "");
}

}  // namespace
}  // namespace zentabo
