#pragma once

// The date-time picture formatter of the date and date-time paste (and the ins/del
// dialog's datetime field). Specifiers, letter case ignored: yyyy yy m mm mmm mmmm
// (mm after an hour specifier means minutes) d dd ddd dddd ddddd dddddd h hh (12-hour
// when the format holds am/pm, a/p or ampm) n nn s ss z zzz c t tt e ee g gg, "/" and
// ":" the locale's separators, text in single or double quotes copied, anything else
// copied. The output is code page 932.

#include <string>
#include <string_view>

namespace zentabo {

// A broken-down local time. month 1-12, day 1-31, hour 0-23, minute and second 0-59,
// millisecond 0-999. Values out of range give empty names, never a failure.
struct DateTimeParts {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// What the formatter takes from the user's locale, in code page 932. Index 0 of the
// names is January and Sunday.
struct DateLocale {
    std::string icuLocale;  // the ICU locale id, calendar keyword included
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    std::string shortMonthNames[12];
    std::string longMonthNames[12];
    std::string shortDayNames[7];
    std::string longDayNames[7];
    std::string amString;
    std::string pmString;
};

// The names and separators of an ICU locale ("ja_JP", "ja_JP@calendar=japanese");
// empty means ICU's default locale (from the environment).
DateLocale LoadDateLocale(std::string_view icuLocale = {});

// The clock's current local time.
DateTimeParts CurrentLocalTime();

// t formatted with format. Linear in the format's length.
std::string FormatDateTime(std::string_view format, const DateTimeParts& t,
                           const DateLocale& locale);

}  // namespace zentabo
