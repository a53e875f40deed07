#include "app/FileIo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

}  // namespace
}  // namespace zentabo
