#include "app/IniFile.h"

#include <gtest/gtest.h>

#include "TempDir.h"

namespace zentabo {
namespace {

TEST(IniFileTest, NamesMatchWithoutRegardToAsciiCase) {
    IniFile ini("[window]\r\ntOP=5\r\n[\x83\x41]\r\nk=1\r\n");
    EXPECT_EQ(ini.ReadInteger("Window", "Top", 0), 5);
    EXPECT_EQ(ini.ReadInteger("WINDOW", "top", 0), 5);
    // 83 41 is a katakana whose trail byte happens to be "A": not the same as 83 61.
    EXPECT_EQ(ini.ReadInteger("\x83\x41", "K", 0), 1);
    EXPECT_EQ(ini.ReadInteger("\x83\x61", "K", 0), 0);
    // A lead byte with nothing after it still matches itself.
    IniFile lone("[S]\nk\xE0=1\n");
    EXPECT_EQ(lone.ReadInteger("s", "K\xE0", 0), 1);
}

TEST(IniFileTest, WhitespaceQuotesAndEmptyValues) {
    IniFile ini(
        "  [ Option ]  \n"
        "  QuoteMark =  > \t\n"
        "Empty=\n"
        "Quoted=\"  a b \"\n"
        "Single='x'\n"
        "Half=\"x\n"
        "NoEquals\n"
        "; Comment=1\n");
    EXPECT_EQ(ini.ReadString("Option", "QuoteMark", "?"), ">");
    EXPECT_EQ(ini.ReadString("Option", "Empty", "default"), "");
    EXPECT_EQ(ini.ReadString("Option", "Quoted", ""), "  a b ");
    EXPECT_EQ(ini.ReadString("Option", "Single", ""), "x");
    EXPECT_EQ(ini.ReadString("Option", "Half", ""), "\"x");
    EXPECT_EQ(ini.ReadString("Option", "NoEquals", "d"), "d");
    EXPECT_EQ(ini.ReadString("Option", "; Comment", "d"), "d");
    EXPECT_EQ(ini.ReadString("Missing", "QuoteMark", "d"), "d");
}

TEST(IniFileTest, IntegersAndBooleans) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {{"16", 16},
                 {"0x10", 16},
                 {"0X1f", 31},
                 {"$10", 16},
                 {"-$10", -16},
                 {"+7", 7},
                 {"-2147483648", INT32_MIN},
                 {"$FFFFFFFF", -1},
                 {"2147483648", -99},
                 {"0x", -99},
                 {"$", -99},
                 {"12a", -99},
                 {"1 2", -99},
                 {"", -99},
                 {"$100000000", -99},
                 {"\x82\x50", -99}};
    for (const Case& c : cases) {
        IniFile ini(std::string("[S]\nK=") + c.text + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "K", -99), c.expected) << c.text;
    }
    IniFile ini("[S]\nA=1\nB=0\nC=-3\nD=yes\n");
    EXPECT_TRUE(ini.ReadBool("S", "A", false));
    EXPECT_FALSE(ini.ReadBool("S", "B", true));
    EXPECT_TRUE(ini.ReadBool("S", "C", false));
    EXPECT_TRUE(ini.ReadBool("S", "D", true));
    EXPECT_FALSE(ini.ReadBool("S", "D", false));
}

TEST(IniFileTest, TheFirstSectionAndKeyWin) {
    IniFile ini("[A]\nk=1\nK=2\n[a]\nk=3\nother=4\n");
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
    EXPECT_EQ(ini.ReadInteger("A", "other", 0), 0);
    ini.WriteInteger("a", "K", 9);
    EXPECT_EQ(ini.Text(), "[A]\r\nk=9\r\nK=2\r\n[a]\r\nk=3\r\nother=4\r\n");
    auto entries = ini.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].value, "9");
}

TEST(IniFileTest, RewritingKeepsEverythingElse) {
    const std::string original =
        "; written by hand\r\n"
        "stray line before any section\r\n"
        "\r\n"
        "[Window]\r\n"
        "  Top = 5\r\n"
        "Mine=keep me\r\n"
        "\r\n"
        "; about the editor\r\n"
        "[Unknown]\r\n"
        "x=1\r\n";
    IniFile ini(original);
    EXPECT_EQ(ini.Text(), original);
    ini.WriteInteger("window", "top", 6);
    ini.WriteInteger("Window", "Left", 7);
    ini.WriteString("Editor", "FontName", "FixedSys");
    EXPECT_EQ(ini.Text(),
              "; written by hand\r\n"
              "stray line before any section\r\n"
              "\r\n"
              "[Window]\r\n"
              "Top=6\r\n"
              "Mine=keep me\r\n"
              "Left=7\r\n"
              "\r\n"
              "; about the editor\r\n"
              "[Unknown]\r\n"
              "x=1\r\n"
              "\r\n"
              "[Editor]\r\n"
              "FontName=FixedSys\r\n");
}

TEST(IniFileTest, WrittenValuesReadBackUnchanged) {
    IniFile ini;
    const std::string values[] = {"",         "> ",        " lead", "\"quoted\"",
                                  "'x'",      "\"",        "a=b;c", "[not a section]",
                                  "\x82\xA0", "\t tab \t", "0x10"};
    for (const std::string& v : values) {
        ini.WriteString("S", "K", v);
        IniFile reread(ini.Text());
        EXPECT_EQ(reread.ReadString("S", "K", "missing"), v) << v;
    }
    // A line break would start a new key: it becomes a space instead.
    ini.WriteString("S", "K", std::string("a\r\n[Evil]\nb\0c", 13));
    IniFile reread(ini.Text());
    EXPECT_EQ(reread.ReadString("S", "K", ""), "a  [Evil] b c");
    EXPECT_EQ(reread.ReadString("Evil", "b", "none"), "none");
}

TEST(IniFileTest, LoadAndSave) {
    testing::TempDir dir;
    IniFile ini;
    EXPECT_TRUE(ini.Load(dir.File("missing.ini")));
    EXPECT_TRUE(ini.Entries().empty());
    ini.WriteBool("S", "B", true);
    ASSERT_TRUE(ini.Save(dir.File("x.ini")));
    IniFile back;
    ASSERT_TRUE(back.Load(dir.File("x.ini")));
    EXPECT_TRUE(back.ReadBool("S", "B", false));
    EXPECT_FALSE(back.Load(dir.Path().string()).ok);
}

}  // namespace
}  // namespace zentabo
