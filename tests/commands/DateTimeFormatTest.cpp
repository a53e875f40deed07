#include "commands/DateTimeFormat.h"

#include <gtest/gtest.h>

namespace zentabo {
namespace {

// Saturday 31 January 2004, 13:05:09.007.
constexpr DateTimeParts kAfternoon{2004, 1, 31, 13, 5, 9, 7};

class DateTimeFormatTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { japanese_ = new DateLocale(LoadDateLocale("ja_JP")); }
    static void TearDownTestSuite() { delete japanese_; }
    static std::string Format(std::string_view format, const DateTimeParts& t = kAfternoon) {
        return FormatDateTime(format, t, *japanese_);
    }
    static DateLocale* japanese_;
};

DateLocale* DateTimeFormatTest::japanese_ = nullptr;

TEST_F(DateTimeFormatTest, NumbersWithTheDefaultsAndTheMinuteRule) {
    EXPECT_EQ(Format("(yyyy/mm/dd)"), "(2004/01/31)");
    EXPECT_EQ(Format("(yyyy/mm/dd hh:nn:ss)"), "(2004/01/31 13:05:09)");
    EXPECT_EQ(Format("yy y m d h n s z zzz"), "04 04 1 31 13 5 9 7 007");
    // m and mm after an hour specifier are minutes; after anything else the month.
    EXPECT_EQ(Format("hh:mm"), "13:05");
    EXPECT_EQ(Format("h m"), "13 5");
    EXPECT_EQ(Format("mm hh dd mm"), "01 13 31 01");
    EXPECT_EQ(Format("YYYY-MM-DD HH:MM"), "2004-01-31 13:05");
    EXPECT_EQ(Format("yyyy-mm-dd\"T\"hh:nn:ss+9:00"), "2004-01-31T13:05:09+9:00");
}

TEST_F(DateTimeFormatTest, AmPmMarkersSwitchTheHourTo12) {
    EXPECT_EQ(Format("h:nn am/pm"), "1:05 pm");
    EXPECT_EQ(Format("AM/PM hh"), "PM 01");
    EXPECT_EQ(Format("h a/p"), "1 p");
    EXPECT_EQ(Format("ampm h"), "\x8C\xDF\x8C\xE3 1");  // 午後
    EXPECT_EQ(Format("h am/pm", {2004, 1, 31, 0, 0, 0, 0}), "12 am");
    EXPECT_EQ(Format("h am/pm", {2004, 1, 31, 12, 0, 0, 0}), "12 pm");
    // A marker inside quotes is text and switches nothing; a lone "a" is copied.
    EXPECT_EQ(Format("h 'am/pm' a"), "13 am/pm a");
}

TEST_F(DateTimeFormatTest, QuotedTextAndDoubleByteCharactersAreCopied) {
    EXPECT_EQ(Format("'yyyy' \"mm:dd\" yyyy"), "yyyy mm:dd 2004");
    // 年 (94 4E) and 月 (8C 8E) copied; a quote never ends inside a double-byte character.
    EXPECT_EQ(Format("yyyy\x94\x4Em\x8C\x8E"),
              "2004\x94\x4E"
              "1\x8C\x8E");
    EXPECT_EQ(Format("'unclosed yyyy"), "unclosed yyyy");
    EXPECT_EQ(Format("x\x81"), "x\x81");
}

TEST_F(DateTimeFormatTest, LocaleNamesAndLocaleFormats) {
    EXPECT_EQ(Format("mmm|mmmm"), "1\x8C\x8E|1\x8C\x8E");  // 1月
    EXPECT_EQ(Format("ddd|dddd", {2004, 2, 1, 0, 0, 0, 0}),
              "\x93\xFA|\x93\xFA\x97\x6A\x93\xFA");  // 日, 日曜日
    EXPECT_EQ(Format("ddddd|t|tt"), "2004/01/31|13:05|13:05:09");
    EXPECT_EQ(Format("dddddd"),
              "2004\x94\x4E"
              "1\x8C\x8E"
              "31\x93\xFA");  // 2004年1月31日
    EXPECT_EQ(Format("c"), "2004/01/31 13:05:09");
    const DateLocale german = LoadDateLocale("de_DE");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd dddd", kAfternoon, german), "2004.01.31 Samstag");
}

TEST_F(DateTimeFormatTest, ErasFollowTheLocaleCalendar) {
    EXPECT_EQ(Format("g|gg|e|ee"), "\x90\xBC\x97\xEF|\x90\xBC\x97\xEF|2004|2004");  // 西暦
    const DateLocale imperial = LoadDateLocale("ja_JP@calendar=japanese");
    EXPECT_EQ(FormatDateTime("gg e|ee", {2019, 5, 1, 0, 0, 0, 0}, imperial),
              "\x97\xDF\x98\x61 1|01");  // 令和
    EXPECT_EQ(FormatDateTime("gge", {2019, 4, 30, 0, 0, 0, 0}, imperial),
              "\x95\xBD\x90\xAC"
              "31");  // 平成
}

TEST_F(DateTimeFormatTest, OutOfRangeFieldsAndHugeFormatsAreSafe) {
    EXPECT_EQ(Format("mmm|dd", {2004, 13, 40, 0, 0, 0, 0}), "|40");
    std::string huge;
    for (int i = 0; i < 10000; ++i) huge += "c dddddd g ";
    const std::string out = Format(huge);
    EXPECT_EQ(out.size(), 10000 * Format("c dddddd g ").size());
}

}  // namespace
}  // namespace zentabo
