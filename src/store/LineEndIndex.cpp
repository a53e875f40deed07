#include "store/LineEndIndex.h"

#include <algorithm>

namespace zentabo {

bool EndsWithLineBreak(std::string_view s) {
    return s.size() >= 2 && s[s.size() - 1] == '\n' && s[s.size() - 2] == '\r';
}

void LineEndIndex::InvalidateAll() {
    starts_.assign(1, 0);
    scanned_ = seen_ = 0;
}

void LineEndIndex::InvalidateFrom(int32_t index) {
    if (index >= scanned_) return;
    // A checkpoint at or before index counts only entries before it.
    const auto keep = std::upper_bound(starts_.begin(), starts_.end(), std::max(index, 0));
    starts_.erase(keep, starts_.end());
    if (starts_.empty()) starts_.push_back(0);
    scanned_ = starts_.back();
    seen_ = static_cast<int32_t>(starts_.size() - 1) * kBlock;
}

void LineEndIndex::ShiftFrom(int32_t index, int32_t delta) {
    // Checkpoints after index move with the entries; one at index stays, as the entry
    // there still starts its logical line.
    auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
    for (; it != starts_.end(); ++it) *it += delta;
    if (scanned_ > index) scanned_ += delta;
}

void LineEndIndex::NoteInserted(int32_t index, bool lineEnd) {
    if (lineEnd)
        InvalidateFrom(index);
    else if (index < scanned_)
        ShiftFrom(index, 1);
}

void LineEndIndex::NoteErased(int32_t index, bool lineEnd) {
    if (lineEnd)
        InvalidateFrom(index);
    else if (index < scanned_)
        ShiftFrom(index, -1);
}

void LineEndIndex::NoteChanged(int32_t index, bool wasLineEnd, bool isLineEnd) {
    if (wasLineEnd != isLineEnd) InvalidateFrom(index);
}

void LineEndIndex::NoteAppended(const SlotArray& slots) {
    const int32_t last = slots.size() - 1;
    if (scanned_ == last) ScanUntil(slots, last, INT32_MAX);
}

void LineEndIndex::ScanUntil(const SlotArray& slots, int32_t index, int32_t lineEnds) const {
    const int32_t end = std::min(index + 1, slots.size());
    if (scanned_ >= end || seen_ >= lineEnds) return;
    slots.FindFrom(scanned_, [&](const LineEntry& e) {
        if (EndsWithLineBreak(e.view())) {
            ++seen_;
            if (seen_ % kBlock == 0) starts_.push_back(scanned_ + 1);
        }
        return ++scanned_ >= end || seen_ >= lineEnds;
    });
}

int32_t LineEndIndex::CountBefore(const SlotArray& slots, int32_t index) const {
    index = std::clamp(index, 0, slots.size());
    if (index > scanned_) ScanUntil(slots, index - 1, INT32_MAX);
    // The last checkpoint at or before index, then the entries from there.
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), index) - 1;
    int32_t n = static_cast<int32_t>(it - starts_.begin()) * kBlock;
    if (*it >= index) return n;
    int32_t i = *it;
    slots.FindFrom(i, [&](const LineEntry& e) {
        n += EndsWithLineBreak(e.view());
        return ++i >= index;
    });
    return n;
}

int32_t LineEndIndex::IndexAfter(const SlotArray& slots, int32_t n) const {
    const int32_t last = slots.size() - 1;
    if (n <= 0 || last <= 0) return 0;
    if (seen_ < n) ScanUntil(slots, last, n);
    const int32_t k = std::min(n / kBlock, static_cast<int32_t>(starts_.size()) - 1);
    int32_t seen = k * kBlock;
    if (seen == n) return std::min(starts_[static_cast<size_t>(k)], last);
    const int32_t found = slots.FindFrom(starts_[static_cast<size_t>(k)], [&](const LineEntry& e) {
        return EndsWithLineBreak(e.view()) && ++seen == n;
    });
    return std::min(found + 1, last);
}

}  // namespace zentabo
