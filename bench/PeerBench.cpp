// zentabo-bench --peer vim: the large-file cases against vim on the same file in the
// same run, so that the machine's speed cancels out in the ratios. For each size the
// file is made once; every run times our cases (each in its own child process, for its
// own peak memory), vim and the floor of reading the file once, and the medians count.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "BenchRegistry.h"
#include "PeerVim.h"
#include "SampleText.h"
#include "app/FindCompare.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

using Figures = std::map<std::string, double>;

const std::string kFind = "zq";
const std::string kChange = "zqq";

struct PeerOptions {
    std::vector<int> sizesMb = {10, 100, 1000};
    int runs = 3;
};

void Put(int fd, const Figures& f) {
    std::string out;
    for (const auto& [key, value] : f) out += key + " " + std::to_string(value) + "\n";
    if (write(fd, out.data(), out.size()) < 0) _exit(3);
}

Figures Parse(const std::string& text) {
    Figures f;
    std::istringstream in(text);
    std::string key;
    double value;
    while (in >> key >> value) f[key] = value;
    return f;
}

// One of our cases in a child; its figures plus "<prefix>peak_mb", or nothing on failure.
Figures InChild(const std::string& prefix, const std::function<Figures()>& body) {
    ChildOutcome child = RunInChild([&](int fd) { Put(fd, body()); });
    if (!child.ok) return {};
    Figures f = Parse(child.output);
    f[prefix + "peak_mb"] = child.peakMb;
    return f;
}

struct Editor {
    FixedMetricsHost host;
    std::unique_ptr<TLumEdit> edit;

    explicit Editor(bool wrap) {
        host.SetClientSize(1024, 768);
        edit = std::make_unique<TLumEdit>(host);
        edit->SetColumn(80);
        if (!wrap) edit->SetWordWrap(false);
    }
};

Figures Floor(const std::string& file) {
    // What any editor must pay: the file's bytes into memory, as `cat` reads them.
    std::size_t size = std::filesystem::file_size(file);
    char* buffer = static_cast<char*>(std::malloc(size + 1));
    std::FILE* f = std::fopen(file.c_str(), "rb");
    long long start = NowNs();
    std::size_t got = std::fread(buffer, 1, size, f);
    double ms = MillisecondsSince(start);
    std::fclose(f);
    if (got != size) std::abort();
    std::free(buffer);
    return {{"floor_ms", ms}};
}

Figures Load(const std::string& file) {
    Editor e(false);
    long long start = NowNs();
    if (!e.edit->LoadFile(file)) std::abort();
    return {{"load_ms", MillisecondsSince(start)}, {"lines", double(e.edit->LineCount())}};
}

Figures Open(const std::string& file) {
    Editor e(true);
    long long start = NowNs();
    if (!e.edit->LoadFile(file)) std::abort();
    return {{"open_ms", MillisecondsSince(start)}, {"display_lines", double(e.edit->LineCount())}};
}

// Replace all, write the result, undo: what the three vim runs after the load do.
Figures ReplaceWriteUndo(const std::string& file, const std::string& out) {
    Editor e(true);
    if (!e.edit->LoadFile(file)) std::abort();
    int hits = 0;
    e.edit->OnFind = [](TLumEdit&, const std::string& str, const std::string& findchr, int, int& x,
                        int&) { x = FindCompare(str, findchr, false); };
    e.edit->OnFindChangeEnd = [&hits](TLumEdit&, const std::string&, const std::string&,
                                      int count) { hits = count; };
    Figures f;
    long long start = NowNs();
    e.edit->FindReplace(kFind, kChange, true, false, true);
    f["replace_ms"] = MillisecondsSince(start);
    f["hits"] = hits;
    start = NowNs();
    if (!e.edit->SaveFile(out)) std::abort();
    f["write_ms"] = MillisecondsSince(start);
    start = NowNs();
    while (!e.edit->UndoList().empty()) e.edit->Undo();
    f["undo_ms"] = MillisecondsSince(start);
    return f;
}

void AddVim(const std::string& vim, const std::string& file, const std::string& out, Figures& f) {
    const std::string subst = "%s/" + kFind + "/" + kChange + "/g";
    PeerRun load = RunVim(vim, file, {"qa!"});
    PeerRun sub = RunVim(vim, file, {subst, "qa!"});
    PeerRun wrote = RunVim(vim, file, {subst, "w! " + out, "qa!"});
    PeerRun undo = RunVim(vim, file, {subst, "undo", "qa!"});
    if (!load.ok || !sub.ok || !wrote.ok || !undo.ok) {
        std::printf("  vim ended with an error in this run; its figures are left out\n");
        return;
    }
    // Each vim run loads the file first: the later steps are the differences.
    f["vim_load_ms"] = load.ms;
    f["vim_replace_ms"] = sub.ms - load.ms;
    f["vim_write_ms"] = wrote.ms - sub.ms;
    f["vim_undo_ms"] = undo.ms - sub.ms;
    f["vim_peak_mb"] = load.peakMb;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Medians of every figure over the runs that reported it.
Figures Medians(const std::vector<Figures>& runs) {
    std::map<std::string, std::vector<double>> all;
    for (const Figures& r : runs)
        for (const auto& [key, value] : r) all[key].push_back(value);
    Figures m;
    for (auto& [key, values] : all) m[key] = Median(values);
    return m;
}

double MemInfoMb(const char* field) {
    std::ifstream in("/proc/meminfo");
    std::string key;
    double kb = 0;
    std::string unit;
    while (in >> key >> kb >> unit)
        if (key == field) return kb / 1024;
    return 0;
}

void PrintRow(const Figures& m, const char* label, const std::string& ours, const std::string& vim,
              const char* unit) {
    auto has = [&m](const std::string& k) { return m.count(k) > 0; };
    std::printf("  %-34s", label);
    if (has(ours))
        std::printf("%10.1f %s", m.at(ours), unit);
    else
        std::printf("%13s", "failed");
    if (!vim.empty() && has(vim) && has(ours) && m.at(vim) <= 0) {
        // A difference of two vim runs that the machine's noise swallowed.
        std::printf("%13s %8s", "(noise)", "");
    } else if (!vim.empty() && has(vim) && has(ours)) {
        std::printf("%10.1f %s %8.2f", m.at(vim), unit, m.at(ours) / std::max(0.1, m.at(vim)));
    } else {
        std::printf("%13s %8s", vim.empty() ? "" : "-", "");
    }
    if (has("floor_ms") && has(ours) && std::strcmp(unit, "ms") == 0)
        std::printf(" %10.1f", m.at(ours) / std::max(0.1, m.at("floor_ms")));
    std::printf("\n");
}

void PrintSize(int mb, const Figures& m, bool withVim) {
    std::printf("\n%d MB: %.0f lines, %.0f display lines at column 80, %.0f hits of \"%s\"\n", mb,
                m.count("lines") ? m.at("lines") : 0,
                m.count("display_lines") ? m.at("display_lines") : 0,
                m.count("hits") ? m.at("hits") : 0, kFind.c_str());
    std::printf("  floor (reading the file once): %.1f ms\n",
                m.count("floor_ms") ? m.at("floor_ms") : 0);
    std::printf("  %-34s%13s %13s %8s %10s\n", "case", "ours", withVim ? "vim" : "", "ratio",
                "ours/floor");
    const std::string v = withVim ? "vim_" : "";
    auto vim = [&v](const char* k) { return v.empty() ? std::string() : v + k; };
    PrintRow(m, "load", "load_ms", vim("load_ms"), "ms");
    PrintRow(m, "open with wrap at 80 (vs vim load)", "open_ms", vim("load_ms"), "ms");
    PrintRow(m, "replace all zq -> zqq", "replace_ms", vim("replace_ms"), "ms");
    PrintRow(m, "undo of the replacement", "undo_ms", vim("undo_ms"), "ms");
    PrintRow(m, "write after the replacement", "write_ms", vim("write_ms"), "ms");
    PrintRow(m, "peak memory, open path", "open_peak_mb", vim("peak_mb"), "MB");
    PrintRow(m, "peak memory, load without wrap", "load_peak_mb", vim("peak_mb"), "MB");
    if (m.count("open_peak_mb") && m.count("display_lines")) {
        const double bound = 1.5 * mb + 40 * m.at("display_lines") / (1 << 20);
        const double base = m.count("base_peak_mb") ? m.at("base_peak_mb") : 0;
        const double text = m.at("open_peak_mb") - base;
        std::printf(
            "  open path peak for the text %.1f MB (%.1f MB less the program's own "
            "%.1f MB) against 1.5 x size + 40 B x display lines = %.1f MB: %s\n",
            text, m.at("open_peak_mb"), base, bound, text <= bound ? "within" : "over");
    }
    std::fflush(stdout);
}

void PrintScaling(const std::map<int, Figures>& bySize) {
    const char* keys[] = {"load_ms", "open_ms",  "replace_ms",
                          "undo_ms", "write_ms", "open_peak_mb"};
    for (auto it = bySize.begin(); it != bySize.end(); ++it) {
        auto next = std::next(it);
        if (next == bySize.end()) break;
        std::printf("\nscaling %d MB / %d MB (size ratio %.0f):", next->first, it->first,
                    double(next->first) / it->first);
        for (const char* k : keys) {
            if (!it->second.count(k) || !next->second.count(k)) continue;
            std::printf(" %s %.1f", k, next->second.at(k) / std::max(0.01, it->second.at(k)));
        }
        std::printf("\n");
    }
}

bool ParseOptions(int argc, char** argv, PeerOptions& o) {
    if (argc < 1 || std::strcmp(argv[0], "vim") != 0) {
        std::fprintf(stderr, "zentabo-bench: --peer knows only vim\n");
        return false;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--sizes") == 0) {
            o.sizesMb.clear();
            std::stringstream list(argv[i + 1]);
            std::string item;
            while (std::getline(list, item, ',')) o.sizesMb.push_back(std::atoi(item.c_str()));
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            o.runs = std::max(1, std::atoi(argv[i + 1]));
        } else {
            std::fprintf(stderr, "zentabo-bench: unknown option %s\n", argv[i]);
            return false;
        }
    }
    std::sort(o.sizesMb.begin(), o.sizesMb.end());
    return !o.sizesMb.empty() && o.sizesMb.front() > 0;
}

}  // namespace

int RunPeerMode(int argc, char** argv) {
    PeerOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: zentabo-bench --peer vim [--sizes 10,100,1000] [--runs 3]\n");
        return 2;
    }
    const std::string vim = FindVim();
    std::printf(
        "zentabo-bench --peer vim: %ld cores, %.0f MB memory (%.0f MB available), "
        "medians of %d runs\n",
        sysconf(_SC_NPROCESSORS_ONLN), MemInfoMb("MemTotal:"), MemInfoMb("MemAvailable:"),
        options.runs);
    if (vim.empty())
        std::printf("vim: not installed, its figures are skipped\n");
    else
        std::printf("vim: %s (%s), -u NONE -i NONE -N -n -es --cmd \"set encoding=cp932\"\n",
                    VimVersion(vim).c_str(), vim.c_str());
    std::map<int, Figures> bySize;
    const std::string dir = ScratchDir();
    for (int mb : options.sizesMb) {
        // Ours and vim's peaks come one after the other, with the file in the page cache.
        const double needMb = 4.0 * mb;
        if (MemInfoMb("MemAvailable:") < needMb) {
            std::printf("\n%d MB: skipped, it needs about %.0f MB of free memory\n", mb, needMb);
            continue;
        }
        const std::string file = WriteSampleFile("peer-" + std::to_string(mb) + ".txt",
                                                 std::size_t(mb) << 20, Breaks::CrLf);
        const std::string out = dir + "/out.txt";
        std::vector<Figures> runs;
        for (int r = 0; r < options.runs; ++r) {
            Figures f = InChild("", [&] { return Floor(file); });
            // What a child holds before it does anything: the program and its libraries.
            for (auto& [key, value] : InChild("base_", [] { return Figures{{"base", 0}}; })) f[key] = value;
            for (auto& part : {InChild("load_", [&] { return Load(file); }),
                               InChild("open_", [&] { return Open(file); }),
                               InChild("replace_", [&] { return ReplaceWriteUndo(file, out); })})
                f.insert(part.begin(), part.end());
            if (!vim.empty()) AddVim(vim, file, dir + "/vim-out.txt", f);
            runs.push_back(std::move(f));
        }
        bySize[mb] = Medians(runs);
        PrintSize(mb, bySize[mb], !vim.empty());
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
    PrintScaling(bySize);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}

}  // namespace zentabo::bench
