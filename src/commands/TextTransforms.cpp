#include "commands/TextTransforms.h"

#include <vector>

#include "commands/ReplaceScan.h"
#include "commands/TextLines.h"

namespace zentabo {
namespace {

constexpr std::string_view kBr = "<br />";
constexpr std::string_view kOpenP = "<p>";
constexpr std::string_view kCloseP = "</p>";

template <class Trim>
std::string TrimEachLine(std::string_view text, Trim&& trim) {
    std::vector<std::string_view> lines = SplitTextLines(text);
    for (std::string_view& line : lines) line = trim(line);
    return JoinTextLines(lines);
}

}  // namespace

std::string ConvertParagraphs(std::string_view text) {
    const std::vector<std::string_view> lines = SplitTextLines(text);
    const std::size_t n = lines.size();
    auto empty = [&](std::size_t i) { return lines[i].empty(); };
    std::size_t size = 0;
    for (std::size_t i = 0; i < n; ++i)
        size += lines[i].size() + 2 + kOpenP.size() + kBr.size() + kCloseP.size();
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < n; ++i) {
        if (!empty(i)) {
            bool firstOfParagraph = i == 0 || empty(i - 1);
            bool lastOfParagraph = i + 1 == n || empty(i + 1);
            if (firstOfParagraph) out += kOpenP;
            out += lines[i];
            if (!lastOfParagraph) out += kBr;
            if (lastOfParagraph) out += kCloseP;
        }
        out += "\r\n";
    }
    // The three collapse passes cannot create or break each other's matches, so one
    // pass with all three gives what three passes in a row give.
    ReplaceEveryInPlace(out, {{"<p><p>", "<p>"}, {"<br /><br />", "<br />"}, {"</p></p>", "</p>"}});
    return out;
}

std::string EncodeHtml(std::string_view text) {
    // No replacement holds a later pattern, so one pass equals the four in a row.
    return ReplaceEveryOf(text, {{"&", "&amp;"}, {"<", "&lt;"}, {">", "&gt;"}, {"\"", "&quot;"}});
}

std::string DecodeHtml(std::string_view text) {
    // "&amp;" runs alone first: its "&" may start one of the others ("&amp;lt;").
    std::string out = ReplaceEvery(text, "&amp;", "&");
    ReplaceEveryInPlace(out, {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}});
    return out;
}

std::string EncodeMail(std::string_view text) {
    return ReplaceEveryOf(text, {{"@", "&#64;"}, {".", "&#46;"}});
}

std::string DecodeMail(std::string_view text) {
    std::string out(text);
    ReplaceEveryInPlace(out, {{"&#64;", "@"}, {"&#46;", "."}});
    return out;
}

std::string TrimLines(std::string_view text) {
    return TrimEachLine(
        text, [](std::string_view line) { return TrimBlanksRight(TrimBlanksLeft(line)); });
}

std::string TrimLinesLeft(std::string_view text) {
    return TrimEachLine(text, TrimBlanksLeft);
}

std::string TrimLinesRight(std::string_view text) {
    return TrimEachLine(text, TrimBlanksRight);
}

std::string QuoteLines(std::string_view text, std::string_view mark) {
    const std::vector<std::string_view> lines = SplitTextLines(text);
    std::string out;
    out.reserve(text.size() + lines.size() * (mark.size() + 2));
    for (std::string_view line : lines) {
        out += mark;
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace zentabo
