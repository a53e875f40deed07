#include "store/StoreErrors.h"

namespace zentabo {

IndexError::IndexError() : std::runtime_error("インデックスがリストの範囲を超えています") {}

}  // namespace zentabo
