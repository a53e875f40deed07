// Line store: loading and saving 100 MB, single-entry edits in a 100 MB text, and the
// position helpers the editor asks on every keystroke.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "store/LumStrings.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t k100Mb = 100u << 20;

CaseResult LoadCase(const char* name, Breaks breaks) {
    std::string path = WriteSampleFile(name, k100Mb, breaks);
    TLumStrings store;
    long long start = NowNs();
    store.LoadFromFile(path);
    CaseResult r;
    r.ms = MillisecondsSince(start);
    r.bytes = static_cast<long long>(k100Mb);
    r.extra = {{"display_lines", store.Count()}, {"capacity", store.Capacity()}};
    return r;
}

RegisterCase loadCrLf("load-crlf-100mb", [] { return LoadCase("crlf.txt", Breaks::CrLf); });
RegisterCase loadLf("load-lf-100mb", [] { return LoadCase("lf.txt", Breaks::Lf); });
RegisterCase loadCr("load-cr-100mb", [] { return LoadCase("cr.txt", Breaks::Cr); });

RegisterCase save("save-100mb", [] {
    std::string path = WriteSampleFile("in.txt", k100Mb, Breaks::CrLf);
    TLumStrings store;
    store.LoadFromFile(path);
    std::string out = ScratchDir() + "/out.txt";
    long long start = NowNs();
    store.SaveToFile(out);
    CaseResult r;
    r.ms = MillisecondsSince(start);
    r.bytes = static_cast<long long>(k100Mb);
    return r;
});

struct Stats {
    double median_us, p99_us, max_us;
};

Stats Summarise(std::vector<double> us) {
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 99 / 100], us.back()};
}

void AddStats(CaseResult& r, const std::string& prefix, const Stats& s) {
    r.extra.push_back({prefix + "_median_us", s.median_us});
    r.extra.push_back({prefix + "_p99_us", s.p99_us});
    r.extra.push_back({prefix + "_max_us", s.max_us});
}

// Enter and Backspace in the middle of a 100 MB text: one entry inserted, then deleted,
// a few entries further on each time, as typing moves down. The same on a plain
// std::vector shows what the gap in the slot array saves.
RegisterCase edits("edit-middle-100mb", [] {
    std::string path = WriteSampleFile("in.txt", k100Mb, Breaks::CrLf);
    TLumStrings store;
    store.LoadFromFile(path);
    const int32_t middle = store.Count() / 2;
    const int rounds = 400;
    std::vector<double> storeUs, vectorUs, queryUs;
    long long total = NowNs();
    for (int i = 0; i < rounds; ++i) {
        int32_t at = middle + i * 3;
        long long t = NowNs();
        store.Insert(at, "new line\r\n");
        store.Put(at + 1, "changed\r\n");
        store.Delete(at);
        storeUs.push_back(MillisecondsSince(t) * 1000);
        // What the editor then asks: the logical line of the caret and its first entry.
        t = NowNs();
        int32_t logical = store.CountLineEndsBefore(at + 1);
        int32_t first = store.IndexAfterLineEnds(logical);
        queryUs.push_back(MillisecondsSince(t) * 1000);
        if (first > at + 1) std::abort();
    }
    double storeMs = MillisecondsSince(total);

    std::vector<std::string> plain;
    plain.reserve(store.Count() + 64);
    for (int32_t i = 0; i < store.Count(); ++i) plain.emplace_back(store.Get(i));
    for (int i = 0; i < rounds / 4; ++i) {
        auto at = plain.begin() + middle + i * 3;
        long long t = NowNs();
        at = plain.insert(at, "new line\r\n");
        at[1] = "changed\r\n";
        plain.erase(at);
        vectorUs.push_back(MillisecondsSince(t) * 1000);
    }

    // A change near the top invalidates every checkpoint: the worst query is one scan.
    long long t = NowNs();
    store.Put(1, "top\r\n");
    int32_t lines = store.CountLineEndsBefore(store.Count() - 1);
    double rebuildMs = MillisecondsSince(t);
    std::printf("%s", lines < 0 ? "?" : "");

    CaseResult r;
    r.ms = storeMs;
    r.extra.push_back({"display_lines", store.Count()});
    AddStats(r, "store_edit", Summarise(storeUs));
    AddStats(r, "vector_edit", Summarise(vectorUs));
    AddStats(r, "position_query", Summarise(queryUs));
    r.extra.push_back({"full_rescan_ms", rebuildMs});
    return r;
});

// Bad input: one 50 MB line without any break (read by the chunked reader), and the
// same line behind a first CR LF line (read whole). Both must load as one entry.
RegisterCase longLine("load-50mb-line", [] {
    const std::size_t size = 50u << 20;
    std::string path = ScratchDir() + "/line.txt";
    {
        std::string block(1u << 20, 'a');
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fputs("x\r\n", f);
        for (std::size_t i = 0; i < size; i += block.size())
            std::fwrite(block.data(), 1, block.size(), f);
        std::fclose(f);
    }
    TLumStrings store;
    long long start = NowNs();
    store.LoadFromFile(path);
    double crlfMs = MillisecondsSince(start);
    if (store.Count() != 2 || store.Get(1).size() != size + 1) std::abort();

    std::FILE* f = std::fopen(path.c_str(), "r+b");
    std::fputs("aaa", f);  // no break left: the file is one line, read in chunks
    std::fclose(f);
    start = NowNs();
    store.LoadFromFile(path);
    double chunkedMs = MillisecondsSince(start);
    if (store.Count() != 1 || store.Get(0).size() != size + 4) std::abort();

    CaseResult r;
    r.ms = crlfMs + chunkedMs;
    r.bytes = static_cast<long long>(size);
    r.extra = {{"crlf_loader_ms", crlfMs}, {"chunked_reader_ms", chunkedMs}};
    return r;
});

}  // namespace
}  // namespace zentabo::bench
