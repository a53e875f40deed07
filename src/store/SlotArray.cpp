#include "store/SlotArray.h"

#include <cassert>
#include <new>
#include <utility>

namespace zentabo {
namespace {

std::string* AllocateSlots(int32_t n) {
    if (n == 0) return nullptr;
    return static_cast<std::string*>(::operator new(sizeof(std::string) * static_cast<size_t>(n)));
}

void FreeSlots(std::string* slots) {
    ::operator delete(slots);
}

// Move-constructs dst from src and ends src's lifetime; std::string is not trivially
// relocatable (the short-string buffer points into the object itself).
void Relocate(std::string* dst, std::string* src) {
    new (dst) std::string(std::move(*src));
    src->~basic_string();
}

}  // namespace

SlotArray::~SlotArray() {
    Release();
}

void SlotArray::Release() {
    for (int32_t i = 0; i < size_; ++i) slots_[Physical(i)].~basic_string();
    FreeSlots(slots_);
    slots_ = nullptr;
    size_ = capacity_ = gapStart_ = 0;
}

void SlotArray::Reallocate(int32_t n, int32_t gapAt) {
    assert(n >= size_ && gapAt >= 0 && gapAt <= size_);
    std::string* fresh = AllocateSlots(n);
    int32_t newGap = n - size_;
    for (int32_t i = 0; i < gapAt; ++i) Relocate(fresh + i, slots_ + Physical(i));
    for (int32_t i = gapAt; i < size_; ++i) Relocate(fresh + i + newGap, slots_ + Physical(i));
    FreeSlots(slots_);
    slots_ = fresh;
    capacity_ = n;
    gapStart_ = gapAt;
}

void SlotArray::MoveGapTo(int32_t index) {
    int32_t gap = Gap();
    if (gap == 0) {
        gapStart_ = index;
        return;
    }
    // Walk in the direction that only ever moves into slots already vacated.
    for (int32_t i = gapStart_ - 1; i >= index; --i) Relocate(slots_ + i + gap, slots_ + i);
    for (int32_t i = gapStart_; i < index; ++i) Relocate(slots_ + i, slots_ + i + gap);
    gapStart_ = index;
}

void SlotArray::Insert(int32_t index, std::string&& s) {
    assert(index >= 0 && index <= size_ && Gap() > 0);
    MoveGapTo(index);
    new (slots_ + gapStart_) std::string(std::move(s));
    ++gapStart_;
    ++size_;
}

void SlotArray::Erase(int32_t index) {
    assert(index >= 0 && index < size_);
    MoveGapTo(index);
    slots_[index + Gap()].~basic_string();
    --size_;
}

void SlotArray::Truncate(int32_t n) {
    assert(n >= 0 && n <= size_);
    if (n == size_) return;
    MoveGapTo(n);
    for (int32_t i = n; i < size_; ++i) slots_[i + Gap()].~basic_string();
    size_ = n;
}

void SlotArray::GrowTo(int32_t n) {
    assert(n >= size_ && n <= capacity_);
    if (n == size_) return;
    MoveGapTo(size_);
    for (int32_t i = size_; i < n; ++i) new (slots_ + i) std::string();
    size_ = n;
    gapStart_ = n;
}

}  // namespace zentabo
