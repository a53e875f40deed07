#include "store/LineEntry.h"

#include <cstring>
#include <stdexcept>

namespace zentabo {

void LineEntry::TooLong() {
    throw std::length_error("line store entry too long");
}

void LineEntry::Own(std::string_view s) {
    if (s.size() > UINT32_MAX) TooLong();
    if (s.empty()) return;
    char* bytes = new char[s.size()];
    std::memcpy(bytes, s.data(), s.size());
    data_ = bytes;
    size_ = static_cast<uint32_t>(s.size());
}

void LineEntry::Assign(std::string_view s) {
    LineEntry copy(s);  // made first: s may be this entry's bytes, and a failure keeps them
    *this = std::move(copy);
}

void LineEntry::Drop() noexcept {
    if (block_)
        SharedBytes::Return(block_);
    else
        delete[] data_;
    data_ = nullptr;
    block_ = nullptr;
    size_ = 0;
}

}  // namespace zentabo
