// Crash-safe snapshots of the page store, as the user-interface thread feels them:
// the capture of 100 pages holding 100 MB (unchanged, and with one page changed), the
// capture of one changed page of 100 MB, and typing while the worker writes a 100 MB
// store.

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "BenchRegistry.h"
#include "SampleText.h"
#include "app/PageCapture.h"
#include "app/PageStoreSnapshots.h"
#include "editor/FixedMetricsHost.h"
#include "editor/LumEdit.h"

namespace zentabo::bench {
namespace {

constexpr int kPages = 100;
constexpr std::size_t kPageBytes = 1000 * 1000;
constexpr int kRepeats = 31;

double Median(std::vector<double> v) {
    return Percentile(std::move(v), 50);
}

// The main window's pages as the snapshot timer reads them: real editors with word
// wrap on. (The window converts each caption from its tab's Qt string on every
// look; 100 short captions add microseconds, and Qt stays out of this bench.)
class EditorPages : public CaptureSource {
public:
    explicit EditorPages(int pages = kPages, std::size_t pageBytes = kPageBytes) : pages_(pages) {
        host_.SetClientSize(1024, 768);
        const std::string sample = SampleText(pageBytes);
        for (int i = 0; i < pages; ++i) {
            auto edit = std::make_unique<TLumEdit>(host_);
            edit->SetColumn(80);
            edit->SetAllText(sample);
            edits_.push_back(std::move(edit));
            files_.push_back("/home/writer/site/page-" + std::to_string(i) + ".html");
            captions_.push_back("\x83\x79\x81\x5B\x83\x57" + std::to_string(i) + ".html");
        }
    }
    TLumEdit& Edit(int i) { return *edits_[static_cast<std::size_t>(i)]; }

    int PageCount() const override { return pages_; }
    std::uint64_t TextGeneration(int i) const override { return At(i).TextGeneration(); }
    std::string Caption(int i) const override { return captions_[static_cast<std::size_t>(i)]; }
    std::string FileName(int i) const override { return files_[static_cast<std::size_t>(i)]; }
    bool SaveMode(int) const override { return true; }
    std::string Text(int i) const override { return At(i).GetAllText(); }

private:
    const TLumEdit& At(int i) const { return *edits_[static_cast<std::size_t>(i)]; }
    int pages_;
    FixedMetricsHost host_;
    std::vector<std::unique_ptr<TLumEdit>> edits_;
    std::vector<std::string> files_;
    std::vector<std::string> captions_;
};

// One key typed in the middle of page `index` before each capture: the times of the
// captures, each of which must copy that page and no other.
std::vector<double> TimeCapturesAfterAKey(EditorPages& pages, PageCapture& capture, int index,
                                          int repeats) {
    TLumEdit& typed = pages.Edit(index);
    typed.MoveCaretTo(0, typed.LineCount() / 2, kScrollCentre);
    std::vector<double> ms;
    for (int r = 0; r < repeats; ++r) {
        typed.TypeText("a");
        const long long start = NowNs();
        std::vector<PageImage> images = capture.Take(pages);
        ms.push_back(MillisecondsSince(start));
        if (capture.TextsCopied() != 1) throw std::runtime_error("the changed page was not copied");
    }
    return ms;
}

CaseResult CaptureCase() {
    EditorPages pages;
    PageCapture capture;
    long long start = NowNs();
    capture.Take(pages);
    const double firstMs = MillisecondsSince(start);

    // The look every tick takes, and the capture of pages that did not change.
    std::vector<double> lookMs, unchangedMs;
    for (int r = 0; r < kRepeats; ++r) {
        start = NowNs();
        StoreState state = StateOf(pages);
        lookMs.push_back(MillisecondsSince(start));
        start = NowNs();
        std::vector<PageImage> images = capture.Take(pages);
        unchangedMs.push_back(MillisecondsSince(start));
        if (capture.TextsCopied() != 0) throw std::runtime_error("an unchanged page was copied");
    }
    const std::vector<double> changedMs =
        TimeCapturesAfterAKey(pages, capture, kPages / 2, kRepeats);

    CaseResult out;
    out.bytes = static_cast<long long>(kPages) * static_cast<long long>(kPageBytes);
    out.ms = Median(unchangedMs);
    out.extra = {{"first_capture_ms", firstMs},
                 {"look_median_ms", Median(lookMs)},
                 {"unchanged_median_ms", Median(unchangedMs)},
                 {"unchanged_max_ms", *std::max_element(unchangedMs.begin(), unchangedMs.end())},
                 {"unchanged_target_ms", 1},
                 {"one_changed_median_ms", Median(changedMs)},
                 {"one_changed_max_ms", *std::max_element(changedMs.begin(), changedMs.end())},
                 {"one_changed_target_ms", 5}};
    return out;
}

// A changed page is copied whole on the user-interface thread: what one key typed into
// a 100 MB page costs the next snapshot.
CaseResult LargePageCase() {
    constexpr std::size_t kBytes = 100u * 1000 * 1000;
    EditorPages pages(1, kBytes);
    PageCapture capture;
    const std::vector<double> changedMs = TimeCapturesAfterAKey(pages, capture, 0, 11);
    CaseResult out;
    out.bytes = static_cast<long long>(kBytes);
    out.ms = Median(changedMs);
    out.extra = {{"changed_median_ms", Median(changedMs)},
                 {"changed_max_ms", *std::max_element(changedMs.begin(), changedMs.end())}};
    return out;
}

// Typing as in type-1000 (100 MB wrapped, caret mid-text), alternating blocks
// without and with a snapshot of 100 pages of 1 MB being written, so that a change
// of the machine's load between them touches both alike.
CaseResult TypingCase() {
    constexpr std::size_t kTextBytes = 100u * 1024 * 1024;
    constexpr int kBlocks = 5;
    constexpr int kPerBlock = 200;
    // A pause between keys, as typing has; the worker runs on meanwhile.
    constexpr auto kBetweenKeys = std::chrono::microseconds(500);

    FixedMetricsHost host;
    host.SetClientSize(1024, 768);
    TLumEdit edit(host);
    edit.SetColumn(80);
    edit.SetAllText(SampleText(kTextBytes));
    edit.MoveCaretTo(0, edit.LineCount() / 2, kScrollCentre);

    auto pageText = std::make_shared<const std::string>(SampleText(kPageBytes));
    std::vector<PageImage> images;
    for (int i = 0; i < kPages; ++i)
        images.push_back({static_cast<std::uint64_t>(i + 1), "page" + std::to_string(i),
                          "/home/writer/page" + std::to_string(i) + ".html", true, pageText});
    PageStoreSnapshots snapshots(ScratchDir() + "/snapshot.ztb");

    std::vector<double> quietUs, writingUs, writeMs;
    long long writeStart = 0;
    int key = 0;
    auto typeOne = [&](std::vector<double>& into) {
        const std::string k =
            (key++ % 3 == 0) ? "\x82\xA0" : std::string(1, static_cast<char>('a' + key % 26));
        long long s = NowNs();
        edit.TypeText(k);
        into.push_back((NowNs() - s) / 1e3);
        std::this_thread::sleep_for(kBetweenKeys);
    };
    auto startWrite = [&] {
        writeStart = NowNs();
        if (!snapshots.StartSnapshot(images, nullptr)) throw std::runtime_error("not started");
    };
    for (int b = 0; b < kBlocks; ++b) {
        for (int i = 0; i < kPerBlock; ++i) typeOne(quietUs);
        startWrite();
        for (int i = 0; i < kPerBlock; ++i) {
            if (!snapshots.Writing()) {
                writeMs.push_back(MillisecondsSince(writeStart));
                startWrite();
            }
            typeOne(writingUs);
        }
        snapshots.WaitForSnapshot();
        writeMs.push_back(MillisecondsSince(writeStart));
    }

    CaseResult out;
    out.bytes = static_cast<long long>(kTextBytes);
    out.extra = {{"quiet_median_us", Median(quietUs)},
                 {"quiet_p99_us", Percentile(quietUs, 99)},
                 {"writing_median_us", Median(writingUs)},
                 {"writing_p99_us", Percentile(writingUs, 99)},
                 {"keys_each", static_cast<double>(quietUs.size())},
                 {"snapshots_written", static_cast<double>(writeMs.size())},
                 {"snapshot_write_median_ms", Median(writeMs)}};
    return out;
}

RegisterCase capture("snapshot-capture-100x1mb", CaptureCase);
RegisterCase largePage("snapshot-capture-one-100mb-page", LargePageCase);
RegisterCase typing("type-during-snapshot-write", TypingCase);

}  // namespace
}  // namespace zentabo::bench
