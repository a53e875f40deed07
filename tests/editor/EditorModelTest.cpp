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

}  // namespace
}  // namespace zentabo
