#include "commands/BlockBuilders.h"

#include <algorithm>
#include <vector>

#include "commands/TagTexts.h"
#include "commands/TextLines.h"

namespace zentabo {
namespace {

void AppendLine(std::string& out, std::string_view a, std::string_view b = {},
                std::string_view c = {}) {
    out += a;
    out += b;
    out += c;
    out += "\r\n";
}

std::size_t TotalSize(const std::vector<std::string_view>& lines) {
    std::size_t size = 0;
    for (std::string_view line : lines) size += line.size();
    return size;
}

}  // namespace

std::string BuildList(std::string_view text, std::string_view element, std::string_view cls) {
    const std::vector<std::string_view> lines = SplitTextLines(text);
    const std::string open = OpeningTag(element, cls);
    const std::string close = ClosingTag(element);
    std::string out;
    out.reserve(TotalSize(lines) + lines.size() * 11 + open.size() + close.size() + 4);
    AppendLine(out, open);
    for (std::string_view line : lines) AppendLine(out, "<li>", line, "</li>");
    AppendLine(out, close);
    return out;
}

std::string BuildDefinitionList(std::string_view text, std::string_view cls) {
    const std::vector<std::string_view> lines = SplitTextLines(text);
    const std::string open = OpeningTag("dl", cls);
    std::string out;
    out.reserve(TotalSize(lines) + lines.size() * 11 + open.size() + 19);
    AppendLine(out, open);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % 2 == 0)
            AppendLine(out, "<dt>", lines[i], "</dt>");
        else
            AppendLine(out, "<dd>", lines[i], "</dd>");
    }
    if (lines.size() % 2 == 1) AppendLine(out, "<dd></dd>");
    AppendLine(out, "</dl>");
    return out;
}

std::string BuildTable(std::string_view text, char separator, std::string_view cls, int border) {
    constexpr std::string_view kCellBreak = "</td><td>";
    const std::vector<std::string_view> lines = SplitTextLines(text);
    const std::string open =
        "<table border=\"" + std::to_string(border) + "\"" + ClassAttribute(cls) + ">";
    // The separator is a single byte below 0x40, so it is never the second byte of a
    // double-byte character and a plain byte count finds exactly the separators.
    std::size_t separators = 0;
    for (std::string_view line : lines)
        separators += static_cast<std::size_t>(std::count(line.begin(), line.end(), separator));
    std::string out;
    out.reserve(TotalSize(lines) + separators * (kCellBreak.size() - 1) + lines.size() * 20 +
                open.size() + 12);
    AppendLine(out, open);
    for (std::string_view line : lines) {
        out += "<tr><td>";
        std::size_t start = 0;
        for (std::size_t p; (p = line.find(separator, start)) != std::string_view::npos;
             start = p + 1) {
            out += line.substr(start, p - start);
            out += kCellBreak;
        }
        AppendLine(out, line.substr(start), "</td></tr>");
    }
    AppendLine(out, "</table>");
    return out;
}

}  // namespace zentabo
