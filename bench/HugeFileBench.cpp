// A 1 GB code page 932 file through a page's whole life: opened with word wrap,
// edited at its end and in its middle, searched from top to bottom, saved through
// the temporary file and closed. The driver's peak memory is to be read against the
// file's size (the target is three times it). Heavy: run it on its own.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "app/FindCompare.h"
#include "app/LinesSave.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr std::size_t kFileBytes = std::size_t{1} << 30;

double ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1 << 20);
}

RegisterCase hugeFile("huge-file-1gb", [] {
    const std::string path = WriteSampleFile("huge.txt", kFileBytes, Breaks::CrLf);
    CaseResult r;
    r.bytes = static_cast<long long>(kFileBytes);
    auto step = [&r](const char* name, long long start) {
        r.extra.push_back({std::string(name) + "_ms", MillisecondsSince(start)});
    };
    FixedMetricsHost host;
    host.SetClientSize(1024, 768);
    auto edit = std::make_unique<TLumEdit>(host);
    edit->SetColumn(80);
    edit->OnFind = [](TLumEdit&, const std::string& str, const std::string& findchr, int, int& x,
                      int&) { x = FindCompare(str, findchr, false); };
    long long start = NowNs();
    const long long all = start;
    if (!edit->LoadFile(path)) throw std::runtime_error("cannot load " + path);
    step("load", start);
    r.extra.push_back({"display_lines", double(edit->LineCount())});
    r.extra.push_back({"rss_after_load_mb", ResidentMb()});

    start = NowNs();
    edit->MoveCaretTo(0, edit->LineCount() - 1, kScrollCentre);
    edit->InsertString("\x96\x96\x94\xf6");  // 末尾
    step("edit_end", start);
    start = NowNs();
    edit->MoveCaretTo(0, edit->LineCount() / 2, kScrollCentre);
    edit->InsertString("\x92\x86\x89\x9b");  // 中央
    step("edit_middle", start);

    bool missed = false;
    edit->OnFindNoHit = [&](TLumEdit&, const std::string&) { missed = true; };
    edit->SetFindText("zentabo-absent");
    edit->MoveCaretTo(0, 0, kScrollCentre);
    start = NowNs();
    edit->FindNext();
    step("search_whole", start);
    r.extra.push_back({"search_missed", missed ? 1.0 : 0.0});

    start = NowNs();
    const FileResult saved = SaveLinesAtomically(edit->Lines(), path);
    if (!saved) throw std::runtime_error(saved.error);
    step("save", start);
    r.extra.push_back({"rss_after_save_mb", ResidentMb()});

    start = NowNs();
    edit.reset();
    step("close", start);
    r.ms = MillisecondsSince(all);
    std::remove(path.c_str());
    return r;
});

}  // namespace
}  // namespace zentabo::bench
