// Refusing a file the memory cannot hold: reading what the machine has left, and the
// decision made from it.

#include <gtest/gtest.h>

#include "app/OpenableFile.h"
#include "platform/MemoryLimits.h"

namespace zentabo {
namespace {

TEST(MemoryLimits, MemAvailableIsReadOnlyFromItsOwnLine) {
    EXPECT_EQ(ParseMemAvailable("MemTotal:  8000 kB\nMemFree:  100 kB\nMemAvailable:   2048 kB\n"),
              std::optional<std::uint64_t>(2048u * 1024));
    // A key that merely ends in the same letters is another line.
    EXPECT_EQ(ParseMemAvailable("XMemAvailable: 5 kB\nMemAvailable: 7 kB\n"),
              std::optional<std::uint64_t>(7u * 1024));
    EXPECT_EQ(ParseMemAvailable("MemTotal: 8000 kB\n"), std::nullopt);
    EXPECT_EQ(ParseMemAvailable("MemAvailable: none\n"), std::nullopt);
    // The running machine always tells something, and never zero.
    const std::optional<std::uint64_t> now = AvailableMemoryBytes();
    ASSERT_TRUE(now.has_value());
    EXPECT_GT(*now, 0u);
}

TEST(MemoryLimits, AFileIsRefusedOnlyBeyondWhatTheLoadCanTake) {
    const std::uint64_t size = 1000;
    EXPECT_TRUE(CheckFitsInMemory(size, size * kLoadMemoryFactor));
    const FileResult refused = CheckFitsInMemory(size + 1, size * kLoadMemoryFactor);
    EXPECT_FALSE(refused);
    // Both sizes, rounded up to whole megabytes, so the user sees what is missing.
    EXPECT_NE(refused.reason.find("大きすぎる"), std::string::npos);
    EXPECT_NE(refused.reason.find("約 1 MB のメモリが必要"), std::string::npos);
    // Sizes near the top of the range do not overflow into "fits".
    EXPECT_FALSE(CheckFitsInMemory(UINT64_MAX, UINT64_MAX / 2));
    EXPECT_NE(CheckFitsInMemory(UINT64_MAX, 1).reason.find(std::to_string((UINT64_MAX >> 20) + 1)),
              std::string::npos);
    // Memory that cannot be told refuses nothing.
    EXPECT_TRUE(CheckFitsInMemory(UINT64_MAX, std::nullopt));
}

}  // namespace
}  // namespace zentabo
