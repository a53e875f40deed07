#include "app/PageStoreSnapshots.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>

#include "FakePages.h"
#include "TempDir.h"

namespace zentabo {
namespace {

using testing::FakeHost;
using testing::ReadBack;
using testing::TempDir;

// Pages whose generations the test moves by hand, counting the texts read.
struct Source : CaptureSource {
    struct Page {
        std::uint64_t generation;
        std::string caption, text;
        bool saveMode = true;
    };
    std::vector<Page> pages;
    mutable int textsRead = 0;

    int PageCount() const override { return static_cast<int>(pages.size()); }
    std::uint64_t TextGeneration(int i) const override { return pages[i].generation; }
    std::string Caption(int i) const override { return pages[i].caption; }
    std::string FileName(int) const override { return {}; }
    bool SaveMode(int i) const override { return pages[i].saveMode; }
    std::string Text(int i) const override {
        ++textsRead;
        return pages[i].text;
    }
};

std::string StoreOf(const Source& source) {
    FakeHost host;
    for (const auto& p : source.pages)
        host.Add(p.caption, "", p.saveMode, p.saveMode ? p.text : "");
    std::string out;
    EXPECT_TRUE(SavePagesToStream(host, out));
    return out;
}

TEST(PageStoreSnapshotTest, OnlyChangedTextsAreCopiedAndTheFileMatchesAClose) {
    Source source;
    source.pages = {{1, "a", "first"}, {2, "b", "second\r\n\x82\xA0"}, {3, "c", "off", false}};
    PageCapture capture;
    std::vector<PageImage> first = capture.Take(source);
    EXPECT_EQ(source.textsRead, 2);  // the page with save mode off is never read

    source.pages[1].text = "changed";
    source.pages[1].generation = 4;
    source.pages.push_back({5, "d", "new page"});
    std::vector<PageImage> second = capture.Take(source);
    EXPECT_EQ(capture.TextsCopied(), 2);
    EXPECT_EQ(second[0].text, first[0].text);  // shared, not copied

    TempDir dir;
    PageStoreSnapshots snapshots(dir.File("z.ztb"));
    std::promise<StoreWriteOutcome> done;
    ASSERT_TRUE(
        snapshots.StartSnapshot(second, [&](const StoreWriteOutcome& o) { done.set_value(o); }));
    EXPECT_TRUE(done.get_future().get().status.ok);
    snapshots.WaitForSnapshot();
    EXPECT_EQ(ReadBack(dir.File("z.ztb")), StoreOf(source));
}

TEST(PageStoreSnapshotTest, ASnapshotIsSkippedWhileOneRunsAndNeverLandsAfterTheClose) {
    TempDir dir;
    const std::string path = dir.File("z.ztb");
    std::mutex m;
    std::condition_variable cv;
    bool release = false;
    // The snapshot's first write waits until the test lets it go on.
    PageStoreSnapshots snapshots(path, [&](WriteStep step) {
        if (step == WriteStep::Write) {
            std::unique_lock<std::mutex> lock(m);
            cv.wait(lock, [&] { return release; });
        }
        return false;
    });
    Source old;
    old.pages = {{1, "old", "snapshot text"}};
    ASSERT_TRUE(snapshots.StartSnapshot(snapshots.Capture().Take(old), nullptr));
    EXPECT_TRUE(snapshots.Writing());
    EXPECT_FALSE(snapshots.StartSnapshot(snapshots.Capture().Take(old), nullptr));

    auto close = std::async(std::launch::async, [&] {
        return snapshots.WriteNow(
            [](const std::string& p) { return WriteFileAtomically(p, "the close"); });
    });
    {
        std::lock_guard<std::mutex> lock(m);
        release = true;
    }
    cv.notify_all();
    EXPECT_TRUE(close.get().status.ok);
    EXPECT_EQ(ReadBack(path), "the close");
}

TEST(PageStoreSnapshotTest, AStoreWrittenByAnotherProgramOrNotReadToItsEndIsKeptAside) {
    TempDir dir;
    const std::string path = dir.File("z.ztb");
    ASSERT_TRUE(WriteFileAtomically(path, "damaged store"));
    PageStoreSnapshots snapshots(path);
    snapshots.Loaded(false);
    auto write = [](const char* text) {
        return [text](const std::string& p) { return WriteFileAtomically(p, text); };
    };
    StoreWriteOutcome first = snapshots.WriteNow(write("one"));
    ASSERT_TRUE(first.status.ok);
    EXPECT_FALSE(first.replacedByOther);
    EXPECT_EQ(ReadBack(first.keptPath), "damaged store");

    // Our own file is replaced without a copy.
    StoreWriteOutcome second = snapshots.WriteNow(write("two"));
    EXPECT_TRUE(second.keptPath.empty());

    ASSERT_TRUE(WriteFileAtomically(path, "from another program"));
    StoreWriteOutcome third = snapshots.WriteNow(write("three"));
    EXPECT_TRUE(third.replacedByOther);
    EXPECT_NE(third.keptPath.find(".replaced-"), std::string::npos) << third.keptPath;
    EXPECT_EQ(ReadBack(third.keptPath), "from another program");
    EXPECT_EQ(ReadBack(path), "three");
}

TEST(PageStoreSnapshotTest, TheScheduleWaitsForQuietButNotForever) {
    using namespace std::chrono_literals;
    SnapshotSchedule s;
    s.SetQuiet(5s);
    const SnapshotSchedule::Clock::time_point t0{};
    EXPECT_FALSE(s.Due(t0 + 100s));  // nothing changed
    // A change every two seconds: never quiet, so the longest wait decides.
    for (int i = 0; i <= 14; ++i) s.Changed(t0 + std::chrono::seconds(2 * i));
    EXPECT_FALSE(s.Due(t0 + 29s));
    EXPECT_TRUE(s.Due(t0 + 30s));
    s.Started();
    EXPECT_FALSE(s.Due(t0 + 60s));

    s.Changed(t0 + 100s);
    EXPECT_FALSE(s.Due(t0 + 104s));
    EXPECT_TRUE(s.Due(t0 + 105s));
    s.Started();
    s.Failed(t0 + 106s);  // tried again after the quiet time
    EXPECT_FALSE(s.Due(t0 + 110s));
    EXPECT_TRUE(s.Due(t0 + 111s));

    s.SetQuiet(0s);  // switched off
    EXPECT_FALSE(s.Due(t0 + 1000s));
}

}  // namespace
}  // namespace zentabo
