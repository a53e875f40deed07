// Paging through 100 MB of wrapped text with the key table: Page Down from the top, the
// middle and near the end, milliseconds per page.
#include <algorithm>
#include <memory>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
constexpr int kPagesPerStart = 500;

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(v.size() * p))];
}

RegisterCase pageDown("pagedown-100mb", [] {
    FixedMetricsHost host;
    host.SetClientSize(1024, 768);
    host.SetFocus(true);
    TLumEdit edit(host);
    edit.SetColumn(80);
    edit.SetAllText(SampleText(kTextBytes));
    const int lines = edit.LineCount();
    std::vector<double> ms;
    for (int start : {0, lines / 2, std::max(0, lines - 200 * edit.LinesPerPage())}) {
        edit.MoveCaretTo(0, start, kScrollKeepMargin);
        for (int i = 0; i < kPagesPerStart; ++i) {
            long long t = NowNs();
            edit.KeyDown(vk::kNext);
            ms.push_back(MillisecondsSince(t));
        }
    }
    CaseResult r;
    r.bytes = static_cast<long long>(kTextBytes);
    r.ms = Percentile(ms, 0.5);
    r.extra.push_back({"median_ms_per_page", Percentile(ms, 0.5)});
    r.extra.push_back({"p99_ms_per_page", Percentile(ms, 0.99)});
    r.extra.push_back({"max_ms_per_page", Percentile(ms, 1.0)});
    r.extra.push_back({"pages", static_cast<double>(ms.size())});
    r.extra.push_back({"display_lines", static_cast<double>(lines)});
    r.extra.push_back({"top_line_at_end", static_cast<double>(edit.TopLine())});
    return r;
});

}  // namespace
}  // namespace zentabo::bench
