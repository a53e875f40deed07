#include "commands/TextTransforms.h"

#include "commands/ReplaceScan.h"
#include "commands/SizedOutput.h"
#include "commands/TextLines.h"

namespace zentabo {
namespace {

constexpr std::string_view kBr = "<br />";
constexpr std::string_view kOpenP = "<p>";
constexpr std::string_view kCloseP = "</p>";

template <class Trim>
std::string TrimEachLine(std::string_view text, Trim&& trim) {
    return BuildSized([&](auto& out) {
        ForEachTextLine(text, [&](std::string_view line) {
            out += trim(line);
            out += "\r\n";
        });
    });
}

}  // namespace

std::string ConvertParagraphs(std::string_view text) {
    std::string out = BuildSized([&](auto& sink) {
        ForEachLineWithNeighbours(text, [&](std::string_view line, bool first, bool last,
                                            bool previousEmpty, bool nextEmpty) {
            if (!line.empty()) {
                const bool opens = first || previousEmpty;
                const bool closes = last || nextEmpty;
                if (opens) sink += kOpenP;
                sink += line;
                sink += closes ? kCloseP : kBr;
            }
            sink += "\r\n";
        });
    });
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
    return BuildSized([&](auto& out) {
        ForEachTextLine(text, [&](std::string_view line) {
            out += mark;
            out += line;
            out += "\r\n";
        });
    });
}

}  // namespace zentabo
