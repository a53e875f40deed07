#pragma once

// Memory for the slot array's full-size blocks. A loaded file of millions of lines
// fills hundreds of them at once; taken from the heap, every 4 KB of them costs a page
// fault when first written, which is a third of a load's time on some machines. Here
// they are cut from 2 MB regions that the system may back with large pages, and a
// region is given back as soon as none of its blocks is in use.

#include <cstddef>
#include <memory>
#include <type_traits>

#include "store/LineEntry.h"

namespace zentabo {

namespace slot_pool {
// The one block size the pool serves, in entries.
inline constexpr std::size_t kEntries = 2048;
void* Take();
void Give(void* p) noexcept;
// Regions currently mapped: for tests.
std::size_t RegionCount();
}  // namespace slot_pool

// Full-size blocks come from the pool, any other size from the heap.
struct SlotBlockAllocator {
    using value_type = LineEntry;
    template <class U>
    struct rebind {
        using other =
            std::conditional_t<std::is_same_v<U, LineEntry>, SlotBlockAllocator, std::allocator<U>>;
    };

    LineEntry* allocate(std::size_t n) {
        if (n == slot_pool::kEntries) return static_cast<LineEntry*>(slot_pool::Take());
        return std::allocator<LineEntry>().allocate(n);
    }
    void deallocate(LineEntry* p, std::size_t n) noexcept {
        if (n == slot_pool::kEntries) return slot_pool::Give(p);
        std::allocator<LineEntry>().deallocate(p, n);
    }
    bool operator==(const SlotBlockAllocator&) const { return true; }
};

}  // namespace zentabo
