#pragma once

// Checkpoints over the slot array: for every block of kBlock entries, how many entries
// before it end with CR LF. The editor converts display to logical positions on every
// keystroke; with this index a query costs one short block scan instead of a scan from
// entry 0. Every change invalidates the checkpoints behind the changed index; they are
// rebuilt lazily, and only as far as a query needs.

#include <cstdint>
#include <vector>

#include "store/SlotArray.h"

namespace zentabo {

class LineEndIndex {
public:
    static constexpr int32_t kBlock = 256;

    // Entry `index` (or anything behind it) changed, appeared or went away.
    void InvalidateFrom(int32_t index);
    void InvalidateAll() { valid_ = 1; }

    int32_t CountBefore(const SlotArray& slots, int32_t index) const;
    int32_t IndexAfter(const SlotArray& slots, int32_t n) const;

private:
    // Makes checkpoint c valid (c * kBlock <= slots.size()).
    void BuildUpTo(const SlotArray& slots, int32_t c) const;

    // counts_[c] = entries ending with CR LF in [0, c * kBlock); the first valid_ are right.
    mutable std::vector<int32_t> counts_{0};
    mutable int32_t valid_ = 1;
};

// CR LF: the entry ends a logical line.
bool EndsWithLineBreak(const std::string& s);

}  // namespace zentabo
