// Opening awkward large files with word wrap on: one 100 MB line, and 50 million empty
// lines. Both must open whole; the figures show what they cost.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "BenchRegistry.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t k100Mb = 100u << 20;

// `head` once, then `block` until the file holds about 100 MB.
std::string WriteFile(const char* name, const std::string& head, const std::string& block) {
    std::string path = ScratchDir() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(head.data(), 1, head.size(), f);
    for (std::size_t n = 0; n < k100Mb; n += block.size())
        std::fwrite(block.data(), 1, block.size(), f);
    std::fclose(f);
    return path;
}

CaseResult Open(const std::string& path) {
    FixedMetricsHost host;
    host.SetClientSize(1024, 768);
    TLumEdit edit(host);
    edit.SetColumn(80);
    long long start = NowNs();
    if (!edit.LoadFile(path)) std::abort();
    CaseResult r;
    r.ms = MillisecondsSince(start);
    r.bytes = static_cast<long long>(k100Mb);
    r.extra.push_back({"display_lines", static_cast<double>(edit.LineCount())});
    return r;
}

RegisterCase oneLine("open-wrapped-100mb-line", [] {
    // The first break decides the style: CR LF, so the long line is read whole.
    return Open(WriteFile("line.txt", "x\r\n", std::string(1u << 20, 'a')));
});

RegisterCase emptyLines("open-wrapped-50m-empty-lines", [] {
    std::string block;
    for (int i = 0; i < (1 << 19); ++i) block += "\r\n";
    return Open(WriteFile("empty.txt", "", block));
});

}  // namespace
}  // namespace zentabo::bench
