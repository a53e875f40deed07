// The XHTML check and both tag scans on arbitrary bytes: every position they give
// lies inside the text on a character start, with line and column that agree with
// the offset; the backward closing-tag scan agrees with the scan from the start
// wherever the text holds no comments, sections or quotes to read differently.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "commands/XhtmlCheck.h"
#include "commands/XhtmlSource.h"
#include "commands/XhtmlTagScan.h"

namespace {

using namespace zentabo;

void Require(bool ok) {
    if (!ok) std::abort();
}

std::vector<bool> CharStarts(std::string_view text) {
    std::vector<bool> starts(text.size() + 1, false);
    for (std::size_t i = 0; i < text.size(); i += Cp932CharLength(text, i)) starts[i] = true;
    starts[text.size()] = true;
    return starts;
}

void CheckProblems(std::string_view text, const std::vector<bool>& starts, bool validate) {
    XhtmlCheckOptions options;
    options.fragmentDtd = validate ? XhtmlDtd::kStrict10 : XhtmlDtd::kNone;
    const XhtmlCheckResult r = CheckXhtml(text, options);
    XhtmlLineIndex lines(text);
    for (const XhtmlProblem& p : r.problems) {
        Require(p.offset <= text.size() && starts[p.offset]);
        Require(p.selStart <= p.selEnd && p.selEnd <= text.size());
        Require(starts[p.selStart] && starts[p.selEnd]);
        Require(p.line == lines.LineOf(p.offset));
        Require(p.column == static_cast<int>(p.offset - lines.LineStart(p.line)));
        Require(!p.message.empty());
    }
}

bool ReadsAlike(std::string_view text) {
    return text.find_first_of("\"'-]?!") == std::string_view::npos;
}

void CheckScans(std::string_view text, const std::vector<bool>& starts, std::size_t caret) {
    std::optional<XhtmlOpenTag> open = FindUnclosedElement(text, caret);
    if (open) {
        Require(open->start < open->end && open->end <= caret && text[open->start] == '<');
        Require(starts[open->start] && text[open->end - 1] == '>');
    }
    if (ReadsAlike(text)) {
        std::vector<XhtmlOpenTag> all = FindOpenElements(text, caret);
        Require(open.has_value() == !all.empty());
        if (open) Require(open->start == all.back().start && open->name == all.back().name);
    }
    std::optional<XhtmlTagRange> partner = FindPartnerTag(text, caret);
    if (partner) {
        Require(partner->start < partner->end && partner->end <= text.size());
        Require(text[partner->start] == '<' && text[partner->end - 1] == '>');
        Require(starts[partner->start]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<bool> starts = CharStarts(text);
    CheckProblems(text, starts, size % 4 == 0);  // validation reads the DTD: slower
    CheckScans(text, starts, text.size());
    std::size_t middle = text.size() / 2;
    while (!starts[middle]) --middle;
    CheckScans(text, starts, middle);
    return 0;
}
