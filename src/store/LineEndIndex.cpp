#include "store/LineEndIndex.h"

#include <algorithm>

namespace zentabo {

bool EndsWithLineBreak(const std::string& s) {
    return s.size() >= 2 && s[s.size() - 1] == '\n' && s[s.size() - 2] == '\r';
}

void LineEndIndex::InvalidateFrom(int32_t index) {
    // Checkpoint c covers [0, c * kBlock): it stays right while c * kBlock <= index.
    int32_t keep = index < 0 ? 1 : index / kBlock + 1;
    valid_ = std::min(valid_, keep);
}

void LineEndIndex::BuildUpTo(const SlotArray& slots, int32_t c) const {
    if (c < valid_) return;
    if (static_cast<int32_t>(counts_.size()) <= c) counts_.resize(c + 1);
    for (int32_t k = valid_; k <= c; ++k) {
        int32_t n = counts_[k - 1];
        for (int32_t i = (k - 1) * kBlock, end = k * kBlock; i < end; ++i)
            n += EndsWithLineBreak(slots[i]);
        counts_[k] = n;
    }
    valid_ = c + 1;
}

int32_t LineEndIndex::CountBefore(const SlotArray& slots, int32_t index) const {
    index = std::clamp(index, 0, slots.size());
    int32_t c = index / kBlock;
    BuildUpTo(slots, c);
    int32_t n = counts_[c];
    for (int32_t i = c * kBlock; i < index; ++i) n += EndsWithLineBreak(slots[i]);
    return n;
}

int32_t LineEndIndex::IndexAfter(const SlotArray& slots, int32_t n) const {
    int32_t last = slots.size() - 1;
    if (n <= 0 || last <= 0) return 0;
    // Find the last checkpoint with fewer than n line ends before it, building the
    // checkpoints only as far as that search needs.
    int32_t full = slots.size() / kBlock;
    int32_t c;
    if (counts_[valid_ - 1] >= n) {
        auto begin = counts_.begin(), end = counts_.begin() + valid_;
        c = static_cast<int32_t>(std::lower_bound(begin, end, n) - begin) - 1;
    } else {
        c = valid_ - 1;
        while (c < full) {
            BuildUpTo(slots, c + 1);
            if (counts_[c + 1] >= n) break;
            ++c;
        }
    }
    int32_t seen = counts_[c];
    for (int32_t i = c * kBlock; i < last; ++i) {
        if (EndsWithLineBreak(slots[i]) && ++seen == n) return i + 1;
    }
    return last;
}

}  // namespace zentabo
