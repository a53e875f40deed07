#include "commands/TextLines.h"

#include <gtest/gtest.h>

namespace zentabo {
namespace {

using Views = std::vector<std::string_view>;

TEST(TextLinesTest, SplitsAtEveryBreakKindWithNoLineAfterAFinalBreak) {
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (Views{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n"), (Views{"a"}));
    EXPECT_EQ(SplitTextLines("a\n\n"), (Views{"a", ""}));
    EXPECT_EQ(SplitTextLines("a\r\r\nb"), (Views{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("\n\r"), (Views{"", ""}));
    EXPECT_EQ(SplitTextLines(""), Views{});
    EXPECT_EQ(JoinTextLines(Views{"\x93\xFA", ""}), "\x93\xFA\r\n\r\n");
    EXPECT_EQ(JoinTextLines(Views{}), "");
}

TEST(TextLinesTest, ReplaceStartsOnlyWhereACharacterStarts) {
    // "ア" is 83 41: its second byte is an "A" that must not match.
    EXPECT_EQ(ReplaceEvery("\x83\x41", "A", "x"), "\x83\x41");
    // The full-width space is 81 40, "@" is 40.
    EXPECT_EQ(ReplaceEvery("\x81\x40@", "@", "#"), "\x81\x40#");
    // 83 81 is one character whose trail byte has a lead-byte value: the "A" after it
    // starts a character of its own.
    EXPECT_EQ(ReplaceEvery("\x83\x81"
                           "A",
                           "A", "x"),
              "\x83\x81x");
    EXPECT_EQ(ReplaceEvery("\x81\x81\x81"
                           "A",
                           "A", "x"),
              "\x81\x81\x81"
              "A");
    EXPECT_EQ(ReplaceEvery("\x82\xA0\x82\xA0", "\x82\xA0", "a"), "aa");
    // A pattern ending in a lead byte would cut a character: it never matches.
    EXPECT_EQ(ReplaceEvery("\x82\xA0", "\x82", "x"), "\x82\xA0");
    EXPECT_EQ(ReplaceEvery("abc", "", "x"), "abc");
}

TEST(TextLinesTest, ReplaceIsOnePassThatNeverRescansItsOutput) {
    EXPECT_EQ(ReplaceEvery("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceEvery("aab", "ab", "b"), "ab");
    EXPECT_EQ(ReplaceEvery("a", "a", "aa"), "aa");
    EXPECT_EQ(ReplaceEveryOf("x&y", {{"&", "&amp;"}, {"amp", "?"}}), "x&amp;y");
}

TEST(TextLinesTest, TrimsBlanksUpTo32ButNoFullWidthSpaceOrTrailByte) {
    EXPECT_EQ(TrimBlanksLeft("\t \x01x "), "x ");
    EXPECT_EQ(TrimBlanksRight(" x\t\x1F "), " x");
    EXPECT_EQ(TrimBlanksRight("\x81\x40"), "\x81\x40");
    // A lead byte takes the byte after it, even a space.
    EXPECT_EQ(TrimBlanksRight("a\x81 "), "a\x81 ");
    EXPECT_EQ(TrimBlanksRight("a\x81"), "a\x81");
    EXPECT_EQ(TrimBlanksRight("   "), "");
}

}  // namespace
}  // namespace zentabo
