#include "commands/TextLines.h"

#include <cstring>

#include "commands/ReplaceScan.h"

namespace zentabo {
namespace {

template <class Lines>
std::string JoinLinesOf(const Lines& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachTextLine(text, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

std::string JoinTextLines(const std::vector<std::string_view>& lines) {
    return JoinLinesOf(lines);
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
    return JoinLinesOf(lines);
}

std::string_view TrimBlanksLeft(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
    return line.substr(i);
}

// Walks whole characters, so that a trail byte behind a lead byte is never cut off.
std::string_view TrimBlanksRight(std::string_view line) {
    std::size_t end = 0, i = 0;
    while (i < line.size()) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        i += IsLeadByte(c) ? 2 : 1;
        if (c > ' ') end = i < line.size() ? i : line.size();
    }
    return line.substr(0, end);
}

std::string ReplaceEvery(std::string_view text, std::string_view from, std::string_view to) {
    return ReplaceEveryOf(text, {{from, to}});
}

std::string ReplaceEveryOf(std::string_view text, const ReplacePairs& pairs) {
    ReplaceScan scan(pairs);
    // Sized first, so that a 100 MB text is never copied by a growing buffer.
    std::size_t size = 0;
    scan.Run(
        text, [&](std::size_t b, std::size_t e) { size += e - b; },
        [&](std::string_view to) { size += to.size(); });
    std::string out(size, '\0');
    char* w = out.data();
    scan.Run(
        text,
        [&](std::size_t b, std::size_t e) {
            std::memcpy(w, text.data() + b, e - b);
            w += e - b;
        },
        [&](std::string_view to) {
            std::memcpy(w, to.data(), to.size());
            w += to.size();
        });
    return out;
}

void ReplaceEveryInPlace(std::string& text, const ReplacePairs& pairs) {
    ReplaceScan scan(pairs);
    std::size_t w = 0;
    char* data = text.data();
    scan.Run(
        text,
        [&](std::size_t b, std::size_t e) {
            if (w != b) std::memmove(data + w, data + b, e - b);
            w += e - b;
        },
        [&](std::string_view to) {
            std::memmove(data + w, to.data(), to.size());
            w += to.size();
        });
    text.resize(w);
}

}  // namespace zentabo
