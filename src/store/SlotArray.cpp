#include "store/SlotArray.h"

#include <algorithm>
#include <cassert>
#include <iterator>

namespace zentabo {

std::pair<int32_t, int32_t> SlotArray::Locate(int32_t i) const {
    assert(i >= 0 && i < size_);
    const int32_t n = static_cast<int32_t>(blocks_.size());
    int32_t b = hint_.load(std::memory_order_relaxed);
    if (b < n) {
        const int32_t start = starts_[static_cast<size_t>(b)];
        const int32_t end = start + BlockSize(b);
        if (i >= start && i < end) return {b, i - start};
        if (i >= end && b + 1 < n && i < end + BlockSize(b + 1)) {
            hint_.store(b + 1, std::memory_order_relaxed);
            return {b + 1, i - end};
        }
    }
    b = static_cast<int32_t>(std::upper_bound(starts_.begin(), starts_.end(), i) -
                             starts_.begin()) -
        1;
    hint_.store(b, std::memory_order_relaxed);
    return {b, i - starts_[static_cast<size_t>(b)]};
}

void SlotArray::Reallocate(int32_t n) {
    assert(n >= size_);
    capacity_ = n;
}

void SlotArray::ShiftStartsAfter(int32_t b, int32_t delta) {
    for (auto it = starts_.begin() + b + 1; it != starts_.end(); ++it) *it += delta;
}

void SlotArray::AppendBlock() {
    // Reserved first, so that a failure leaves the array as it was.
    blocks_.reserve(blocks_.size() + 1);
    starts_.reserve(starts_.size() + 1);
    Block block;
    // A small list reserves what it plans to hold, a large one whole blocks.
    block.reserve(static_cast<size_t>(std::clamp(capacity_ - size_, 1, kMaxBlock)));
    blocks_.push_back(std::move(block));
    starts_.push_back(size_);
}

void SlotArray::SplitBlock(int32_t b) {
    blocks_.reserve(blocks_.size() + 1);
    starts_.reserve(starts_.size() + 1);
    Block back;
    back.reserve(kMaxBlock);
    Block& front = blocks_[static_cast<size_t>(b)];
    const auto half = front.begin() + static_cast<std::ptrdiff_t>(front.size() / 2);
    const int32_t backStart =
        starts_[static_cast<size_t>(b)] + static_cast<int32_t>(half - front.begin());
    back.insert(back.end(), std::make_move_iterator(half), std::make_move_iterator(front.end()));
    front.erase(half, front.end());
    blocks_.insert(blocks_.begin() + b + 1, std::move(back));
    starts_.insert(starts_.begin() + b + 1, backStart);
}

void SlotArray::RemoveBlock(int32_t b) {
    blocks_.erase(blocks_.begin() + b);
    starts_.erase(starts_.begin() + b);
    hint_.store(0, std::memory_order_relaxed);
}

void SlotArray::Insert(int32_t index, LineEntry&& s) {
    assert(index >= 0 && index <= size_ && size_ < capacity_);
    if (index == size_) {
        // Appending fills the last block and then starts a new one.
        if (blocks_.empty() || BlockSize(static_cast<int32_t>(blocks_.size()) - 1) >= kMaxBlock)
            AppendBlock();
        blocks_.back().push_back(std::move(s));
        ++size_;
        return;
    }
    auto [b, o] = Locate(index);
    if (BlockSize(b) >= kMaxBlock) {
        SplitBlock(b);
        std::tie(b, o) = Locate(index);
    }
    Block& block = blocks_[static_cast<size_t>(b)];
    block.insert(block.begin() + o, std::move(s));
    ShiftStartsAfter(b, 1);
    ++size_;
}

void SlotArray::Erase(int32_t index) {
    auto [b, o] = Locate(index);
    Block& block = blocks_[static_cast<size_t>(b)];
    block.erase(block.begin() + o);
    ShiftStartsAfter(b, -1);
    if (block.empty()) RemoveBlock(b);
    --size_;
}

void SlotArray::Truncate(int32_t n) {
    assert(n >= 0 && n <= size_);
    if (n == size_) return;
    auto [b, o] = Locate(n);
    blocks_[static_cast<size_t>(b)].resize(static_cast<size_t>(o));
    const int32_t keep = o == 0 ? b : b + 1;
    blocks_.erase(blocks_.begin() + keep, blocks_.end());
    starts_.erase(starts_.begin() + keep, starts_.end());
    hint_.store(0, std::memory_order_relaxed);
    size_ = n;
}

void SlotArray::GrowTo(int32_t n) {
    assert(n >= size_ && n <= capacity_);
    while (size_ < n) Insert(size_, LineEntry());
}

void SlotArray::Release() {
    std::vector<Block>().swap(blocks_);
    std::vector<int32_t>().swap(starts_);
    hint_.store(0, std::memory_order_relaxed);
    size_ = capacity_ = 0;
}

}  // namespace zentabo
