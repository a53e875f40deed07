#include <gtest/gtest.h>

#include "store/StoreErrors.h"

namespace zentabo {
namespace {

TEST(StoreErrors, IndexErrorCarriesTheFixedJapaneseMessage) {
    EXPECT_STREQ(IndexError().what(), "インデックスがリストの範囲を超えています");
}

}  // namespace
}  // namespace zentabo
