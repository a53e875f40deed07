#pragma once

// The line store's slot array: the entries in blocks of at most kMaxBlock slots, found
// through the index of each block's first entry. An insertion or deletion moves only
// the slots of one block and a few thousand block starts, and growing never copies the
// entries, so no keystroke costs time in proportion to the text, wherever it lands and
// whatever the array's history.

#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

#include "store/LineEntry.h"
#include "store/SlotBlockPool.h"

namespace zentabo {

class SlotArray {
public:
    static constexpr int32_t kMaxBlock = 2048;
    static_assert(kMaxBlock == slot_pool::kEntries, "full blocks come from the pool");

    SlotArray() = default;
    SlotArray(const SlotArray&) = delete;
    SlotArray& operator=(const SlotArray&) = delete;

    int32_t size() const { return size_; }
    // The number of entries the list may hold before it must grow; blocks allocate
    // their slots as they fill, so a large capacity costs nothing.
    int32_t capacity() const { return capacity_; }

    LineEntry& operator[](int32_t i) {
        auto [b, o] = Locate(i);
        return blocks_[static_cast<size_t>(b)][static_cast<size_t>(o)];
    }
    const LineEntry& operator[](int32_t i) const {
        auto [b, o] = Locate(i);
        return blocks_[static_cast<size_t>(b)][static_cast<size_t>(o)];
    }

    // Visits the entries from `from` on, in order, until visit answers true, and
    // answers that entry's index, or size() when none did. A walk costs one lookup,
    // not one per entry.
    template <class Visit>
    int32_t FindFrom(int32_t from, Visit visit) const {
        if (from < 0) from = 0;
        if (from >= size_) return size_;
        auto [b, o] = Locate(from);
        int32_t index = from;
        for (auto block = blocks_.begin() + b; block != blocks_.end(); ++block, o = 0) {
            for (auto it = block->begin() + o; it != block->end(); ++it, ++index) {
                if (visit(*it)) return index;
            }
        }
        return size_;
    }

    // Sets the capacity (n >= size()). Never moves an entry.
    void Reallocate(int32_t n);
    // Inserts at index (0..size()); needs a free slot.
    void Insert(int32_t index, LineEntry&& s);
    // Removes the entry at index.
    void Erase(int32_t index);
    // Drops the entries from n on (n <= size()).
    void Truncate(int32_t n);
    // Appends empty entries up to n (n <= capacity()).
    void GrowTo(int32_t n);
    // Destroys every entry and frees the blocks.
    void Release();

private:
    using Block = std::vector<LineEntry, SlotBlockAllocator>;

    // The block holding entry i (0 <= i < size()) and the entry's offset in it.
    std::pair<int32_t, int32_t> Locate(int32_t i) const;
    int32_t BlockSize(int32_t b) const {
        return static_cast<int32_t>(blocks_[static_cast<size_t>(b)].size());
    }
    // Adds delta to the start of every block behind b.
    void ShiftStartsAfter(int32_t b, int32_t delta);
    // Moves the back half of a full block into a new block behind it.
    void SplitBlock(int32_t b);
    void RemoveBlock(int32_t b);
    void AppendBlock();

    std::vector<Block> blocks_;    // none of them empty
    std::vector<int32_t> starts_;  // starts_[b]: index of block b's first entry
    int32_t size_ = 0;
    int32_t capacity_ = 0;
    // The block the last lookup found: walks over the entries in order find the next
    // one at once. Atomic only so that readers on several threads stay well defined.
    mutable std::atomic<int32_t> hint_{0};
};

}  // namespace zentabo
