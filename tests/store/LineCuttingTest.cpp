// Loading with the lines cut into pieces on several threads: the parts must join into
// exactly what one thread cutting the plainly loaded lines gives.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "StoreTestSupport.h"
#include "store/LineCutting.h"
#include "store/LumStrings.h"
#include "store/ReadBuffer.h"

namespace zentabo {
namespace {

using storetest::Entries;
using storetest::RandomCp932Text;
using storetest::ReadFileBytes;
using storetest::ScratchDir;

// A cut that depends on the bytes, so a part that starts at the wrong place shows: pieces
// end after every 'q', or after `width` bytes.
void CutAtQ(std::string_view line, std::vector<uint32_t>& lengths, std::size_t width) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == 'q' || i + 1 - start == width) {
            lengths.push_back(static_cast<uint32_t>(i + 1 - start));
            start = i + 1;
        }
    }
    if (start < line.size() || line.empty())
        lengths.push_back(static_cast<uint32_t>(line.size() - start));
}

std::vector<std::string> CutOnOneThread(const std::vector<std::string>& entries,
                                        std::size_t width) {
    std::vector<std::string> out;
    for (const std::string& e : entries) {
        std::vector<uint32_t> lengths;
        CutAtQ(e, lengths, width);
        std::size_t at = 0;
        for (uint32_t n : lengths) {
            out.push_back(e.substr(at, n));
            at += n;
        }
    }
    return out;
}

TEST(LineCutting, ShapedLoadsOnManyThreadsEqualCuttingThePlainLoad) {
    ScratchDir dir;
    std::mt19937 rng(77);
    const char* starts[] = {"<p>\r\n", "<p>\r", "<p>\n"};  // every line-break style
    for (int round = 0; round < 9; ++round) {
        const std::string bytes = starts[round % 3] + RandomCp932Text(rng, 150000 + rng() % 9);
        const std::string path = dir.Write("in.txt", bytes);
        TLumStrings plain;
        plain.LoadFromFile(path);
        const std::size_t width = 5 + rng() % 200;
        const int threads[] = {1, 3, 8};
        for (int n : threads) {
            LineShaping shaping;
            shaping.cut = [width](std::string_view line, std::vector<uint32_t>& lengths) {
                CutAtQ(line, lengths, width);
            };
            shaping.threads = n;
            shaping.minPartBytes = 1 + rng() % 5000;
            TLumStrings shaped;
            ASSERT_TRUE(shaped.LoadFromFile(path, shaping));
            ASSERT_EQ(Entries(shaped), CutOnOneThread(Entries(plain), width))
                << "round " << round << ", " << n << " threads";
            ASSERT_EQ(shaped.Capacity(), shaped.Count());
        }
    }
}

TEST(LineCutting, AFailingOrWrongCutFailsTheLoadAndLeavesNoHalfText) {
    ScratchDir dir;
    std::mt19937 rng(5);
    const std::string path = dir.Write("in.txt", "<p>\r\n" + RandomCp932Text(rng, 60000));
    const std::function<void(std::string_view, std::vector<uint32_t>&)> cutters[] = {
        [](std::string_view line, std::vector<uint32_t>& lengths) {
            if (line.find('z') != std::string_view::npos) throw std::runtime_error("cut");
            lengths.push_back(static_cast<uint32_t>(line.size()));
        },
        [](std::string_view line, std::vector<uint32_t>& lengths) {
            lengths.push_back(static_cast<uint32_t>(line.size() + (line.size() > 200)));
        },
    };
    for (const auto& cut : cutters) {
        TLumStrings s;
        s.SetText("old");
        LineShaping shaping{cut, 4, 1000};
        EXPECT_ANY_THROW(s.LoadFromFile(path, shaping));
        EXPECT_EQ(s.Count(), 0);
    }
}

// A file that grew or shrank after its size was taken reads as it is now.
TEST(ReadBuffer, ReadsTheWholeFileWhateverSizeWasExpected) {
    ScratchDir dir;
    std::mt19937 rng(9);
    const std::string bytes = RandomCp932Text(rng, 300000);
    const std::string path = dir.Write("in.txt", bytes);
    for (std::size_t hint :
         {std::size_t{0}, std::size_t{1}, std::size_t{4095}, bytes.size(), bytes.size() * 3}) {
        FileHandle file = OpenForReading(path);
        ReadBuffer buffer;
        buffer.ReadAll(file, path, hint);
        buffer.data()[buffer.size()] = '\0';  // the byte after the data is writable
        ASSERT_EQ(std::string(buffer.data(), buffer.size()), bytes) << "hint " << hint;
    }
    // Giving back the front keeps the rest.
    FileHandle file = OpenForReading(path);
    ReadBuffer buffer;
    buffer.ReadAll(file, path, bytes.size());
    buffer.ReleaseBefore(bytes.size() - 100);
    EXPECT_EQ(std::string(buffer.data() + bytes.size() - 100, 100),
              bytes.substr(bytes.size() - 100));
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

}  // namespace
}  // namespace zentabo
