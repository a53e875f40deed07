#include "app/FileIo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "TempDir.h"

namespace zentabo {
namespace {

using testing::ReadBack;
using testing::TempDir;

TEST(FileIoTest, ReadsMissingEmptyAndFolder) {
    TempDir dir;
    ReadFileResult missing = ReadWholeFile(dir.File("none"));
    EXPECT_FALSE(missing.exists);
    EXPECT_TRUE(missing.status.ok);

    ASSERT_TRUE(WriteFileAtomically(dir.File("empty"), ""));
    ReadFileResult empty = ReadWholeFile(dir.File("empty"));
    EXPECT_TRUE(empty.exists);
    EXPECT_TRUE(empty.status.ok);
    EXPECT_EQ(empty.data, "");

    ReadFileResult folder = ReadWholeFile(dir.Path().string());
    EXPECT_TRUE(folder.exists);
    EXPECT_FALSE(folder.status.ok);
    EXPECT_FALSE(folder.status.error.empty());
}

TEST(FileIoTest, ReplacesTheFileAndKeepsItsPermissions) {
    TempDir dir;
    std::string path = dir.File("a.ini");
    std::string big(3 << 20, 'x');
    big[12345] = '\0';
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, big));
    EXPECT_EQ(ReadBack(path), big);
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.Listing(), "a.ini;");
}

TEST(FileIoTest, AFailureAtAnyStepLeavesTheOldFileAndNoLeftovers) {
    for (WriteStep failing :
         {WriteStep::CreateTemporary, WriteStep::Write, WriteStep::Sync, WriteStep::Rename}) {
        TempDir dir;
        std::string path = dir.File("store.ztb");
        ASSERT_TRUE(WriteFileAtomically(path, "the old content"));
        FileResult r = WriteFileAtomically(path, "new", [&](WriteStep s) { return s == failing; });
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(path), std::string::npos) << r.error;
        EXPECT_EQ(ReadBack(path), "the old content");
        EXPECT_EQ(dir.Listing(), "store.ztb;");
    }
}

TEST(FileIoTest, AMissingFolderIsReported) {
    TempDir dir;
    FileResult r = WriteFileAtomically(dir.File("no/such/folder.ini"), "x");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
}

TEST(FileIoTest, ASymbolicLinkStaysALink) {
    TempDir dir;
    std::string target = dir.File("real.ini");
    std::string link = dir.File("link.ini");
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBack(target), "new");
}

// Only what a killed write of this very file left goes: never the file itself, another
// file's leftovers, a folder or names that merely look alike.
TEST(FileIoTest, UnfinishedWritesOfTheFileAreRemovedAndNothingElse) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "\xE4\xBD\x9C\xE6\xA5\xAD");
    const std::string store = dir.File("\xE4\xBD\x9C\xE6\xA5\xAD/z.ztb");
    ASSERT_TRUE(WriteFileAtomically(store, "pages"));
    for (const char* name : {"z.ztb.tmp-a1B2c3", "z.ztb.tmp-XXXXXX", "z.ztb.tmp-abc",
                             "y.ztb.tmp-a1B2c3", "z.ztb.tmp-a1B2c3d", "z.ztb.old"})
        ASSERT_TRUE(
            WriteFileAtomically(dir.File(std::string("\xE4\xBD\x9C\xE6\xA5\xAD/") + name), "x"));
    std::filesystem::create_directory(dir.Path() / "\xE4\xBD\x9C\xE6\xA5\xAD" / "z.ztb.tmp-folder");
    // Through a link, as the writer goes: the leftovers lie beside the target.
    const std::string link = dir.File("link.ztb");
    std::filesystem::create_symlink(store, link);

    EXPECT_EQ(RemoveUnfinishedWrites(link), 2);
    EXPECT_EQ(ReadBack(store), "pages");
    std::vector<std::string> left;
    for (const auto& e :
         std::filesystem::directory_iterator(dir.Path() / "\xE4\xBD\x9C\xE6\xA5\xAD"))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left,
              (std::vector<std::string>{"y.ztb.tmp-a1B2c3", "z.ztb", "z.ztb.old",
                                        "z.ztb.tmp-a1B2c3d", "z.ztb.tmp-abc", "z.ztb.tmp-folder"}));
    EXPECT_EQ(RemoveUnfinishedWrites(dir.File("none/z.ztb")), 0);
}

}  // namespace
}  // namespace zentabo
