#include "store/LineEntry.h"

#include <cstring>
#include <stdexcept>

namespace zentabo {

void SharedString::ReleaseBefore(const char* p) {
    // The allocator's bookkeeping lies outside the string's bytes, and pages given back
    // read as zero to nobody: every borrower of them is gone.
    ReleasePagesBefore(bytes.data(), bytes.size(), released_,
                       static_cast<std::size_t>(p - bytes.data()));
}

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
