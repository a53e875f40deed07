#include "store/LineEntry.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace zentabo {
namespace {

// Pages are given back in steps of this size, so the system calls stay few.
constexpr std::size_t kReleaseStep = std::size_t{4} << 20;

}  // namespace

void SharedString::ReleaseBefore(const char* p) {
    // Only whole pages inside the string's own bytes: the allocator's bookkeeping
    // around them stays untouched, and pages given back read as zero to nobody.
    static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    const auto end = std::min(reinterpret_cast<std::uintptr_t>(p), begin + bytes.size());
    const std::uintptr_t from = (begin + released_ + page - 1) / page * page;
    const std::uintptr_t to = end / page * page;
    if (to < from + kReleaseStep) return;
    madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    released_ = to - begin;
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
