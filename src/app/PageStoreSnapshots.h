#pragma once

// Writing the page store while the program runs: snapshots on a worker thread, and
// the write at close on the calling thread, through one guard that keeps what is on
// disk safe. Before it overwrites the file the guard keeps aside a store that could
// not be read to its end and a store some other program put in its place, so no
// write of ours ever destroys pages we have not seen.

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/FileIo.h"
#include "app/PageCapture.h"

namespace zentabo {

// Tells one version of a file from another without reading it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> IdentityOf(const std::string& path);

struct StoreWriteOutcome {
    FileResult status;
    // The file found in place was kept under this name before it was replaced.
    std::string keptPath;
    bool replacedByOther = false;  // ... because another program had written it
};

class PageStoreSnapshots {
public:
    using WriteFunction = std::function<FileResult(const std::string& path)>;
    using DoneFunction = std::function<void(const StoreWriteOutcome&)>;

    explicit PageStoreSnapshots(std::string path, WriteFaultInjector fault = {});
    // Waits for a snapshot still being written.
    ~PageStoreSnapshots();
    PageStoreSnapshots(const PageStoreSnapshots&) = delete;
    PageStoreSnapshots& operator=(const PageStoreSnapshots&) = delete;

    const std::string& Path() const { return path_; }
    PageCapture& Capture() { return capture_; }

    // The file was just read: it is ours, unless it could not be read to its end.
    void Loaded(bool readCompletely);

    // Writes `pages` on a worker thread and calls `done` there when finished. False,
    // and nothing happens, while the previous snapshot is still being written.
    bool StartSnapshot(std::vector<PageImage> pages, DoneFunction done);
    bool Writing() const { return writing_.load(); }
    void WaitForSnapshot();

    // Waits for a running snapshot, then writes on this thread (the close), so an
    // older snapshot can never land over it.
    StoreWriteOutcome WriteNow(const WriteFunction& write);

private:
    StoreWriteOutcome GuardedWrite(const WriteFunction& write);

    std::string path_;
    WriteFaultInjector fault_;
    PageCapture capture_;
    std::mutex fileMutex_;  // one write at a time, and the identity with it
    std::optional<FileIdentity> ours_;
    bool keepAside_ = false;
    std::atomic<bool> writing_{false};
    std::thread worker_;
};

// When to take a snapshot: `quiet` after the last change, and at most `longest`
// after the first change not yet written while the changes go on. Times come from a
// monotonic clock, so a wall clock set back or forth changes nothing.
class SnapshotSchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kLongest{30};

    void SetQuiet(std::chrono::seconds quiet) { quiet_ = quiet; }
    // The pages looked different from the last look at `now`.
    void Changed(Clock::time_point now);
    bool Due(Clock::time_point now) const;
    bool Pending() const { return pending_; }
    // A snapshot of everything up to now was started.
    void Started() { pending_ = false; }
    // It failed: try again after the quiet time.
    void Failed(Clock::time_point now);

private:
    std::chrono::seconds quiet_{5};
    bool pending_ = false;
    Clock::time_point firstChange_{};
    Clock::time_point lastChange_{};
};

}  // namespace zentabo
