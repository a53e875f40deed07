#include "commands/DateTimeFormat.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/uchar.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <optional>

#include "store/Cp932Codec.h"
#include "store/LumEditSub.h"

namespace zentabo {
namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool IsAsciiLetter(char c) {
    char u = Upper(c);
    return u >= 'A' && u <= 'Z';
}

// Case-insensitive: does s hold word at i?
bool HoldsAt(std::string_view s, std::size_t i, std::string_view word) {
    if (s.size() - i < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k)
        if (Upper(s[i + k]) != Upper(word[k])) return false;
    return true;
}

// Bytes of the character starting at i (a lead byte at the very end stands alone).
std::size_t CharLength(std::string_view s, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Index after the quoted text opened at i (the closing quote, or the end).
std::size_t QuotedEnd(std::string_view format, std::size_t i) {
    const char quote = format[i];
    std::size_t k = i + 1;
    while (k < format.size() && format[k] != quote) k += CharLength(format, k);
    return std::min(k, format.size());
}

bool HoldsAmPmMarker(std::string_view format) {
    for (std::size_t i = 0; i < format.size();) {
        char c = format[i];
        if (c == '"' || c == '\'') {
            i = QuotedEnd(format, i) + 1;
            continue;
        }
        if (HoldsAt(format, i, "am/pm") || HoldsAt(format, i, "a/p") || HoldsAt(format, i, "ampm"))
            return true;
        i += CharLength(format, i);
    }
    return false;
}

void AppendNumber(std::string& out, long long value, int digits) {
    std::string number = std::to_string(value < 0 ? -value : value);
    if (value < 0) out += '-';
    if (static_cast<int>(number.size()) < digits) out.append(digits - number.size(), '0');
    out += number;
}

// 0 = Sunday, for the proleptic Gregorian calendar.
int DayOfWeek(int year, int month, int day) {
    long long y = static_cast<long long>(year) - (month <= 2);
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long mp = (month + 9) % 12;
    long long doy = (153 * mp + 2) / 5 + day - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    long long days = era * 146097 + doe - 719468;  // days since 1970-01-01, a Thursday
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

// text in code page 932, with the locale's special spaces (ICU puts U+202F before
// "PM") as plain spaces. What code page 932 still cannot hold is left out, or the
// whole text becomes fallback when one is given.
std::string ToCp932(const icu::UnicodeString& text,
                    const std::optional<std::string>& fallback = {}) {
    std::u16string units;
    units.reserve(static_cast<std::size_t>(text.length()));
    for (int32_t i = 0; i < text.length(); ++i) {
        char16_t c = text[i];
        units += u_charType(c) == U_SPACE_SEPARATOR ? u' ' : c;
    }
    Cp932EncodeResult r = Utf16ToCp932(units);
    return r.ok() || !fallback ? r.bytes : *fallback;
}

// The first run of non-letters between two fields of an ICU pattern ("y/MM/dd" gives
// "/"), or fallback.
std::string SeparatorOf(const icu::UnicodeString& pattern, const std::string& fallback) {
    icu::UnicodeString run;
    bool seenField = false;
    for (int32_t i = 0; i < pattern.length(); ++i) {
        char16_t c = pattern[i];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (letter) {
            if (!run.isEmpty()) break;
            seenField = true;
        } else if (c == '\'') {
            break;
        } else if (seenField) {
            run += c;
        }
    }
    std::string sep = run.isEmpty() ? std::string() : ToCp932(run);
    return sep.empty() ? fallback : sep;
}

icu::UnicodeString PatternOf(icu::DateFormat* format) {
    icu::UnicodeString pattern;
    if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format)) simple->toPattern(pattern);
    return pattern;
}

// The broken-down time as an ICU date: the wall time read as GMT, so that every
// formatter set to GMT prints exactly these fields.
UDate ToUDate(const DateTimeParts& t) {
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar cal(*icu::TimeZone::getGMT(), status);
    cal.setGregorianChange(-1.0e300, status);  // proleptic: no Julian years
    cal.clear();
    cal.set(t.year, t.month - 1, t.day, t.hour, t.minute, t.second);
    cal.set(UCAL_MILLISECOND, t.millisecond);
    UDate date = cal.getTime(status);
    return U_SUCCESS(status) ? date : 0;
}

// Formats one piece with ICU, made only when the format asks for it.
class IcuPieces {
public:
    IcuPieces(const DateLocale& locale, const DateTimeParts& t)
        : locale_(locale.icuLocale.c_str()), date_(ToUDate(t)) {}

    const std::string& ShortDate() { return Styled(shortDate_, icu::DateFormat::kShort, true); }
    const std::string& LongDate() { return Styled(longDate_, icu::DateFormat::kLong, true); }
    const std::string& ShortTime() { return Styled(shortTime_, icu::DateFormat::kShort, false); }
    const std::string& LongTime() { return Styled(longTime_, icu::DateFormat::kMedium, false); }
    const std::string& ShortEra() { return Pattern(shortEra_, "G"); }
    const std::string& LongEra() { return Pattern(longEra_, "GGGG"); }

    int EraYear() {
        if (!eraYear_) {
            UErrorCode status = U_ZERO_ERROR;
            std::unique_ptr<icu::Calendar> cal(
                icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), locale_, status));
            int year = 0;
            if (U_SUCCESS(status)) {
                cal->setTime(date_, status);
                year = cal->get(UCAL_YEAR, status);
            }
            eraYear_ = U_SUCCESS(status) ? year : 0;
        }
        return *eraYear_;
    }

private:
    std::string FormatWith(icu::DateFormat* format) {
        if (!format) return {};
        std::unique_ptr<icu::DateFormat> owned(format);
        owned->setTimeZone(*icu::TimeZone::getGMT());
        icu::UnicodeString text;
        owned->format(date_, text);
        return ToCp932(text);
    }

    const std::string& Styled(std::optional<std::string>& slot, icu::DateFormat::EStyle style,
                              bool date) {
        if (!slot)
            slot = FormatWith(date ? icu::DateFormat::createDateInstance(style, locale_)
                                   : icu::DateFormat::createTimeInstance(style, locale_));
        return *slot;
    }

    const std::string& Pattern(std::optional<std::string>& slot, const char* pattern) {
        if (!slot) {
            UErrorCode status = U_ZERO_ERROR;
            auto* format = new icu::SimpleDateFormat(icu::UnicodeString(pattern), locale_, status);
            if (U_FAILURE(status)) {
                delete format;
                format = nullptr;
            }
            slot = FormatWith(format);
        }
        return *slot;
    }

    icu::Locale locale_;
    UDate date_;
    std::optional<std::string> shortDate_, longDate_, shortTime_, longTime_, shortEra_, longEra_;
    std::optional<int> eraYear_;
};

template <std::size_t N>
const std::string& NameAt(const std::string (&names)[N], int index) {
    static const std::string none;
    return index >= 0 && index < static_cast<int>(N) ? names[index] : none;
}

class Formatter {
public:
    Formatter(std::string_view format, const DateTimeParts& t, const DateLocale& locale)
        : format_(format),
          t_(t),
          locale_(locale),
          icu_(locale, t),
          twelveHour_(HoldsAmPmMarker(format)) {}

    std::string Run() {
        while (i_ < format_.size()) Step();
        return std::move(out_);
    }

private:
    void Step() {
        const char c = format_[i_];
        if (IsLeadByte(static_cast<unsigned char>(c))) {
            std::size_t len = CharLength(format_, i_);
            out_.append(format_, i_, len);
            i_ += len;
            lastToken_ = ' ';
            return;
        }
        if (c == '"' || c == '\'') {
            std::size_t end = QuotedEnd(format_, i_);
            out_.append(format_, i_ + 1, end - i_ - 1);
            i_ = end + 1;
            return;
        }
        if (c == '/' || c == ':') {
            out_ += c == '/' ? locale_.dateSeparator : locale_.timeSeparator;
            ++i_;
            return;
        }
        if (!IsAsciiLetter(c)) {
            out_ += c;
            ++i_;
            return;
        }
        char token = Upper(c);
        if (token == 'M' && lastToken_ == 'H') token = 'N';
        lastToken_ = token;
        if (token == 'A') return AmPm();
        std::size_t count = 1;
        while (i_ + count < format_.size() && Upper(format_[i_ + count]) == Upper(c)) ++count;
        if (!Specifier(token, count)) {
            out_ += c;
            count = 1;
        }
        i_ += count;
    }

    // A letter with a meaning: appends its text for a run of count and says true.
    bool Specifier(char token, std::size_t count) {
        const int n = count > 2 ? 2 : static_cast<int>(count);
        switch (token) {
            case 'Y':
                if (count <= 2)
                    AppendNumber(out_, ((t_.year % 100) + 100) % 100, 2);
                else
                    AppendNumber(out_, t_.year, 4);
                return true;
            case 'M':
                if (count <= 2)
                    AppendNumber(out_, t_.month, n);
                else
                    out_ += NameAt(count == 3 ? locale_.shortMonthNames : locale_.longMonthNames,
                                   t_.month - 1);
                return true;
            case 'D':
                Day(count);
                return true;
            case 'H':
                AppendNumber(out_, Hour(), n);
                return true;
            case 'N':
                AppendNumber(out_, t_.minute, n);
                return true;
            case 'S':
                AppendNumber(out_, t_.second, n);
                return true;
            case 'Z':
                AppendNumber(out_, t_.millisecond, count > 3 ? 3 : static_cast<int>(count));
                return true;
            case 'T':
                out_ += count == 1 ? icu_.ShortTime() : icu_.LongTime();
                return true;
            case 'C':
                out_ += icu_.ShortDate();
                out_ += ' ';
                out_ += icu_.LongTime();
                return true;
            case 'E':
                AppendNumber(out_, icu_.EraYear(), n);
                return true;
            case 'G':
                out_ += count == 1 ? icu_.ShortEra() : icu_.LongEra();
                return true;
            default:
                return false;
        }
    }

    void Day(std::size_t count) {
        const int weekday = DayOfWeek(t_.year, t_.month, t_.day);
        switch (count) {
            case 1:
            case 2:
                AppendNumber(out_, t_.day, static_cast<int>(count));
                break;
            case 3:
                out_ += NameAt(locale_.shortDayNames, weekday);
                break;
            case 4:
                out_ += NameAt(locale_.longDayNames, weekday);
                break;
            case 5:
                out_ += icu_.ShortDate();
                break;
            default:
                out_ += icu_.LongDate();
                break;
        }
    }

    int Hour() const {
        if (!twelveHour_) return t_.hour;
        if (t_.hour == 0) return 12;
        return t_.hour > 12 ? t_.hour - 12 : t_.hour;
    }

    // "am/pm" and "a/p" print their own half in the format's letter case; "ampm"
    // prints the locale's text; any other "a" is copied.
    void AmPm() {
        const bool pm = t_.hour >= 12;
        if (HoldsAt(format_, i_, "am/pm")) {
            out_.append(format_, i_ + (pm ? 3 : 0), 2);
            i_ += 5;
        } else if (HoldsAt(format_, i_, "a/p")) {
            out_ += format_[i_ + (pm ? 2 : 0)];
            i_ += 3;
        } else if (HoldsAt(format_, i_, "ampm")) {
            out_ += pm ? locale_.pmString : locale_.amString;
            i_ += 4;
        } else {
            out_ += format_[i_++];
        }
    }

    std::string_view format_;
    const DateTimeParts& t_;
    const DateLocale& locale_;
    IcuPieces icu_;
    bool twelveHour_;
    std::size_t i_ = 0;
    char lastToken_ = ' ';
    std::string out_;
};

void LoadNames(const icu::UnicodeString* names, int32_t count, int32_t first, std::string* into,
               int size, const std::string* fallback) {
    for (int k = 0; k < size && first + k < count; ++k)
        into[k] = ToCp932(names[first + k],
                          fallback ? std::optional<std::string>(fallback[k]) : std::nullopt);
}

}  // namespace

DateLocale LoadDateLocale(std::string_view icuLocale) {
    DateLocale result;
    icu::Locale locale =
        icuLocale.empty() ? icu::Locale::getDefault() : icu::Locale(std::string(icuLocale).c_str());
    result.icuLocale = locale.getName();
    UErrorCode status = U_ZERO_ERROR;
    // English names stand in for names code page 932 cannot hold.
    DateLocale english;
    if (std::string_view(locale.getLanguage()) != "en") english = LoadDateLocale("en");
    const bool haveFallback = !english.icuLocale.empty();
    icu::DateFormatSymbols symbols(locale, status);
    if (U_SUCCESS(status)) {
        int32_t count = 0;
        const icu::UnicodeString* names = symbols.getShortMonths(count);
        LoadNames(names, count, 0, result.shortMonthNames, 12,
                  haveFallback ? english.shortMonthNames : nullptr);
        names = symbols.getMonths(count);
        LoadNames(names, count, 0, result.longMonthNames, 12,
                  haveFallback ? english.longMonthNames : nullptr);
        names = symbols.getShortWeekdays(count);  // index 1 is Sunday
        LoadNames(names, count, 1, result.shortDayNames, 7,
                  haveFallback ? english.shortDayNames : nullptr);
        names = symbols.getWeekdays(count);
        LoadNames(names, count, 1, result.longDayNames, 7,
                  haveFallback ? english.longDayNames : nullptr);
        names = symbols.getAmPmStrings(count);
        if (count >= 2) {
            result.amString =
                ToCp932(names[0], haveFallback ? english.amString : std::string("AM"));
            result.pmString =
                ToCp932(names[1], haveFallback ? english.pmString : std::string("PM"));
        }
    }
    std::unique_ptr<icu::DateFormat> date(
        icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale));
    std::unique_ptr<icu::DateFormat> time(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    if (date) result.dateSeparator = SeparatorOf(PatternOf(date.get()), "/");
    if (time) result.timeSeparator = SeparatorOf(PatternOf(time.get()), ":");
    return result;
}

DateTimeParts CurrentLocalTime() {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    DateTimeParts t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.millisecond = static_cast<int>(ms.count());
    return t;
}

std::string FormatDateTime(std::string_view format, const DateTimeParts& t,
                           const DateLocale& locale) {
    return Formatter(format, t, locale).Run();
}

}  // namespace zentabo
