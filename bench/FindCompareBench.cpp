// The page's compare step over a 100 MB text, line by line as the search engine asks
// it, with search texts that never match: the whole cost of a search without a hit
// outside the engine's own walk.
#include <string>
#include <string_view>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "app/FindCompare.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t k100Mb = 100u << 20;

CaseResult SearchCase(const std::string& pattern, bool matchCase) {
    const std::string text = SampleText(k100Mb, Breaks::CrLf);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.emplace_back(text.data() + start, end - start);
        start = end;
    }
    long long hits = 0;
    const long long start = NowNs();
    for (std::string_view line : lines) hits += FindCompare(line, pattern, matchCase) != 0;
    CaseResult r;
    r.ms = MillisecondsSince(start);
    r.bytes = static_cast<long long>(text.size());
    r.extra = {{"lines", static_cast<double>(lines.size())}, {"hits", static_cast<double>(hits)}};
    return r;
}

// "<p class" starts like the markup on many lines, so partial matches are common;
// the full-width "ｚｚ" folds on every double-byte character.
RegisterCase ascii("findcompare-ascii-100mb", [] { return SearchCase("<p class=\"zq", false); });
RegisterCase asciiCase("findcompare-ascii-matchcase-100mb",
                       [] { return SearchCase("<p class=\"zq", true); });
RegisterCase wide("findcompare-fullwidth-100mb",
                  [] { return SearchCase("\x82\x9A\x82\x9A", false); });
RegisterCase wideCase("findcompare-fullwidth-matchcase-100mb",
                      [] { return SearchCase("\x82\x9A\x82\x9A", true); });

}  // namespace
}  // namespace zentabo::bench
