#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/LumStrings.h"

namespace zentabo {
namespace {

using storetest::Entries;
using storetest::ReferenceSplit;
using V = std::vector<std::string>;

std::string B(const char* s, std::size_t n) {
    return std::string(s, n);
}
const std::string kNul(1, '\0');

TEST(LumStringsText, SetTextSplitsOnlyAfterCrLf) {
    struct Case {
        std::string text;
        V entries;
    } cases[] = {
        {"", {kNul}},
        {"abc", {B("abc\0", 4)}},
        {B("abc\r\n\0", 6), {"abc\r\n", kNul}},
        {"abc\r\n", {"abc\r\n"}},  // no end-of-text entry unless the caller adds the NUL
        {"a\r\nb", {"a\r\n", B("b\0", 2)}},
        {"a\rbc", {B("a\rbc\0", 5)}},  // a lone CR, LF or NUL is a byte of its line
        {"a\r\r\nb\n", {"a\r\r\n", B("b\n\0", 3)}},
        {"abc\r", {B("abc\r\0", 5)}},
        {B("a\0b", 3), {B("a\0b\0", 4)}},
        {B("a\0", 2), {B("a\0", 2)}},  // the text's own final NUL is the end mark
        {B("\0\0", 2), {B("\0\0", 2)}},
        {B("a\r\0b", 4), {B("a\r\0b\0", 5)}},
    };
    for (const Case& c : cases) {
        TLumStrings s;
        s.SetText(c.text);
        EXPECT_EQ(Entries(s), c.entries) << ::testing::PrintToString(c.text);
        EXPECT_EQ(s.Capacity(), s.Count());
        EXPECT_EQ(ReferenceSplit(c.text, true), c.entries);
    }
}

TEST(LumStringsText, InsertTextLeavesTheLastPieceWithoutNulAndReturnsItsIndex) {
    struct Case {
        std::string text;
        V inserted;
    } cases[] = {
        {"", {""}},
        {"abc", {"abc"}},
        {"a\r\nb", {"a\r\n", "b"}},
        {"a\r\n", {"a\r\n"}},
        {"abc\r", {"abc\r"}},
        {B("a\0", 2), {B("a\0", 2)}},
        {B("a\0b\r\nc", 6), {B("a\0b\r\n", 5), "c"}},
        {"a\rb\nc", {"a\rb\nc"}},
    };
    for (const Case& c : cases) {
        TLumStrings s;
        s.SetText(B("x\r\ny\0", 5));
        int32_t index = 1;
        s.InsertText(index, c.text);
        V expected = {"x\r\n"};
        expected.insert(expected.end(), c.inserted.begin(), c.inserted.end());
        expected.push_back(B("y\0", 2));
        EXPECT_EQ(Entries(s), expected) << ::testing::PrintToString(c.text);
        EXPECT_EQ(index, static_cast<int32_t>(c.inserted.size()));
        EXPECT_EQ(s.Capacity(), s.Count());
    }
}

TEST(LumStringsText, CommaTextQuotesEntriesWithBlanksOrCommasAndEscapesNothing) {
    TLumStrings s;
    EXPECT_EQ(s.GetCommaText(), "");
    s.Assign({"a b", "c"});
    EXPECT_EQ(s.GetCommaText(), "\"a b\",c");
    s.Assign({"x,y", "", "say \"hi\"", "plain\"q"});
    EXPECT_EQ(s.GetCommaText(), "\"x,y\",,\"say \"hi\"\",plain\"q");
}

TEST(LumStringsText, SetCommaTextParsesQuotedAndPlainValues) {
    struct Case {
        std::string text;
        V entries;
    } cases[] = {
        {"", {}},
        {"\"a b\",c", {"a b", "c"}},
        {"box,,\"sec tion\",last", {"box", "", "sec tion", "last"}},
        {"a,", {"a"}},
        {",a", {"", "a"}},
        {"\"open", {"open"}},
        {"a\rb,c", {"a", "b", "c"}},      // CR ends a value like a comma
        {"ab\"cd,e", {"ab", "cd", "e"}},  // so does a quote
        {B("a\0b", 3), {"a", "b"}},
        {"\"q\"x,y", {"q", "", "y"}},  // one byte after the closing quote is skipped
    };
    for (const Case& c : cases) {
        TLumStrings s;
        s.Add("old");
        s.SetCommaText(c.text);
        EXPECT_EQ(Entries(s), c.entries) << ::testing::PrintToString(c.text);
    }
    TLumStrings s;
    s.Assign({"h1", "my class", "a,b"});
    TLumStrings back;
    back.SetCommaText(s.GetCommaText());
    EXPECT_EQ(Entries(back), Entries(s));
}

}  // namespace
}  // namespace zentabo
