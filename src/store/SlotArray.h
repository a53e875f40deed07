#pragma once

// The line store's slot array: one contiguous block of std::string slots with a gap
// (the free slots) kept where the last insertion or deletion happened. Repeated edits
// near one place then move only the slots between the gap and the edit, instead of
// every slot behind it. Slots in the gap are raw memory: a large reserved block costs
// address space, not resident memory, until it is used.

#include <cstdint>
#include <string>

namespace zentabo {

class SlotArray {
public:
    SlotArray() = default;
    ~SlotArray();
    SlotArray(const SlotArray&) = delete;
    SlotArray& operator=(const SlotArray&) = delete;

    int32_t size() const { return size_; }
    int32_t capacity() const { return capacity_; }

    std::string& operator[](int32_t i) { return slots_[Physical(i)]; }
    const std::string& operator[](int32_t i) const { return slots_[Physical(i)]; }

    // Reallocates to exactly n slots (n >= size()), leaving the free slots before entry
    // gapAt, where the next insertion is expected. On allocation failure nothing changes.
    void Reallocate(int32_t n, int32_t gapAt);
    void Reallocate(int32_t n) { Reallocate(n, gapStart_); }
    // Inserts at index (0..size()); needs a free slot.
    void Insert(int32_t index, std::string&& s);
    // Removes the entry at index.
    void Erase(int32_t index);
    // Drops the entries from n on (n <= size()).
    void Truncate(int32_t n);
    // Appends empty entries up to n (n <= capacity()).
    void GrowTo(int32_t n);
    // Destroys every entry and frees the block.
    void Release();

private:
    int32_t Gap() const { return capacity_ - size_; }
    int32_t Physical(int32_t i) const { return i < gapStart_ ? i : i + Gap(); }
    void MoveGapTo(int32_t index);

    std::string* slots_ = nullptr;
    int32_t size_ = 0;
    int32_t capacity_ = 0;
    // Entries [0, gapStart_) sit at the front, the rest flush against the end.
    int32_t gapStart_ = 0;
};

}  // namespace zentabo
