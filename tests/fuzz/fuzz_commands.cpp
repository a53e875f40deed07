// Runs every text transform and block builder on random bytes (lone lead bytes, NULs,
// junk) and compares them with slow references that walk the characters one by one
// and run the replace passes one after another, as written down for the commands.
// Also formats random date-time pictures.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "commands/BlockBuilders.h"
#include "commands/DateTimeFormat.h"
#include "commands/TagTexts.h"
#include "commands/TextLines.h"
#include "commands/TextTransforms.h"

namespace {

using namespace zentabo;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_commands: %s\n", what);
        std::abort();
    }
}

bool IsLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t CharWidth(std::string_view s, std::size_t i) {
    return IsLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

bool EndsWhole(std::string_view pattern) {
    std::size_t i = 0;
    while (i < pattern.size()) i += IsLead(static_cast<unsigned char>(pattern[i])) ? 2 : 1;
    return i == pattern.size();
}

// One pass: at each character start, the pattern if it is there, else the character.
std::string RefReplace(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    const bool usable = !from.empty() && EndsWhole(from);
    std::size_t i = 0;
    while (i < s.size()) {
        if (usable && s.substr(i, from.size()) == from) {
            out += to;
            i += from.size();
            continue;
        }
        std::size_t w = CharWidth(s, i);
        out += s.substr(i, w);
        i += w;
    }
    return out;
}

std::vector<std::string> RefLines(std::string_view s) {
    std::vector<std::string> lines;
    std::string cur;
    bool open = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            lines.push_back(cur);
            cur.clear();
            open = false;
        } else {
            cur += s[i];
            open = true;
        }
    }
    if (open) lines.push_back(cur);
    return lines;
}

std::string RefJoin(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

std::string RefParagraphs(std::string_view s) {
    std::vector<std::string> l = RefLines(s);
    const std::size_t n = l.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (l[i].empty()) continue;
        if (i < n - 1 && !l[i + 1].empty()) l[i] += "<br />";
        if (i == 0 || l[i - 1].empty()) l[i] = "<p>" + l[i];
        if (i == n - 1 || l[i + 1].empty()) l[i] += "</p>";
    }
    std::string out = RefJoin(l);
    out = RefJoin(RefLines(RefReplace(out, "<p><p>", "<p>")));
    out = RefJoin(RefLines(RefReplace(out, "<br /><br />", "<br />")));
    out = RefJoin(RefLines(RefReplace(out, "</p></p>", "</p>")));
    return out;
}

std::string RefTrimLine(const std::string& line, bool left, bool right) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t w = CharWidth(line, i);
        chars.push_back(line.substr(i, w));
        i += w;
    }
    auto blank = [](const std::string& c) {
        return c.size() == 1 && static_cast<unsigned char>(c[0]) <= 32;
    };
    std::size_t b = 0, e = chars.size();
    if (left)
        while (b < e && blank(chars[b])) ++b;
    if (right)
        while (e > b && blank(chars[e - 1])) --e;
    std::string out;
    for (std::size_t k = b; k < e; ++k) out += chars[k];
    return out;
}

std::string RefTrim(std::string_view s, bool left, bool right) {
    std::vector<std::string> l = RefLines(s);
    for (std::string& line : l) line = RefTrimLine(line, left, right);
    return RefJoin(l);
}

std::size_t Count(std::string_view s, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t p = s.find(what); p != std::string_view::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

void CheckTransforms(std::string_view text) {
    Check(ConvertParagraphs(text) == RefParagraphs(text), "paragraphs differ");
    std::string encoded = RefReplace(text, "&", "&amp;");
    encoded = RefReplace(encoded, "<", "&lt;");
    encoded = RefReplace(encoded, ">", "&gt;");
    encoded = RefReplace(encoded, "\"", "&quot;");
    Check(EncodeHtml(text) == encoded, "HTML encoding differs");
    std::string decoded = RefReplace(text, "&amp;", "&");
    decoded = RefReplace(decoded, "&lt;", "<");
    decoded = RefReplace(decoded, "&gt;", ">");
    decoded = RefReplace(decoded, "&quot;", "\"");
    Check(DecodeHtml(text) == decoded, "HTML decoding differs");
    Check(EncodeMail(text) == RefReplace(RefReplace(text, "@", "&#64;"), ".", "&#46;"),
          "mail encoding differs");
    Check(DecodeMail(text) == RefReplace(RefReplace(text, "&#64;", "@"), "&#46;", "."),
          "mail decoding differs");
    if (text.find('&') == std::string_view::npos) {
        Check(DecodeHtml(EncodeHtml(text)) == text, "HTML coding does not round-trip");
        Check(DecodeMail(EncodeMail(text)) == text, "mail coding does not round-trip");
    }
    Check(TrimLines(text) == RefTrim(text, true, true), "trim differs");
    Check(TrimLinesLeft(text) == RefTrim(text, true, false), "left trim differs");
    Check(TrimLinesRight(text) == RefTrim(text, false, true), "right trim differs");
    const std::vector<std::string> lines = RefLines(text);
    std::vector<std::string> quoted;
    for (const std::string& l : lines) quoted.push_back("\x81\x84" + l);
    Check(QuoteLines(text, "\x81\x84") == RefJoin(quoted), "quote lines differ");
    std::vector<std::string_view> views = SplitTextLines(text);
    Check(views.size() == lines.size(), "line count differs");
    for (std::size_t i = 0; i < views.size(); ++i) Check(views[i] == lines[i], "line differs");
}

void CheckBuilders(std::string_view text, char separator) {
    const std::size_t n = RefLines(text).size();
    const std::string list = BuildList(text, "ul", "c");
    Check(RefLines(list).size() == n + 2 && Count(list, "<li>") >= n, "list shape");
    const std::string dl = BuildDefinitionList(text, "");
    Check(RefLines(dl).size() == n + 2 + n % 2, "definition list shape");
    const std::string table = BuildTable(text, separator, "");
    std::size_t separators = 0;
    for (const std::string& l : RefLines(text)) separators += Count(l, std::string(1, separator));
    Check(RefLines(table).size() == n + 2, "table shape");
    Check(Count(table, "</td><td>") >= separators, "table cells");
    Check(table.size() >= 2 && table.compare(table.size() - 2, 2, "\r\n") == 0, "table end");
}

void CheckFormatter(std::string_view format, const std::uint8_t* data, std::size_t size) {
    static const DateLocale locale = LoadDateLocale("ja_JP@calendar=japanese");
    DateTimeParts t;
    if (size >= 6) {
        t.year = 1 + data[0] * 40;
        t.month = data[1] % 14;  // 0 and 13 are out of range on purpose
        t.day = data[2] % 33;
        t.hour = data[3] % 25;
        t.minute = data[4] % 61;
        t.second = data[5] % 61;
    }
    const std::string out = FormatDateTime(format, t, locale);
    // Nothing expands beyond the longest locale text per format byte.
    Check(out.size() <= format.size() * 64 + 64, "formatter output too long");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t mode = data[0];
    const std::size_t fromLen = data[1] % 8, toLen = data[2] % 8;
    std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
    if (rest.size() < fromLen + toLen) return 0;
    std::string_view from = rest.substr(0, fromLen), to = rest.substr(fromLen, toLen);
    std::string_view text = rest.substr(fromLen + toLen);
    Check(ReplaceEvery(text, from, to) == RefReplace(text, from, to), "replace differs");
    CheckTransforms(text);
    CheckBuilders(text, mode & 1 ? ',' : '\t');
    Check(TrimUrl(text) == RefTrimLine(std::string(text), true, true), "URL trim differs");
    if (mode & 2) CheckFormatter(text, data, size);
    return 0;
}
