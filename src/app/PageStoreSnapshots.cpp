#include "app/PageStoreSnapshots.h"

#include <sys/stat.h>

#include <algorithm>

namespace zentabo {

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{
        st.st_dev, st.st_ino, st.st_size,
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

PageStoreSnapshots::PageStoreSnapshots(std::string path, WriteFaultInjector fault)
    : path_(std::move(path)), fault_(std::move(fault)) {}

PageStoreSnapshots::~PageStoreSnapshots() {
    WaitForSnapshot();
}

void PageStoreSnapshots::Loaded(bool readCompletely) {
    std::lock_guard<std::mutex> lock(fileMutex_);
    ours_ = IdentityOf(path_);
    keepAside_ = ours_ && !readCompletely;
}

void PageStoreSnapshots::WaitForSnapshot() {
    if (worker_.joinable()) worker_.join();
}

bool PageStoreSnapshots::StartSnapshot(std::vector<PageImage> pages, DoneFunction done) {
    if (writing_.load()) return false;
    WaitForSnapshot();  // finished: only the thread is left to collect
    writing_ = true;
    worker_ = std::thread([this, pages = std::move(pages), done = std::move(done)] {
        PageImageHost host(pages);
        const StoreWriteOutcome outcome = GuardedWrite(
            [&](const std::string& path) { return SavePageStore(host, path, fault_); });
        writing_ = false;
        if (done) done(outcome);
    });
    return true;
}

StoreWriteOutcome PageStoreSnapshots::WriteNow(const WriteFunction& write) {
    WaitForSnapshot();
    return GuardedWrite(write);
}

StoreWriteOutcome PageStoreSnapshots::GuardedWrite(const WriteFunction& write) {
    std::lock_guard<std::mutex> lock(fileMutex_);
    StoreWriteOutcome outcome;
    const std::optional<FileIdentity> found = IdentityOf(path_);
    // A file that is not the one we read or wrote last came from someone else.
    outcome.replacedByOther = found && found != ours_;
    if (found && (keepAside_ || outcome.replacedByOther)) {
        const KeepAsideResult kept = KeepPageStoreAside(
            path_, std::time(nullptr), outcome.replacedByOther ? "replaced" : "damaged");
        if (!kept.status) {
            // Overwriting would lose the pages only that file holds.
            outcome.status = kept.status;
            return outcome;
        }
        outcome.keptPath = kept.keptPath;
        keepAside_ = false;
        ours_ = found;
    }
    outcome.status = write(path_);
    if (outcome.status) ours_ = IdentityOf(path_);
    return outcome;
}

void SnapshotSchedule::Changed(Clock::time_point now) {
    if (!pending_) firstChange_ = now;
    pending_ = true;
    lastChange_ = now;
}

bool SnapshotSchedule::Due(Clock::time_point now) const {
    if (!pending_ || quiet_.count() <= 0) return false;
    const auto longest = std::max<std::chrono::seconds>(kLongest, quiet_);
    return now - lastChange_ >= quiet_ || now - firstChange_ >= longest;
}

void SnapshotSchedule::Failed(Clock::time_point now) {
    pending_ = true;
    firstChange_ = lastChange_ = now;
}

}  // namespace zentabo
