#include "store/SlotBlockPool.h"

#include <sys/mman.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <mutex>
#include <new>

namespace zentabo::slot_pool {
namespace {

constexpr std::uintptr_t kRegion = std::uintptr_t{2} << 20;
constexpr std::size_t kChunk = kEntries * sizeof(LineEntry);
constexpr int kChunks = static_cast<int>(kRegion / kChunk);
static_assert(kChunks >= 1 && kChunks <= 64, "a region's chunks fit one mask");
constexpr std::uint64_t kAllFree = kChunks == 64 ? ~0ULL : (1ULL << kChunks) - 1;

// A region aligned to its size, so that a chunk finds its region by rounding down.
char* MapRegion() {
    void* p =
        mmap(nullptr, 2 * kRegion, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    const auto raw = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t base = (raw + kRegion - 1) & ~(kRegion - 1);
    if (base > raw) munmap(p, base - raw);
    munmap(reinterpret_cast<void*>(base + kRegion), raw + kRegion - base);
    madvise(reinterpret_cast<void*>(base), kRegion, MADV_HUGEPAGE);  // only a hint
    return reinterpret_cast<char*>(base);
}

class Pool {
public:
    void* Take() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [base, free] : free_) {
            if (free == 0) continue;
            const int i = __builtin_ctzll(free);
            free &= ~(1ULL << i);
            return reinterpret_cast<char*>(base) + static_cast<std::size_t>(i) * kChunk;
        }
        const auto base = reinterpret_cast<std::uintptr_t>(MapRegion());
        free_.emplace(base, kAllFree & ~1ULL);
        return reinterpret_cast<void*>(base);
    }

    void Give(void* p) noexcept {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto at = reinterpret_cast<std::uintptr_t>(p);
        const auto it = free_.find(at & ~(kRegion - 1));
        if (it == free_.end()) return;
        it->second |= 1ULL << ((at - it->first) / kChunk);
        if (it->second != kAllFree) return;
        // One empty region stays, so that a block split and freed again and again at a
        // region's edge does not map and unmap it each time.
        if (HasOtherEmpty(it->first)) {
            munmap(reinterpret_cast<void*>(it->first), kRegion);
            free_.erase(it);
        }
    }

    std::size_t Count() {
        std::lock_guard<std::mutex> lock(mutex_);
        return free_.size();
    }

private:
    bool HasOtherEmpty(std::uintptr_t base) const {
        for (const auto& [other, free] : free_)
            if (other != base && free == kAllFree) return true;
        return false;
    }

    std::mutex mutex_;
    std::map<std::uintptr_t, std::uint64_t> free_;  // region base -> mask of free chunks
};

// Never destroyed: blocks of static stores may be freed after it would be.
Pool& ThePool() {
    static Pool* pool = new Pool;
    return *pool;
}

}  // namespace

void* Take() {
    return ThePool().Take();
}
void Give(void* p) noexcept {
    ThePool().Give(p);
}
std::size_t RegionCount() {
    return ThePool().Count();
}

}  // namespace zentabo::slot_pool
