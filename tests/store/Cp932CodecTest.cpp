#include "store/Cp932Codec.h"

#include <gtest/gtest.h>

#include <string>

namespace zentabo {
namespace {

std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

bool IsLead(int b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

TEST(Cp932CodecTest, EveryDoubleByteCodeComesBackAsItselfOrItsCanonicalCode) {
    int mapped = 0;
    int duplicates = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLead(lead)) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            std::string code = Bytes({lead, trail});
            std::u16string text = Cp932ToUtf16(code);
            if (text == u"\uFFFD\uFFFD") continue;  // unassigned in the table
            ASSERT_EQ(text.size(), 1u) << std::hex << lead << trail;
            ++mapped;
            Cp932EncodeResult back = Utf16ToCp932(text);
            ASSERT_TRUE(back.ok());
            ASSERT_EQ(back.bytes.size(), 2u);
            std::string viaUtf8;
            bool lossless = Cp932ToUtf8Lossless(code, viaUtf8);
            if (back.bytes != code) {
                ++duplicates;
                EXPECT_FALSE(lossless);
                // The canonical code must stand for the very same character.
                EXPECT_EQ(Cp932ToUtf16(back.bytes), text);
                EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(back.bytes)).bytes, back.bytes);
            } else {
                EXPECT_TRUE(lossless);
            }
            EXPECT_EQ(Utf8ToCp932(viaUtf8).bytes, back.bytes);
        }
    }
    // Microsoft's table: JIS X 0208 with NEC and IBM extensions and the user area.
    EXPECT_EQ(mapped, 9604);
    EXPECT_EQ(duplicates, 398);
}

TEST(Cp932CodecTest, KnownCodesAndDuplicates) {
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x82, 0xA0})), u"あ");
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x88, 0x9F})), u"亜");
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x81, 0x40})), u"\u3000");
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x81, 0x60})), u"\uFF5E");  // Microsoft's wave dash
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x81, 0x84})), u"＞");
    EXPECT_EQ(Cp932ToUtf16(Bytes({0xF0, 0x40})), u"\uE000");  // user-defined area
    // NEC row 13 and NEC-selected IBM codes fold onto their canonical codes.
    EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(Bytes({0x87, 0x90}))).bytes, Bytes({0x81, 0xE0}));
    EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(Bytes({0xED, 0x40}))).bytes, Bytes({0xFA, 0x5C}));
    EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(Bytes({0xEE, 0xF9}))).bytes, Bytes({0x81, 0xCA}));
}

TEST(Cp932CodecTest, SingleBytes) {
    for (int b = 0; b < 0x80; ++b) {
        std::string s = Bytes({b});
        ASSERT_EQ(Cp932ToUtf16(s), std::u16string(1, char16_t(b))) << b;
        ASSERT_EQ(Utf16ToCp932(std::u16string(1, char16_t(b))).bytes, s) << b;
    }
    for (int b = 0xA1; b <= 0xDF; ++b) {
        std::string s = Bytes({b});
        std::u16string kana(1, char16_t(0xFF61 + b - 0xA1));
        ASSERT_EQ(Cp932ToUtf16(s), kana);
        ASSERT_EQ(Utf16ToCp932(kana).bytes, s);
        std::string utf8;
        EXPECT_TRUE(Cp932ToUtf8Lossless(s, utf8));
    }
    for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) {
        std::string s = Bytes({b, 'a'});
        EXPECT_EQ(Cp932ToUtf16(s), u"\uFFFDa") << b;
        std::string utf8;
        EXPECT_FALSE(Cp932ToUtf8Lossless(s, utf8));
        EXPECT_EQ(utf8,
                  "\xEF\xBF\xBD"
                  "a");
    }
    // Nothing encodes to those bytes: the characters Windows shows for them are unmappable.
    for (char16_t u : {u'\u0080', u'\u00A0', u'\uF8F0', u'\uF8F3'}) {
        EXPECT_FALSE(Utf16ToCp932(std::u16string(1, u)).ok());
    }
}

TEST(Cp932CodecTest, BadBytesGiveOneReplacementEach) {
    // Lead byte before a byte that cannot be a trail byte: the next byte stands alone.
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x81, 0x20, 'x'})), u"\uFFFD x");
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x81, 0x7F})), u"\uFFFD\x7F");
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x81, 0x0D, 0x0A})), u"\uFFFD\r\n");
    // Lone lead byte at the end.
    EXPECT_EQ(Cp932ToUtf16(Bytes({'a', 0xE0})), u"a\uFFFD");
    // A well-formed but unassigned pair: both bytes are bad.
    EXPECT_EQ(Cp932ToUtf16(Bytes({0x85, 0x40, 'x'})), u"\uFFFD\uFFFDx");
    EXPECT_EQ(Cp932ToUtf8(Bytes({0x85, 0x40})), "\xEF\xBF\xBD\xEF\xBF\xBD");
    // The same bytes always decode the same way, also split at any point.
    std::string mixed = Bytes({'<', 0x82, 0xA0, 0x81, 0xFF, 0xA1, 0x88, 0x9F, 0x81});
    EXPECT_EQ(Cp932ToUtf16(mixed), u"<あ\uFFFD\uFFFD｡亜\uFFFD");
}

TEST(Cp932CodecTest, UnmappableCharactersAreReportedWithOffsets) {
    Cp932EncodeResult r = Utf16ToCp932(u"aé§あ\U0001F600¢x\xD800y");
    ASSERT_EQ(r.unmappable.size(), 4u);
    EXPECT_EQ(r.unmappable[0].offset, 1u);
    EXPECT_EQ(r.unmappable[0].codePoint, U'é');
    EXPECT_EQ(r.unmappable[1].offset, 4u);
    EXPECT_EQ(r.unmappable[1].codePoint, U'\U0001F600');
    EXPECT_EQ(r.unmappable[2].offset, 6u);
    EXPECT_EQ(r.unmappable[2].codePoint, U'¢');
    EXPECT_EQ(r.unmappable[3].offset, 8u);
    EXPECT_EQ(r.unmappable[3].codePoint, char32_t(0xD800));
    EXPECT_EQ(r.bytes, Bytes({'a', 0x81, 0x98, 0x82, 0xA0, 'x', 'y'}));

    Cp932EncodeResult u8 = Utf8ToCp932("é=\xC3\xA9 \xF0\x9F\x98\x80!");
    ASSERT_EQ(u8.unmappable.size(), 3u);
    EXPECT_EQ(u8.unmappable[0].offset, 0u);
    EXPECT_EQ(u8.unmappable[1].offset, 3u);
    EXPECT_EQ(u8.unmappable[2].offset, 6u);
    EXPECT_EQ(u8.unmappable[2].codePoint, U'\U0001F600');
    EXPECT_EQ(u8.bytes, "= !");
}

TEST(Cp932CodecTest, LatinOneCharactersFollowTheTable) {
    // Only these Latin-1 characters have codes; the rest (é, ¥, ¢ ...) are reported,
    // never replaced by a look-alike.
    for (char16_t u : {u'§', u'¨', u'°', u'±', u'´', u'¶', u'×', u'÷'}) {
        EXPECT_TRUE(Utf16ToCp932(std::u16string(1, u)).ok()) << int(u);
    }
    for (char16_t u : {u'é', u'¥', u'¢', u'£', u'¬', u'\u203E', u'\u301C', u'\u2212'}) {
        EXPECT_FALSE(Utf16ToCp932(std::u16string(1, u)).ok()) << int(u);
    }
}

TEST(Cp932CodecTest, MalformedUtf8IsReportedPerByte) {
    Cp932EncodeResult r = Utf8ToCp932("a\xC3(\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80z\xE3\x81");
    std::vector<std::size_t> offsets;
    for (const auto& u : r.unmappable) {
        EXPECT_EQ(u.codePoint, U'\uFFFD');
        offsets.push_back(u.offset);
    }
    EXPECT_EQ(offsets, (std::vector<std::size_t>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14}));
    EXPECT_EQ(r.bytes, "a(z");
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (char16_t u : text) {
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

// The UTF-8 paths convert in chunks with shortcuts for ASCII; they must agree with
// the plain UTF-16 paths on any bytes, also where a pair or a bad byte straddles a
// chunk boundary.
TEST(Cp932CodecTest, Utf8AndUtf16PathsAgreeOnAnyBytes) {
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 20; ++round) {
        std::string bytes;
        std::size_t size = 40000 + next() % 1000;
        while (bytes.size() < size) {
            std::uint32_t r = next() >> 8;
            if (round % 2 == 0 && r % 4 != 0) {
                bytes.append(r % 17, 'a');  // ASCII runs of every length
            } else if (r % 3 == 0) {
                bytes += Bytes({0x82, 0xA0});
            } else {
                bytes += static_cast<char>(r >> 8);
            }
        }
        std::u16string text = Cp932ToUtf16(bytes);
        std::string utf8;
        bool lossless = Cp932ToUtf8Lossless(bytes, utf8);
        ASSERT_EQ(utf8, Utf16ToUtf8(text)) << round;
        Cp932EncodeResult via16 = Utf16ToCp932(text);
        Cp932EncodeResult via8 = Utf8ToCp932(utf8);
        EXPECT_EQ(lossless, via16.bytes == bytes && via16.ok());
        EXPECT_EQ(via8.bytes, via16.bytes);
        EXPECT_EQ(via8.unmappable.size(), via16.unmappable.size());
    }
}

}  // namespace
}  // namespace zentabo
