#include "app/Utf8File.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDir.h"

namespace zentabo {
namespace {

TEST(Utf8FileTest, OnlyValidUtf8WithNonAsciiTextCountsAsUtf8) {
    // Japanese UTF-8 that happens to read as code page 932 characters too.
    const std::string konnichiwa = "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF";
    EXPECT_TRUE(DetectUtf8File(konnichiwa).utf8);
    EXPECT_FALSE(DetectUtf8File(konnichiwa).withBom);
    EXPECT_TRUE(DetectUtf8File("\xEF\xBB\xBF" + konnichiwa).withBom);
    EXPECT_TRUE(DetectUtf8File("\xEF\xBB\xBF").utf8);  // the mark alone says so
    EXPECT_TRUE(DetectUtf8File("caf\xC3\xA9").utf8);
    // Code page 932 text: kana, kanji and half-width kana are no UTF-8.
    for (const char* sjis : {"\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD", "\x93\x8C\x8B\x9E\x93\x73",
                             "\xB1\xB2\xB3", "\x81\x9A\x87\x40"}) {
        EXPECT_FALSE(DetectUtf8File(sjis).utf8) << sjis;
    }
    // Plain ASCII is both; overlong forms, surrogates and cut sequences are neither.
    for (const char* bytes :
         {"", "plain <p>\r\n", "\xC0\xAF", "\xED\xA0\x80", "\xE3\x81", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(DetectUtf8File(bytes).utf8) << bytes;
    }
}

TEST(Utf8FileTest, ConversionDropsTheMarkAndNamesWhatWouldBeLost) {
    Cp932EncodeResult ok = Utf8FileToCp932("\xEF\xBB\xBF\xE3\x81\x82\r\n\xE2\x91\xA0");  // あ ①
    EXPECT_TRUE(ok.ok());
    EXPECT_EQ(ok.bytes, "\x82\xA0\r\n\x87\x40");
    Cp932EncodeResult lost = Utf8FileToCp932("\xEF\xBB\xBFx\xF0\x9F\x98\x80y\xC3\xB1");  // 😀 ñ
    ASSERT_EQ(lost.unmappable.size(), 2u);
    EXPECT_EQ(lost.unmappable[0].codePoint, U'\U0001F600');
    EXPECT_EQ(lost.unmappable[0].offset, 4u);
}

using testing::TempDir;

// Told from the file, the kind is the one the whole bytes give; only the reading stops
// early, and only for a file that is surely no UTF-8.
TEST(Utf8FileTest, ReadingAFileTellsItsKindAsTheWholeBytesWould) {
    TempDir dir;
    const std::string a = "\xE3\x81\x82";  // あ in UTF-8
    std::string utf8(3u << 20, 'x');
    utf8.replace((1u << 20) - 1, 3, a);  // a character across the first step's end
    std::string lateBad = utf8;
    lateBad.back() = '\x82';
    const std::string sjis = std::string(100, 'x') + "\x82\xA0" + std::string(3u << 20, 'y');
    for (const std::string& bytes : {utf8, lateBad, sjis}) {
        const std::string path = dir.File("f.txt");
        std::ofstream(path, std::ios::binary) << bytes;
        Utf8FileRead read = ReadIfUtf8File(path);
        ASSERT_TRUE(read.file.exists);
        ASSERT_TRUE(read.file.status);
        EXPECT_EQ(read.kind.utf8, DetectUtf8File(bytes).utf8);
        EXPECT_EQ(read.file.data.empty(), !read.kind.utf8);
        if (read.kind.utf8) {
            EXPECT_EQ(read.file.data, bytes);
        }
    }
    EXPECT_FALSE(ReadIfUtf8File(dir.File("sjis")).file.exists);
    EXPECT_FALSE(ReadIfUtf8File(dir.Path().string()).file.status);  // a folder
}

}  // namespace
}  // namespace zentabo
