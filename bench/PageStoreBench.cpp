// The page store at its size limit: 100 pages holding 100 MB of Japanese XHTML,
// saved to and loaded from a real file; and the code page 932 codec on 100 MB.

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "app/PageStore.h"
#include "store/Cp932Codec.h"

namespace zentabo::bench {
namespace {

constexpr int kPages = 100;
constexpr std::size_t kPageBytes = 1000 * 1000;

struct BenchPage : PageStorePage {
    std::string caption, fileName, text;
    bool saveMode = true;
    std::string Caption() const override { return caption; }
    std::string FileName() const override { return fileName; }
    bool SaveMode() const override { return saveMode; }
    std::string Text() const override { return text; }
    void SetCaption(const std::string& c) override { caption = c; }
    void SetFileName(const std::string& f) override { fileName = f; }
    void SetSaveMode(bool s) override { saveMode = s; }
    void SetText(std::string t, const TaskProgress&) override { text = std::move(t); }
    FileResult LoadFile(const std::string&) override { return {}; }
    void MarkModified() override {}
};

struct BenchHost : PageStoreHost {
    std::vector<std::unique_ptr<BenchPage>> pages;
    int PageCount() const override { return static_cast<int>(pages.size()); }
    PageStorePage& Page(int i) override { return *pages[static_cast<std::size_t>(i)]; }
    PageStorePage& CreatePage() override {
        pages.push_back(std::make_unique<BenchPage>());
        return *pages.back();
    }
    bool AskReloadChangedFile(PageStorePage&, const std::string&) override { return false; }
};

double CurrentRssMb() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double PeakRssMb() {
    long kb = 0;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) kb = std::stol(line.substr(6));
    }
    return kb / 1024.0;
}

// CPU time of this thread: on a shared machine it shows the work itself where the
// wall time also counts the waiting.
double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

std::string PageCaption(int i) {
    return "\x83\x79\x81\x5B\x83\x57" + std::to_string(i);
}

CaseResult SaveCase() {
    const std::string sample = SampleText(kPageBytes);
    BenchHost host;
    for (int i = 0; i < kPages; ++i) {
        auto& page = static_cast<BenchPage&>(host.CreatePage());
        page.caption = PageCaption(i);
        page.text = sample;
    }
    const std::string path = ScratchDir() + "/save.ztb";
    double cpu = ThreadCpuMs();
    long long start = NowNs();
    FileResult r = SavePageStore(host, path);
    double ms = MillisecondsSince(start);
    cpu = ThreadCpuMs() - cpu;
    if (!r) throw std::runtime_error(r.error);
    CaseResult out;
    out.bytes = static_cast<long long>(sample.size()) * kPages;
    out.ms = ms;
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    out.extra.push_back({"file_mb", static_cast<double>(f.tellg()) / 1e6});
    out.extra.push_back({"cpu_ms", cpu});
    return out;
}

CaseResult LoadCase() {
    // The file is written page by page so that the setup's memory does not hide
    // the peak of the load itself.
    const std::string path = ScratchDir() + "/load.ztb";
    {
        const std::string sample = SampleText(kPageBytes);
        std::ofstream file(path, std::ios::binary);
        std::string chunk;
        TaggedValueWriter head(chunk);
        head.WriteString(kPageStoreSignature);
        head.WriteInteger(kPages);
        BenchPage page;
        page.text = sample;
        for (int i = 0; i < kPages; ++i) {
            page.caption = PageCaption(i);
            TaggedValueWriter writer(chunk);
            WritePage(writer, page);
            file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    double fileMb = static_cast<double>(f.tellg()) / (1024.0 * 1024.0);

    BenchHost host;
    double before = CurrentRssMb();
    double cpu = ThreadCpuMs();
    long long start = NowNs();
    PageStoreLoadResult r = LoadPageStore(host, path);
    double ms = MillisecondsSince(start);
    cpu = ThreadCpuMs() - cpu;
    if (r.StoppedEarly() || host.PageCount() != kPages) throw std::runtime_error("load failed");
    double growth = PeakRssMb() - before;
    std::size_t pageBytes = 0;
    for (auto& p : host.pages) pageBytes += p->text.capacity();
    double pagesMb = pageBytes / (1024.0 * 1024.0);

    CaseResult out;
    out.bytes = static_cast<long long>(pageBytes);
    out.ms = ms;
    out.extra = {{"file_mb", fileMb},
                 {"pages_mb", pagesMb},
                 {"peak_growth_mb", growth},
                 {"beyond_pages_per_file_size", (growth - pagesMb) / fileMb},
                 {"cpu_ms", cpu}};
    return out;
}

CaseResult DecodeCase() {
    const std::string text = SampleText(100 * kPageBytes);
    double cpu = ThreadCpuMs();
    long long start = NowNs();
    std::string utf8 = Cp932ToUtf8(text);
    CaseResult out;
    out.ms = MillisecondsSince(start);
    out.extra.push_back({"cpu_ms", ThreadCpuMs() - cpu});
    out.bytes = static_cast<long long>(text.size());
    out.extra.push_back({"utf8_mb", utf8.size() / 1e6});
    return out;
}

CaseResult EncodeCase() {
    const std::string utf8 = Cp932ToUtf8(SampleText(100 * kPageBytes));
    double cpu = ThreadCpuMs();
    long long start = NowNs();
    Cp932EncodeResult r = Utf8ToCp932(utf8);
    CaseResult out;
    out.ms = MillisecondsSince(start);
    out.extra.push_back({"cpu_ms", ThreadCpuMs() - cpu});
    out.bytes = static_cast<long long>(r.bytes.size());
    if (!r.ok()) throw std::runtime_error("sample text is not code page 932");
    return out;
}

RegisterCase saveCase("pagestore-save-100mb", SaveCase);
RegisterCase loadCase("pagestore-load-100mb", LoadCase);
RegisterCase decodeCase("cp932-to-utf8-100mb", DecodeCase);
RegisterCase encodeCase("utf8-to-cp932-100mb", EncodeCase);

}  // namespace
}  // namespace zentabo::bench
