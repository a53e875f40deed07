// The command line and the message that hands it to the running instance.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "app/CommandLine.h"
#include "app/OpenRequest.h"
#include "app/OpenableFile.h"
#include "app/TempDir.h"

namespace zentabo {
namespace {

using Action = CommandLine::Action;
using Status = OpenRequestDecode::Status;

TEST(CommandLineTest, FilesBecomeAbsoluteBytesInOrderEachOnce) {
    // A Shift-JIS name as an older system wrote it: bytes that are no UTF-8.
    const std::string sjisName = "\x93\xfa\x96\x7b\x8c\xea.txt";
    const CommandLine c = ParseCommandLine(
        {"a b.txt", "./日本語 メモ.txt", "/abs/x", sjisName, "a b.txt", "-", "--", "--help", "-x"},
        "/home/u/dir");
    EXPECT_EQ(c.action, Action::Run);
    EXPECT_EQ(c.files,
              (std::vector<std::string>{"/home/u/dir/a b.txt", "/home/u/dir/日本語 メモ.txt",
                                        "/abs/x", "/home/u/dir/" + sjisName, "/home/u/dir/-",
                                        "/home/u/dir/--help", "/home/u/dir/-x"}));
}

TEST(CommandLineTest, HelpWinsOverVersionAndBothOverAnUnknownOption) {
    EXPECT_EQ(ParseCommandLine({"-platform", "offscreen", "--version", "-h"}, "/").action,
              Action::Help);
    EXPECT_EQ(ParseCommandLine({"-bogus", "--version"}, "/").action, Action::Version);
    const CommandLine bad = ParseCommandLine({"f", "-bogus"}, "/");
    EXPECT_EQ(bad.action, Action::Error);
    EXPECT_NE(bad.error.find("-bogus"), std::string::npos);
    EXPECT_EQ(ParseCommandLine({""}, "/").action, Action::Error);
    // Without a current folder only absolute paths name a file.
    EXPECT_EQ(ParseCommandLine({"rel"}, "").action, Action::Error);
    EXPECT_EQ(ParseCommandLine({"/abs"}, "").files, std::vector<std::string>{"/abs"});
    EXPECT_EQ(ParseCommandLine({}, "/").action, Action::Run);
}

TEST(OpenRequestTest, RoundTripsAnyPathBytesAndNoFilesAtAll) {
    std::vector<std::string> files = {"/tmp/a b.txt", "/tmp/日本語.txt", "/tmp/\x83\x65\xff\x01"};
    for (int i = 0; i < 1000; ++i) files.push_back("/tmp/many/" + std::to_string(i));
    for (const auto& list : {files, std::vector<std::string>{}}) {
        const OpenRequestDecode d = DecodeOpenRequest(EncodeOpenRequest(list));
        ASSERT_EQ(d.status, Status::Complete);
        EXPECT_EQ(d.files, list);
    }
}

TEST(OpenRequestTest, EveryPrefixIsIncompleteAndExtraBytesAreInvalid) {
    const std::string message = EncodeOpenRequest({"/a", "/bc"});
    for (std::size_t n = 0; n < message.size(); ++n)
        EXPECT_EQ(DecodeOpenRequest(message.substr(0, n)).status, Status::Incomplete) << n;
    EXPECT_EQ(DecodeOpenRequest(message + "x").status, Status::Invalid);
    EXPECT_EQ(DecodeOpenRequest("GET / HTTP/1.1\r\n").status, Status::Invalid);
}

TEST(OpenRequestTest, RefusesPathsThatAreNotAbsoluteOrHoldNulAndHugeLengths) {
    for (const std::string& path : {std::string("rel"), std::string("/a\0b", 4), std::string(),
                                    "/" + std::string(kOpenRequestMaxPath, 'x')}) {
        EXPECT_EQ(DecodeOpenRequest(EncodeOpenRequest({path})).status, Status::Invalid);
    }
    // A header announcing more than the limit is refused before anything is read.
    std::string huge = EncodeOpenRequest({});
    huge[8] = huge[9] = huge[10] = huge[11] = '\xff';
    EXPECT_EQ(DecodeOpenRequest(huge.substr(0, 12)).status, Status::Invalid);
    // A count far beyond what the body can hold.
    std::string count = EncodeOpenRequest({});
    count[12] = count[13] = count[14] = count[15] = '\xff';
    EXPECT_EQ(DecodeOpenRequest(count).status, Status::Invalid);
}

TEST(OpenableFileTest, OnlyRegularFilesOpen) {
    testing::TempDir dir;
    std::ofstream(dir.File("a")) << "x";
    ::mkfifo(dir.File("pipe").c_str(), 0600);
    EXPECT_TRUE(CheckOpenableFile(dir.File("a")));
    for (const std::string& path :
         {dir.File("missing"), dir.Path().string(), dir.File("pipe"), std::string("/dev/zero")}) {
        const FileResult r = CheckOpenableFile(path);
        EXPECT_FALSE(r) << path;
        EXPECT_FALSE(r.reason.empty());
    }
}

}  // namespace
}  // namespace zentabo
