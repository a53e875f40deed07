#include "app/PageStore.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "FakePages.h"
#include "TempDir.h"
#include "store/LumStrings.h"

namespace zentabo {
namespace {

using testing::FakeHost;
using testing::ReadBack;
using testing::TempDir;

std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

std::string Save(FakeHost& host) {
    std::string out;
    EXPECT_TRUE(SavePagesToStream(host, out));
    return out;
}

// File times from a table instead of the clock.
struct FakeClock {
    std::map<std::string, std::int64_t> times;
    FileTimeFunction Function() {
        return [this](const std::string& path) -> std::optional<std::int64_t> {
            auto it = times.find(path);
            if (it == times.end()) return std::nullopt;
            return it->second;
        };
    }
};

TEST(PageStoreTest, TheSmallestStoreByteForByte) {
    FakeHost host;
    host.Add("Page&0", "", true, "abc");
    std::string expected = Bytes({0x06, 0x06}) + "ztabo3" + Bytes({0x02, 0x01, 0x06, 0x06}) +
                           "Page&0" + Bytes({0x06, 0x00, 0x09, 0x06, 0x03}) + "abc";
    ASSERT_EQ(expected.size(), 26u);
    EXPECT_EQ(Save(host), expected);
}

TEST(PageStoreTest, PagesComeBackAsTheyWere) {
    FakeHost host;
    const std::string japanese = "<p>\x82\xA0\x82\xA2\x81\x40\x88\x9F</p>\r\n\xB1\xB2";
    host.Add("\x93\xFA\x96\x7B", "/home/u/\x82\xA0.txt", true, japanese);  // 日本
    host.Add("ascii", "", true, std::string(300, 'a'));
    host.Add("off", "/x.txt", false, "not stored");
    host.Add("odd", "", true, Bytes({'a', 0x80, 0xED, 0x40, 0x81}));
    std::string data = Save(host);

    // The Japanese text travels as UTF-8 under tag 14; 300 ASCII bytes under 0C.
    std::string utf8 =
        "<p>\xE3\x81\x82\xE3\x81\x84\xE3\x80\x80\xE4\xBA\x9C</p>\r\n\xEF\xBD\xB1\xEF\xBD\xB2";
    EXPECT_NE(data.find(Bytes({0x14, int(utf8.size()), 0, 0, 0}) + utf8), std::string::npos);
    EXPECT_NE(data.find(Bytes({0x0C, 0x2C, 0x01, 0x00, 0x00}) + "aaa"), std::string::npos);
    EXPECT_EQ(data.find("not stored"), std::string::npos);

    FakeHost back;
    PageStoreReadResult r = LoadPagesFromStream(back, data, "/store.ztb", FakeClock{}.Function());
    EXPECT_TRUE(r.complete);
    ASSERT_EQ(back.PageCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back.At(i).caption, host.At(i).caption);
        EXPECT_EQ(back.At(i).fileName, host.At(i).fileName);
        EXPECT_EQ(back.At(i).saveMode, host.At(i).saveMode);
    }
    EXPECT_EQ(back.At(0).text, japanese);
    EXPECT_EQ(back.At(1).text, std::string(300, 'a'));
    EXPECT_EQ(back.At(2).text, "");
    EXPECT_EQ(back.At(3).text, host.At(3).text);
}

// Written and read with progress, the store is the same byte for byte and its pages
// come back whole; the fractions only grow, stay within the whole and reach it, and
// a large page reports in between.
TEST(PageStoreTest, ProgressRisesToTheEndAndChangesNothing) {
    TempDir dir;
    FakeHost host;
    host.Add("small", "", true, "abc");
    host.Add("large", "", true, std::string(20u << 20, 'x') + "\r\nend");
    host.Add("off", "/x.txt", false, "not stored");
    host.Add("last", "", true, "\x82\xA0");
    const std::string plain = dir.File("plain.ztb"), shown = dir.File("shown.ztb");
    ASSERT_TRUE(SavePageStore(host, plain));
    std::vector<double> written;
    ASSERT_TRUE(SavePageStore(host, shown, {}, [&](double f) {
        written.push_back(f);
        return false;  // not asked: the write goes on
    }));
    EXPECT_EQ(ReadBack(shown), ReadBack(plain));
    ASSERT_GT(written.size(), 4u);  // the large page in slices
    EXPECT_TRUE(std::is_sorted(written.begin(), written.end()));
    EXPECT_GT(written.front(), 0.0);
    EXPECT_DOUBLE_EQ(written.back(), 1.0);

    FakeHost back;
    std::vector<double> read;
    const PageStoreLoadResult r = LoadPageStore(back, shown, FakeClock{}.Function(), [&](double f) {
        read.push_back(f);
        return false;
    });
    EXPECT_TRUE(r.read.complete);
    ASSERT_EQ(back.PageCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back.At(i).caption, host.At(i).caption);
        EXPECT_EQ(back.At(i).text, host.At(i).saveMode ? host.At(i).text : "");
    }
    ASSERT_GT(read.size(), 4u);  // the file in steps, then each page
    EXPECT_TRUE(std::is_sorted(read.begin(), read.end()));
    EXPECT_GE(read.front(), 0.0);
    EXPECT_DOUBLE_EQ(read.back(), 1.0);
}

TEST(PageStoreTest, TwoHundredPagesCountInTwoBytes) {
    FakeHost host;
    for (int i = 0; i < 200; ++i) host.Add("Page" + std::to_string(i), "", true, "");
    std::string data = Save(host);
    EXPECT_EQ(data.substr(8, 3), Bytes({0x03, 0xC8, 0x00}));
    FakeHost back;
    EXPECT_TRUE(LoadPagesFromStream(back, data, "", {}).complete);
    EXPECT_EQ(back.PageCount(), 200);
    EXPECT_EQ(back.At(199).caption, "Page199");
}

void SetModifiedTime(const std::string& path, std::int64_t seconds) {
    struct timespec times[2] = {{static_cast<time_t>(seconds), 0},
                                {static_cast<time_t>(seconds), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

void WriteFile(const std::string& path, const std::string& data, std::int64_t at) {
    ASSERT_TRUE(WriteFileAtomically(path, data)) << path;
    SetModifiedTime(path, at);
}

TEST(PageStoreTest, AnyPathTheFileSystemAllowsComesBack) {
    TempDir dir;
    const std::string names[] = {"caf\xC3\xA9.txt", "\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80.txt",
                                 "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", "a b  c .txt",
                                 "bad\xFF\xFE\x80.txt"};
    FakeHost host;
    for (const std::string& name : names) {
        WriteFile(dir.File(name), "content of " + name, 1000);
        host.Add("p", dir.File(name), false, "");
    }
    const std::string store = dir.File("z.ztb");
    ASSERT_TRUE(SavePageStore(host, store));

    // The pages come back bound to the very files, and the files are found.
    FakeHost back;
    PageStoreLoadResult r = LoadPageStore(back, store);
    ASSERT_FALSE(r.StoppedEarly());
    EXPECT_TRUE(r.read.unreadFiles.empty());
    ASSERT_EQ(back.PageCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(back.At(i).fileName, host.At(i).fileName) << i;
        EXPECT_EQ(back.At(i).text, "content of " + names[i]) << i;
    }

    // A path code page 932 holds is stored as older versions stored it, so they read
    // it alike: as that code page's text, which travels as UTF-8 under tag 14.
    const std::string japanese = dir.File(names[2]);
    const std::string data = ReadBack(store);
    EXPECT_NE(data.find(Bytes({0x14, int(japanese.size()), 0, 0, 0}) + japanese),
              std::string::npos);

    // And a store such a version wrote reads as before.
    const std::string sjisName = "/doc/\x93\xFA\x96\x7B.txt";  // 日本.txt
    FakeHost old;
    LoadPagesFromStream(old,
                        Bytes({6, 6}) + "ztabo3" + Bytes({2, 1, 6, 1}) + "p" +
                            Bytes({6, int(sjisName.size())}) + sjisName + Bytes({9, 6, 0}),
                        "", {});
    ASSERT_EQ(old.PageCount(), 1);
    EXPECT_EQ(old.At(0).fileName, "/doc/\xE6\x97\xA5\xE6\x9C\xAC.txt");
}

TEST(PageStoreTest, RestoredPagesAreMatchedWithTheirFiles) {
    TempDir dir;
    const std::string store = dir.File("z.ztb");
    FakeHost host;
    host.Add("edited", dir.File("edited.txt"), true, "mine");
    host.Add("same", dir.File("same.txt"), true, "disk\r\nsame");
    host.Add("changed", dir.File("changed.txt"), true, "mine");
    host.Add("off", dir.File("off.txt"), false, "not stored");
    host.Add("gone", dir.File("gone.txt"), true, "mine");
    host.Add("same step", dir.File("step.txt"), true, "mine");
    ASSERT_TRUE(SavePageStore(host, store));
    SetModifiedTime(store, 1000);
    WriteFile(dir.File("edited.txt"), "disk", 900);
    WriteFile(dir.File("same.txt"), "disk\r\nsame", 900);
    WriteFile(dir.File("changed.txt"), "changed on disk", 1010);
    WriteFile(dir.File("off.txt"), "off on disk", 900);
    WriteFile(dir.File("step.txt"), "disk", 1001);

    for (bool reload : {false, true}) {
        FakeHost back;
        back.reloadAnswer = reload;
        ASSERT_FALSE(LoadPageStore(back, store).StoppedEarly());
        // A text that differs from its file is kept and marked modified.
        EXPECT_EQ(back.At(0).text, "mine");
        EXPECT_TRUE(back.At(0).modified);
        EXPECT_EQ(back.At(1).text, "disk\r\nsame");
        EXPECT_FALSE(back.At(1).modified);
        // Only a file changed after the store asks, and only the answer replaces the text.
        ASSERT_EQ(back.questions, std::vector<std::string>{dir.File("changed.txt")});
        EXPECT_EQ(back.At(2).text, reload ? "changed on disk" : "mine");
        EXPECT_EQ(back.At(2).modified, !reload);
        // Without a stored text the file's content comes back, changed or not.
        EXPECT_EQ(back.At(3).text, "off on disk");
        EXPECT_FALSE(back.At(3).modified);
        EXPECT_EQ(back.At(4).text, "mine");
        EXPECT_TRUE(back.At(4).modified);
        EXPECT_EQ(back.At(5).text, "mine");  // same two-second step: not newer
        EXPECT_TRUE(back.At(5).modified);
        for (int i = 0; i < back.PageCount(); ++i)
            EXPECT_EQ(back.At(i).fileName, host.At(i).fileName);
    }
}

// The stored text is compared with the file as the editor would load it: breaks made
// CR LF, a final NUL taken as the end mark; any other difference marks the page.
TEST(PageStoreTest, TextsThatDifferOnlyNearTheirEndAreTold) {
    const std::pair<std::string, std::string> cases[] = {{"ab", "ab"},
                                                         {"ab", "a"},
                                                         {"a", "ab"},
                                                         {"ab\0", "ab"},
                                                         {"ab\0", "ab\0"},
                                                         {"ab", "ab\0"},
                                                         {"a\rb", "a\r\nb"},
                                                         {"a\r\n", "a\r\n"},
                                                         {"a\r\n", "a\r\n\0"},
                                                         {"", ""},
                                                         {"", "\0"},
                                                         {"\0", ""},
                                                         {"a\r\nb", "a\r\nc"},
                                                         {"a\0\r\n", "a"},
                                                         {"a\r\nb\0", "a\r\nb"}};
    TempDir dir;
    const std::string store = dir.File("z.ztb");
    FakeHost host;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        host.Add("p", dir.File(std::to_string(i)), true, cases[i].second);
    ASSERT_TRUE(SavePageStore(host, store));
    SetModifiedTime(store, 1000);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        WriteFile(dir.File(std::to_string(i)), cases[i].first, 900);
    FakeHost back;
    ASSERT_FALSE(LoadPageStore(back, store).StoppedEarly());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        TLumStrings lines;
        lines.LoadFromFile(dir.File(std::to_string(i)));
        std::string loaded = lines.GetText();
        if (!loaded.empty() && loaded.back() == '\0') loaded.pop_back();
        EXPECT_EQ(back.At(static_cast<int>(i)).modified, loaded != cases[i].second) << "case " << i;
    }
}

TEST(PageStoreTest, AFileThatCannotBeReadLeavesThePageAsItWas) {
    TempDir dir;
    // Reading the process's own memory at offset 0 fails with EIO, even for root.
    const std::string unreadable = dir.File("unreadable.txt");
    ASSERT_EQ(::symlink("/proc/self/mem", unreadable.c_str()), 0);
    FakeHost host;
    host.Add("on", unreadable, true, "mine");
    host.Add("off", unreadable, false, "");
    std::string data = Save(host);

    FakeHost back;
    PageStoreReadResult r = LoadPagesFromStream(back, data, "", FileModifiedTime);
    ASSERT_EQ(back.PageCount(), 2);
    EXPECT_EQ(back.At(0).text, "mine");
    EXPECT_EQ(back.At(1).text, "");
    EXPECT_EQ(back.At(1).fileName, unreadable);
    ASSERT_EQ(r.unreadFiles.size(), 2u);
    for (const UnreadFile& f : r.unreadFiles) {
        EXPECT_EQ(f.path, unreadable);
        EXPECT_EQ(f.reason, std::strerror(EIO));
    }
}

TEST(PageStoreTest, DamageKeepsThePagesBeforeIt) {
    FakeHost host;
    host.Add("one", "", true, "first");
    host.Add("two", "/f", false, "");
    host.Add("\x82\xA0", "", true, "\x82\xA0 third");
    std::string data = Save(host);

    // Cut at every length: never more pages than records begun, the ones read in
    // full are right, and only the whole file counts as complete.
    for (std::size_t len = 0; len <= data.size(); ++len) {
        FakeHost back;
        PageStoreReadResult r = LoadPagesFromStream(back, data.substr(0, len), "", {});
        EXPECT_EQ(r.complete, len == data.size()) << len;
        EXPECT_EQ(r.pagesCreated, back.PageCount());
        EXPECT_LE(back.PageCount(), 3);
        for (int i = 0; i + 1 < back.PageCount(); ++i) {
            EXPECT_EQ(back.At(i).caption, host.At(i).caption);
            EXPECT_EQ(back.At(i).text, host.At(i).text);
        }
    }

    // A wrong tag inside the second record: the first page whole, the second begun.
    std::string damaged = data;
    std::size_t second = damaged.find("two");
    damaged[second + 3] = 0x07;
    FakeHost back;
    PageStoreReadResult r = LoadPagesFromStream(back, damaged, "", {});
    EXPECT_FALSE(r.complete);
    ASSERT_EQ(back.PageCount(), 2);
    EXPECT_EQ(back.At(0).text, "first");
    EXPECT_EQ(back.At(1).caption, "two");

    FakeHost foreign;
    EXPECT_FALSE(
        LoadPagesFromStream(foreign, Bytes({6, 6}) + "ztabo2" + Bytes({2, 0}), "", {}).complete);
    EXPECT_EQ(foreign.PageCount(), 0);

    FakeHost trailing;
    EXPECT_FALSE(LoadPagesFromStream(trailing, data + "x", "", {}).complete);
    EXPECT_EQ(trailing.PageCount(), 3);

    FakeHost none;
    EXPECT_TRUE(
        LoadPagesFromStream(none, Bytes({6, 6}) + "ztabo3" + Bytes({2, 0xFF}), "", {}).complete);
    EXPECT_EQ(none.PageCount(), 0);
}

TEST(PageStoreTest, SaveAndLoadThroughAFile) {
    TempDir dir;
    std::string path = dir.File("zentabo.ztb");
    FakeHost none;
    PageStoreLoadResult missing = LoadPageStore(none, path);
    EXPECT_FALSE(missing.found);
    EXPECT_FALSE(missing.StoppedEarly());

    FakeHost host;
    host.Add("Page&0", "", true, "abc\r\n\x82\xA0");
    ASSERT_TRUE(SavePageStore(host, path));
    FakeHost back;
    PageStoreLoadResult loaded = LoadPageStore(back, path);
    EXPECT_TRUE(loaded.found);
    EXPECT_FALSE(loaded.StoppedEarly());
    ASSERT_EQ(back.PageCount(), 1);
    EXPECT_EQ(back.At(0).text, "abc\r\n\x82\xA0");

    // A failed save reports why and leaves the previous store in place.
    std::string before = ReadBack(path);
    host.At(0).text = "changed";
    FileResult failed = SavePageStore(host, path, [](WriteStep s) { return s == WriteStep::Sync; });
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.empty());
    EXPECT_EQ(ReadBack(path), before);
    host.Add("second", "", true, "more");
    EXPECT_FALSE(SavePageStore(host, path, [n = 0](WriteStep s) mutable {
                     return s == WriteStep::Write && ++n == 3;  // fail in the second page
                 }).ok);
    EXPECT_EQ(ReadBack(path), before);
    EXPECT_EQ(dir.Listing(), "zentabo.ztb;");
    EXPECT_FALSE(SavePageStore(host, dir.File("missing/zentabo.ztb")).ok);
}

TEST(PageStoreTest, ADamagedStoreIsKeptAsideBeforeItIsReplaced) {
    TempDir dir;
    std::string path = dir.File("zentabo.ztb");
    FakeHost host;
    host.Add("Page&0", "", true, "first");
    host.Add("Page1", "", true, "second, lost to the damage");
    std::string data;
    SavePagesToStream(host, data);
    std::string damaged = data.substr(0, data.size() - 5);
    ASSERT_TRUE(WriteFileAtomically(path, damaged));

    FakeHost back;
    PageStoreLoadResult loaded = LoadPageStore(back, path);
    EXPECT_TRUE(loaded.StoppedEarly());
    EXPECT_EQ(back.PageCount(), 2);

    std::tm when{};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 9;
    when.tm_min = 8;
    when.tm_sec = 7;
    when.tm_isdst = -1;
    std::time_t now = std::mktime(&when);
    KeepAsideResult kept = KeepPageStoreAside(path, now);
    ASSERT_TRUE(kept.status) << kept.status.error;
    EXPECT_EQ(kept.keptPath, dir.File("zentabo.damaged-20240305-090807.ztb"));
    KeepAsideResult again = KeepPageStoreAside(path, now);
    ASSERT_TRUE(again.status);
    EXPECT_EQ(again.keptPath, dir.File("zentabo.damaged-20240305-090807-2.ztb"));

    // The next save replaces the store; the kept copy still holds the damaged bytes.
    ASSERT_TRUE(SavePageStore(back, path));
    EXPECT_EQ(ReadBack(kept.keptPath), damaged);
    EXPECT_NE(ReadBack(path), damaged);

    EXPECT_FALSE(KeepPageStoreAside(dir.File("none.ztb"), now).status.ok);
}

}  // namespace
}  // namespace zentabo
