// Every step of writing the page store and the settings file failing in turn, and a
// disk that is really full: the failure is reported, the previous file stays whole,
// and the next write after the fault is complete.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "FakePages.h"
#include "TempDir.h"
#include "app/PageStore.h"
#include "app/Settings.h"

namespace zentabo {
namespace {

using testing::FakeHost;
using testing::ReadBack;
using testing::TempDir;

// Fails the n-th time `step` comes (counting from 1).
WriteFaultInjector FailAt(WriteStep step, int n) {
    return [step, n, seen = 0](WriteStep s) mutable { return s == step && ++seen == n; };
}

struct Fault {
    WriteStep step;
    int nth;
};

// One failure at every step, and a write failing in the middle of the pages.
const Fault kFaults[] = {
    {WriteStep::CreateTemporary, 1}, {WriteStep::Write, 1}, {WriteStep::Write, 2},
    {WriteStep::Write, 3},           {WriteStep::Sync, 1},  {WriteStep::Rename, 1},
    {WriteStep::SyncFolder, 1}};

void ThreePages(FakeHost& host, const std::string& text) {
    host.Add("a", "", true, text + "1");
    host.Add("b", "", true, std::string(5000, 'x') + text);
    host.Add("c", "", true, text + "3");
}

std::string StoreBytes(FakeHost& host) {
    std::string out;
    EXPECT_TRUE(SavePagesToStream(host, out));
    return out;
}

TEST(WriteFaultTest, EveryPageStoreStepFailsLoudlyAndKeepsTheOldStore) {
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(static_cast<int>(f.step) * 10 + f.nth);
        TempDir dir;
        const std::string path = dir.File("z.ztb");
        FakeHost before, after;
        ThreePages(before, "old");
        ThreePages(after, "new");
        ASSERT_TRUE(SavePageStore(before, path));
        const FileResult failed = SavePageStore(after, path, FailAt(f.step, f.nth));
        EXPECT_FALSE(failed.ok);
        EXPECT_NE(failed.error.find(path), std::string::npos) << failed.error;
        if (f.step == WriteStep::SyncFolder) {
            // The rename happened: the new store is whole, only its durability is unsure.
            EXPECT_EQ(ReadBack(path), StoreBytes(after));
        } else {
            EXPECT_EQ(ReadBack(path), StoreBytes(before));
        }
        EXPECT_EQ(dir.Listing(), "z.ztb;");
        ASSERT_TRUE(SavePageStore(after, path));
        FakeHost read;
        EXPECT_TRUE(LoadPageStore(read, path, {}).read.complete);
        EXPECT_EQ(StoreBytes(read), StoreBytes(after));
    }
}

TEST(WriteFaultTest, EverySettingsStepFailsLoudlyAndKeepsTheOldFile) {
    for (const Fault& f : kFaults) {
        if (f.nth > 1) continue;  // the settings file is written in one piece
        SCOPED_TRACE(static_cast<int>(f.step) * 10 + f.nth);
        TempDir dir;
        const std::string path = dir.File("z.ini");
        TSettings s;
        s.Load(path, {});
        s.QuoteMark = "old";
        ASSERT_TRUE(s.Save(path));
        const std::string old = ReadBack(path);
        s.QuoteMark = "new";
        EXPECT_FALSE(s.Save(path, FailAt(f.step, f.nth)).ok);
        if (f.step != WriteStep::SyncFolder) {
            EXPECT_EQ(ReadBack(path), old);
        }
        EXPECT_EQ(dir.Listing(), "z.ini;");
        ASSERT_TRUE(s.Save(path));
        TSettings back;
        back.Load(path, {});
        EXPECT_EQ(back.QuoteMark, "new");
    }
}

// A store that does not fit: the old one stays, and it fits again once there is room.
void FullDiskRound(const std::string& path) {
    FakeHost small, big;
    small.Add("p", "", true, "small store");
    big.Add("p", "", true, std::string(4 << 20, 'y'));
    ASSERT_TRUE(SavePageStore(small, path));
    const FileResult full = SavePageStore(big, path);
    EXPECT_FALSE(full.ok);
    EXPECT_FALSE(full.error.empty());
    EXPECT_EQ(ReadBack(path), StoreBytes(small));
}

TEST(WriteFaultTest, AFullDiskKeepsTheOldStore) {
    TempDir dir;
    const std::string mountPoint = dir.File("tiny");
    std::filesystem::create_directory(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=1m") == 0) {
        struct Unmount {
            std::string at;
            ~Unmount() { ::umount(at.c_str()); }
        } unmount{mountPoint};
        const std::string path = mountPoint + "/z.ztb";
        FullDiskRound(path);
        FakeHost fits;
        fits.Add("p", "", true, std::string(100000, 'z'));
        EXPECT_TRUE(SavePageStore(fits, path));
        EXPECT_EQ(ReadBack(path), StoreBytes(fits));
        return;
    }
    // No right to mount: a file-size limit fails the write as a full disk does.
    // The limit belongs to the process, so the round runs in a child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        FullDiskRound(dir.File("z.ztb"));
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace zentabo
