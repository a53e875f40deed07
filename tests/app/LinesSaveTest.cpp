// Saving a page's lines: a writable file in a folder where no temporary file can be
// made is still saved, in place; without either the old file is left alone.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "TempDir.h"
#include "app/LinesSave.h"

namespace zentabo {
namespace {

using testing::TempDir;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

WriteFaultInjector NoTemporaryFile() {
    return [](WriteStep s) { return s == WriteStep::CreateTemporary; };
}

TEST(LinesSaveTest, AFolderWithoutRoomForATemporaryFileIsWrittenInPlaceOnlyWhereTheFileIs) {
    TempDir dir;
    TLumStrings lines;
    lines.AddStrings({"new\r\n", "\x93\xfa\x96\x7b"});
    const std::string file = dir.File("page.txt");
    std::ofstream(file, std::ios::binary) << "old text that is longer";

    ASSERT_TRUE(SaveLinesAtomically(lines, file, {}, NoTemporaryFile()));
    EXPECT_EQ(Slurp(file), "new\r\n\x93\xfa\x96\x7b");
    EXPECT_EQ(dir.Listing(), "page.txt;");

    // No file to write in place: the failure is reported, nothing is made.
    EXPECT_FALSE(SaveLinesAtomically(lines, dir.File("absent.txt"), {}, NoTemporaryFile()));
    EXPECT_EQ(dir.Listing(), "page.txt;");
}

TEST(LinesSaveTest, AReadOnlyFileIsRefusedAndKeptEvenInAWritableFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    TempDir dir;
    TLumStrings lines;
    lines.AddStrings({"new"});
    const std::string file = dir.File("page.txt");
    std::ofstream(file, std::ios::binary) << "old";
    ::chmod(file.c_str(), 0444);

    EXPECT_FALSE(SaveLinesAtomically(lines, file));
    EXPECT_EQ(Slurp(file), "old");
    EXPECT_EQ(dir.Listing(), "page.txt;");
    ::chmod(file.c_str(), 0644);
}

}  // namespace
}  // namespace zentabo
