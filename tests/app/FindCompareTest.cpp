#include "app/FindCompare.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <string>

#include "store/Cp932Codec.h"

namespace zentabo {
namespace {

int Find(std::string_view str, std::string_view pattern, bool matchCase = false) {
    return FindCompare(str, pattern, matchCase);
}

TEST(FindCompareTest, HalfWidthLettersFoldUnlessMatchCase) {
    EXPECT_EQ(Find("Hello World", "world"), 7);
    EXPECT_EQ(Find("Hello World", "WORLD"), 7);
    EXPECT_EQ(Find("Hello World", "world", true), 0);
    EXPECT_EQ(Find("Hello World", "World", true), 7);
    EXPECT_EQ(Find("abcABC", "ABC", true), 4);
    EXPECT_EQ(Find("abcABC", "ABC"), 1);
    // Only letters fold: '@' (0x40) and '`' (0x60) stay apart, as do '[' and '{'.
    EXPECT_EQ(Find("`{", "@"), 0);
    EXPECT_EQ(Find("{", "["), 0);
}

TEST(FindCompareTest, FullWidthGreekAndCyrillicLettersFold) {
    const std::string upperA = "\x82\x60", lowerA = "\x82\x81";  // Ａ ａ
    const std::string lowerZ = "\x82\x9A", upperZ = "\x82\x79";  // ｚ Ｚ
    const std::string text = "x" + lowerA + upperZ;
    EXPECT_EQ(Find(text, upperA + lowerZ), 2);
    EXPECT_EQ(Find(text, upperA + lowerZ, true), 0);
    EXPECT_EQ(Find(text, lowerA + upperZ, true), 2);
    EXPECT_EQ(Find("\x83\xBF", "\x83\x9F"), 1);  // α finds Α
    EXPECT_EQ(Find("\x84\x76", "\x84\x46"), 1);  // ё finds Ё
    EXPECT_EQ(Find("\x84\x91", "\x84\x60"), 1);  // я finds Я, past the gap at 847F
    EXPECT_EQ(Find("\x84\x91", "\x84\x60", true), 0);
    // Small and capital Roman numerals meet whichever of their codes they have.
    EXPECT_EQ(Find("-\xFA\x40", "\xFA\x4A"), 2);
    EXPECT_EQ(Find("\xEE\xEF", "\x87\x54"), 1);
    EXPECT_EQ(Find("\xFA\x4A", "\x87\x54", true), 0);
    // A half-width letter never matches its full-width form.
    EXPECT_EQ(Find(lowerA, "a"), 0);
    EXPECT_EQ(Find("A", upperA), 0);
}

TEST(FindCompareTest, DoubleByteFoldAgreesWithUnicodeCaseMapping) {
    // Every cased character is keyed by the code of its capital; nothing else changes.
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0; trail < 256; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string u = Cp932ToUtf16(bytes);
            std::uint16_t expected = static_cast<std::uint16_t>(lead << 8 | trail);
            if (u.size() == 1 && u[0] != 0xFFFD &&
                (u_toupper(u[0]) != u[0] || u_tolower(u[0]) != u[0])) {
                const Cp932EncodeResult up =
                    Utf16ToCp932(std::u16string(1, char16_t(u_toupper(u[0]))));
                ASSERT_TRUE(up.ok());
                ASSERT_EQ(up.bytes.size(), 2u) << lead << " " << trail;
                expected = static_cast<std::uint16_t>(static_cast<unsigned char>(up.bytes[0]) << 8 |
                                                      static_cast<unsigned char>(up.bytes[1]));
            }
            ASSERT_EQ(FoldDoubleByte(lead, trail), expected) << std::hex << lead << " " << trail;
        }
    }
}

TEST(FindCompareTest, TrailBytesNeverStartOrEndAMatch) {
    const std::string a = "\x83\x41";  // ア: its trail byte is 'A'
    EXPECT_EQ(Find(a, "a"), 0);
    EXPECT_EQ(Find(a, "A", true), 0);
    EXPECT_EQ(Find(a + "A", "A"), 3);
    EXPECT_EQ(Find("\x83\x61", "A"), 0);  // trail byte 'a' under case folding
    // 'ｱ' sits as a trail byte inside 0x82 0xB1 and alone at the end.
    EXPECT_EQ(Find("\x82\xB1\xB1", "\xB1"), 3);
    // A search text ending in a lone lead byte must not end inside a character...
    EXPECT_EQ(Find("x\x83\x41", "x\x83"), 0);
    // ...but matches the lone lead byte a line can end with.
    EXPECT_EQ(Find("x\x83", "x\x83"), 1);
    EXPECT_EQ(Find("\x83", "\x83"), 1);
    // Trail bytes with lead-byte values: 0x81 0x81 0x81 0x81 is two characters, so
    // the middle pair 0x81 0x81 is not one.
    EXPECT_EQ(Find("a\x81\x81\x81\x81", "\x81\x81"), 2);
    EXPECT_EQ(Find("a\x81\x81\x81\x81", "\x81\x81\x81"), 0);
    EXPECT_EQ(Find("\x81\x81\x81\x81\x81", "\x81"), 5);
    // A lead byte takes any next byte, as the editor reads it: 0x83 LF is one character.
    EXPECT_EQ(Find("\x83\n", "\n"), 0);
}

TEST(FindCompareTest, FalseStartsInTrailBytesAreSkippedAnywhereInALongLine) {
    // ｚ is 0x82 0x9A; here 0x82 0x82 is one character and 0x9A 'x' another.
    EXPECT_EQ(Find("\x82\x82\x9A", "\x82\x9A"), 0);
    EXPECT_EQ(Find("\x82\x82\x9Ax\x82\x9A", "\x82\x79"), 5);
    // Longer than a word, with runs of lead-valued bytes: every 'A' is a trail byte.
    std::string line;
    for (int i = 0; i < 9; ++i) line += "\x88\x9F\xE9\xE9\x83\x41";
    const int size = static_cast<int>(line.size());
    EXPECT_EQ(Find(line, "a"), 0);
    EXPECT_EQ(Find(line + "A", "a"), size + 1);
    // One more lead byte shifts the pairs: 0x81 0x83 is a character, 'B' stands alone.
    EXPECT_EQ(Find(line + "\x81\x83\x42", "\x83\x42", true), 0);  // イ
    EXPECT_EQ(Find(line + "\x81\x83\x42", "b"), size + 3);
    EXPECT_EQ(Find(line + "\x83\x42", "\x83\x42", true), size + 1);
    // The small Roman numeral has four codes to look for.
    EXPECT_EQ(Find(line + "\xEE\xEF", "\xFA\x4A"), size + 1);
    EXPECT_EQ(Find(line + "\x82\xEE\xEF", "\xFA\x4A"), 0);
}

TEST(FindCompareTest, EmptyLongAndNulTexts) {
    EXPECT_EQ(Find("abc", ""), 0);
    EXPECT_EQ(Find("", ""), 0);
    EXPECT_EQ(Find("", "a"), 0);
    EXPECT_EQ(Find("abc", "abcd"), 0);
    EXPECT_EQ(Find("abc", "abc"), 1);
    const std::string nul("a\0b\0c", 5);
    EXPECT_EQ(Find(nul, std::string("\0c", 2)), 4);
    EXPECT_EQ(Find(nul, std::string("B\0", 2)), 3);
    EXPECT_EQ(Find(nul, std::string("\0", 1)), 2);
    EXPECT_EQ(Find("abc", std::string("\0", 1)), 0);
}

TEST(FindCompareTest, RepetitiveLinesFindTheFirstMatch) {
    // Partial matches that fail late must not skip a match that starts inside them.
    EXPECT_EQ(Find("aaab", "aab"), 2);
    EXPECT_EQ(Find("abababac", "ababac"), 3);
    const std::string aa = "\x82\x81\x82\x81";                                // ａａ
    EXPECT_EQ(Find(aa + "\x82\x81\x82\x62", "\x82\x60\x82\x60\x82\x62"), 3);  // ＡＡＣ
    std::string big(1 << 20, 'a');
    big += 'b';
    EXPECT_EQ(Find(big, std::string(1000, 'A') + "B"), (1 << 20) - 1000 + 1);
}

TEST(FindCompareTest, TheFlagAndTheTextAreReadAtEveryCall) {
    // The prepared text behind FindCompare follows a change of either.
    EXPECT_EQ(Find("abAb", "Ab", true), 3);
    EXPECT_EQ(Find("abAb", "Ab", false), 1);
    EXPECT_EQ(Find("abAb", "b", true), 2);
}

}  // namespace
}  // namespace zentabo
