#include "app/TaggedValues.h"

#include <gtest/gtest.h>

namespace zentabo {
namespace {

std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

TEST(TaggedValuesTest, IntegersTakeTheShortestForm) {
    struct Case {
        std::int32_t value;
        std::string bytes;
    } cases[] = {{0, Bytes({2, 0})},
                 {-128, Bytes({2, 0x80})},
                 {127, Bytes({2, 0x7F})},
                 {128, Bytes({3, 0x80, 0})},
                 {-129, Bytes({3, 0x7F, 0xFF})},
                 {200, Bytes({3, 0xC8, 0})},
                 {32767, Bytes({3, 0xFF, 0x7F})},
                 {32768, Bytes({4, 0, 0x80, 0, 0})},
                 {-32769, Bytes({4, 0xFF, 0x7F, 0xFF, 0xFF})},
                 {INT32_MIN, Bytes({4, 0, 0, 0, 0x80})}};
    for (const Case& c : cases) {
        std::string out;
        TaggedValueWriter(out).WriteInteger(c.value);
        EXPECT_EQ(out, c.bytes) << c.value;
        TaggedValueReader reader(out);
        std::int32_t back = 0;
        ASSERT_TRUE(reader.ReadInteger(back));
        EXPECT_EQ(back, c.value);
        EXPECT_TRUE(reader.AtEnd());
    }
}

TEST(TaggedValuesTest, StringForms) {
    std::string out;
    TaggedValueWriter w(out);
    w.WriteString("");
    w.WriteString("abc");
    w.WriteString("\x82\xA0");  // あ
    EXPECT_EQ(out, Bytes({6, 0, 6, 3, 'a', 'b', 'c', 0x14, 3, 0, 0, 0, 0xE3, 0x81, 0x82}));

    std::string ascii(300, 'x');
    std::string longOut;
    TaggedValueWriter(longOut).WriteString(ascii);
    EXPECT_EQ(longOut.substr(0, 5), Bytes({0x0C, 0x2C, 0x01, 0, 0}));
    EXPECT_EQ(longOut.size(), 305u);
}

TEST(TaggedValuesTest, TextThatUtf8CannotCarryIsStoredAsItsBytes) {
    // Bad bytes and an NEC-selected IBM duplicate code would change on the way
    // through UTF-8; they are kept byte for byte instead.
    for (std::string text : {Bytes({'a', 0x80, 'b'}), Bytes({0xED, 0x40}), Bytes({'x', 0x81}),
                             std::string(300, 'y') + Bytes({0xFF})}) {
        std::string out;
        ASSERT_TRUE(TaggedValueWriter(out).WriteString(text));
        EXPECT_TRUE(out[0] == kTagString || out[0] == kTagLString);
        TaggedValueReader r(out);
        std::string back;
        ASSERT_TRUE(r.ReadString(back));
        EXPECT_EQ(back, text);
    }
}

TEST(TaggedValuesTest, ReaderAcceptsWStringAndBooleans) {
    // WString: count of UTF-16 units, then UTF-16LE; "aあ".
    const std::string data = Bytes({0x12, 2, 0, 0, 0, 'a', 0, 0x42, 0x30, 9, 8, 2, 5});
    TaggedValueReader r(data);
    std::string s;
    ASSERT_TRUE(r.ReadString(s));
    EXPECT_EQ(s, "a\x82\xA0");
    bool b = false;
    ASSERT_TRUE(r.ReadBoolean(b));
    EXPECT_TRUE(b);
    ASSERT_TRUE(r.ReadBoolean(b));
    EXPECT_FALSE(b);
    ASSERT_TRUE(r.ReadBoolean(b));  // any other tag is false
    EXPECT_FALSE(b);
    EXPECT_FALSE(r.ReadBoolean(b) && r.ReadBoolean(b));  // 05 is read, then the end
    EXPECT_TRUE(r.Failed());
}

TEST(TaggedValuesTest, DamagedValuesFailAndStayFailed) {
    std::vector<std::string> badStrings = {
        "",
        Bytes({6}),
        Bytes({6, 5, 'a'}),
        Bytes({0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}),  // 2 GiB announced, 1 byte there
        Bytes({0x0C, 0xFF, 0xFF, 0xFF, 0xFF}),       // negative length
        Bytes({0x14, 2, 0, 0, 0, 0xC3, 0xA9}),       // é: not in code page 932
        Bytes({0x14, 1, 0, 0, 0, 0xFF}),             // not UTF-8
        Bytes({0x12, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}),
        Bytes({0x12, 1, 0, 0, 0, 0x00, 0xD8}),  // lone surrogate
        Bytes({2, 1}),                          // an integer where a string belongs
        Bytes({0x0A, 0, 0, 0, 0})};
    for (const std::string& data : badStrings) {
        TaggedValueReader r(data);
        std::string s;
        EXPECT_FALSE(r.ReadString(s)) << ::testing::PrintToString(data);
        EXPECT_TRUE(r.Failed());
    }
    std::vector<std::string> badIntegers = {
        "", Bytes({2}), Bytes({3, 1}), Bytes({4, 1, 2, 3}), Bytes({6, 0}), Bytes({9})};
    for (const std::string& data : badIntegers) {
        TaggedValueReader r(data);
        std::int32_t n = 0;
        EXPECT_FALSE(r.ReadInteger(n)) << ::testing::PrintToString(data);
    }
    // A failed reader never resumes, even where a valid value follows.
    const std::string valid = Bytes({6, 0, 2, 1});
    TaggedValueReader r(valid);
    std::int32_t n = 0;
    EXPECT_FALSE(r.ReadInteger(n));
    EXPECT_FALSE(r.ReadInteger(n));
}

}  // namespace
}  // namespace zentabo
