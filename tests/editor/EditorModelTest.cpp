// Long random edit sequences against a plain reference string.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/EditorModelDriver.h"

namespace zentabo {
namespace {

TEST(EditorModelTest, RandomSequencesKeepTextStoreAndUndoConsistent) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        std::vector<uint8_t> bytes(6000);
        for (auto& b : bytes) b = static_cast<uint8_t>(rng());
        DriverResult r = RunEditorModel(bytes.data(), bytes.size());
        ASSERT_TRUE(r.ok) << "seed " << seed << ": " << r.failure;
    }
}

TEST(EditorModelTest, FoundSequencesStayConsistent) {
    const std::vector<std::vector<uint8_t>> found = {
        {0xa0, 0x09, 0x9f, 0x07, 0x23, 0x81, 0xff, 0x0d, 0x0a, 0x72, 0x0a, 0x02, 0x61, 0x61,
         0x0d, 0x04, 0x2c, 0x61, 0x61, 0xf5, 0xae, 0x0d, 0x04, 0x7a, 0x2c, 0xef, 0xff, 0xff},
        {0x0a, 0x00, 0x0d, 0x0a, 0x00, 0x00, 0x6e, 0x23, 0x0a, 0x6c, 0x61, 0xc2,
         0xc2, 0xd3, 0x0a, 0x6a, 0x6c, 0xa5, 0x3d, 0x26, 0x26, 0x6e, 0x23, 0x0a},
    };
    for (const auto& bytes : found) {
        DriverResult r = RunEditorModel(bytes.data(), bytes.size());
        EXPECT_TRUE(r.ok) << r.failure;
    }
}

}  // namespace
}  // namespace zentabo
