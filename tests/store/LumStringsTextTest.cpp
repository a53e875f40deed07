#include <gtest/gtest.h>

#include <random>

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

TEST(LumStringsText, SetTextSplitsAfterCrAndItsNextByteOrAfterNul) {
    struct Case {
        std::string text;
        V entries;
    } cases[] = {
        {"", {kNul}},
        {"abc", {B("abc\0", 4)}},
        {B("abc\r\n\0", 6), {"abc\r\n", kNul}},
        {"abc\r\n", {"abc\r\n"}},  // no end-of-text entry unless the caller adds the NUL
        {"a\r\nb", {"a\r\n", B("b\0", 2)}},
        {"a\rbc", {"a\rb", B("c\0", 2)}},            // a CR takes the next byte, whatever it is
        {"abc\r", {B("abc\r\0", 5)}},                // ... even the terminating NUL
        {B("a\0b", 3), {B("a\0", 2), B("b\0", 2)}},  // a NUL inside ends an entry
        {B("\0\0", 2), {kNul, kNul}},
        {B("a\r\0b", 4), {B("a\r\0", 3), B("b\0", 2)}},
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
        {B("a\0b\r\nc", 6), {B("a\0", 2), "b\r\n", "c"}},
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

TEST(LumStringsText, RandomTextsSplitAsTheReferenceAndJoinBackWhole) {
    std::mt19937 rng(99);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0', '\x82', ' '};
    for (int round = 0; round < 500; ++round) {
        std::string text;
        int len = static_cast<int>(rng() % 200);
        for (int i = 0; i < len; ++i) text += alphabet[rng() % sizeof alphabet];
        TLumStrings s;
        s.SetText(text);
        ASSERT_EQ(Entries(s), ReferenceSplit(text, true)) << ::testing::PrintToString(text);
        std::string joined = s.GetText();
        ASSERT_EQ(joined.substr(0, text.size()), text);
        ASSERT_LE(joined.size(), text.size() + 1);

        int32_t at = s.Count() / 2;
        int32_t first = at;
        V before = Entries(s);
        s.InsertText(at, text);
        V expected = before;
        V pieces = ReferenceSplit(text, false);
        expected.insert(expected.begin() + first, pieces.begin(), pieces.end());
        ASSERT_EQ(Entries(s), expected) << ::testing::PrintToString(text);
        ASSERT_EQ(at, first + static_cast<int32_t>(pieces.size()) - 1);
    }
}

TEST(LumStringsText, GetTextJoinsEverythingWithTheMarkers) {
    TLumStrings s;
    s.SetText(B("a\r\nb\0", 5));
    s.Insert(1, "wrapped ");
    EXPECT_EQ(s.GetText(), B("a\r\nwrapped b\0", 13));
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
