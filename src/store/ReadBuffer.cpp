#include "store/ReadBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace zentabo {
namespace {

std::size_t PageSize() {
    static const std::size_t size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t RoundToPages(std::size_t n) {
    const std::size_t page = PageSize();
    return (n + page - 1) / page * page;
}

// Returning pages in steps of this size keeps the system calls few.
constexpr std::size_t kReleaseStep = std::size_t{4} << 20;
constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

ReadBuffer::~ReadBuffer() {
    if (data_) munmap(data_, mapped_);
}

void ReadBuffer::Reserve(std::size_t n) {
    n = RoundToPages(std::max<std::size_t>(n, 1));
    if (n <= mapped_) return;
    // Anonymous pages: the kernel hands them out zeroed once, when first touched by
    // the read, and mremap moves them without copying when the file has grown.
    void* p = data_ ? mremap(data_, mapped_, n, MREMAP_MAYMOVE)
                    : mmap(nullptr, n, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    // Large pages where the system offers them: a file of many megabytes then costs a
    // few dozen page faults instead of one per 4 KB. Only a hint; nothing fails without.
    if (n >= kLargePage) madvise(p, n, MADV_HUGEPAGE);
    data_ = static_cast<char*>(p);
    mapped_ = n;
}

void ReadBuffer::ReadAll(const FileHandle& file, const std::string& fileName, std::size_t hint,
                         const TaskProgress& progress) {
    Reserve(hint + 1);
    for (;;) {
        const std::size_t room = mapped_ - 1 - size_;
        const std::size_t want = progress ? std::min(room, kReadStep) : room;
        const std::size_t got = ReadSome(file, fileName, data_ + size_, want);
        size_ += got;
        if (got < want) return;
        if (progress) ReportProgress(progress, hint ? std::min(1.0, double(size_) / hint) : 0.0);
        if (want < room) continue;
        Reserve(size_ + std::max<std::size_t>(size_ / 2, 1 << 16));
    }
}

void ReleasePagesBefore(char* bytes, std::size_t size, std::size_t& released, std::size_t offset) {
    // Only whole pages inside the bytes: whatever lies around them stays untouched.
    const std::uintptr_t page = PageSize();
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes);
    const std::uintptr_t from = (begin + released + page - 1) / page * page;
    const std::uintptr_t to = (begin + std::min(offset, size)) / page * page;
    if (to < from + kReleaseStep) return;
    madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    released = to - begin;
}

}  // namespace zentabo
