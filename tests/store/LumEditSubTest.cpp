#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/LumEditSub.h"
#include "store/StoreErrors.h"

namespace zentabo {
namespace {

TEST(ByteTypeAt, TellsSingleLeadAndTrailBytes) {
    const std::string s = "a\x82\xA0z";  // a, hiragana A, z
    EXPECT_EQ(ByteTypeAt(s, 1, false), kSingleByte);
    EXPECT_EQ(ByteTypeAt(s, 2, false), kLeadByte);
    EXPECT_EQ(ByteTypeAt(s, 3, false), kTrailByte);
    EXPECT_EQ(ByteTypeAt(s, 4, false), kSingleByte);
    // Outside the string, and in single-byte mode, everything is a single byte.
    EXPECT_EQ(ByteTypeAt(s, 0, false), kSingleByte);
    EXPECT_EQ(ByteTypeAt(s, 5, false), kSingleByte);
    EXPECT_EQ(ByteTypeAt("", 1, false), kSingleByte);
    for (int pos = 1; pos <= 4; ++pos) EXPECT_EQ(ByteTypeAt(s, pos, true), kSingleByte);
}

TEST(ByteTypeAt, TrailBytesWithLeadValuesDoNotConfuseTheParity) {
    // Two kanji whose trail bytes (0x9F, 0xE0) are lead-byte values, then a lead byte.
    const std::string s =
        "\x88\x9F\x88\xE0\x82\xA0"
        "a";
    const int expected[] = {kLeadByte, kTrailByte, kLeadByte,  kTrailByte,
                            kLeadByte, kTrailByte, kSingleByte};
    for (int pos = 1; pos <= 7; ++pos)
        EXPECT_EQ(ByteTypeAt(s, pos, false), expected[pos - 1]) << pos;
}

TEST(DetectLineBreakStyle, DecidesFromTheFirstBreakInTheFirst1024Bytes) {
    storetest::ScratchDir dir;
    struct Case {
        std::string bytes;
        int style;
    } cases[] = {
        {"abc", kBreakCr},
        {"abc\r\ndef\n", kBreakCrLf},
        {"abc\ndef\r\n", kBreakLf},
        {"abc\rdef\r\n", kBreakCr},
        {"abc\r", kBreakCr},
        {"", kBreakEmpty},
        {std::string("ab\0\r\n", 5), kBreakCrLf},       // a NUL byte is an ordinary byte
        {std::string(1023, 'x') + "\r\n", kBreakCrLf},  // the LF behind the look's last CR
        {std::string(1024, 'x') + "\n", kBreakCr},
    };
    for (const Case& c : cases) {
        std::string path = dir.Write("f.txt", c.bytes);
        EXPECT_EQ(DetectLineBreakStyle(path), c.style)
            << ::testing::PrintToString(c.bytes.substr(0, 12));
    }
}

TEST(DetectLineBreakStyle, MissingOrUnreadableFileThrowsFileError) {
    storetest::ScratchDir dir;
    EXPECT_THROW(DetectLineBreakStyle(dir.Path("no-such-file")), FileError);
    EXPECT_THROW(DetectLineBreakStyle(dir.Path("")), FileError);  // the folder itself
}

TEST(LineEndHelpers, StripAndTestTheMarkers) {
    const std::string nulEnd("ab\0", 3);
    EXPECT_EQ(StripLineEnd("ab\r\n"), "ab");
    EXPECT_EQ(StripLineEnd(nulEnd), "ab");
    EXPECT_EQ(StripLineEnd("ab"), "ab");
    EXPECT_EQ(StripLineEnd(""), "");
    EXPECT_EQ(StripEndMark(nulEnd), "ab");
    EXPECT_EQ(StripEndMark("ab\r\n"), "ab\r\n");

    EXPECT_TRUE(HasLineEnd("ab\r\n"));
    EXPECT_TRUE(HasLineEnd(nulEnd));
    EXPECT_FALSE(HasLineEnd("ab"));
    EXPECT_FALSE(HasLineEnd(""));
    EXPECT_FALSE(HasLineEnd("ab\n"));  // a lone LF is a byte of the line
    EXPECT_EQ(StripLineEnd("ab\n"), "ab\n");
    EXPECT_TRUE(HasEndMark(nulEnd));
    EXPECT_FALSE(HasEndMark("ab\r\n"));
    EXPECT_FALSE(HasEndMark(""));

    int a = 5, b = 2;
    OrderPair(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 5);
    OrderPair(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 5);
}

}  // namespace
}  // namespace zentabo
