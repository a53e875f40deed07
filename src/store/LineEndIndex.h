#pragma once

// Checkpoints over the slot array: for every kBlock-th logical line, the index of its
// first entry. The editor converts between display and logical positions on every
// keystroke; with this index a query costs one short scan instead of a scan from
// entry 0. The checkpoints are built lazily, only as far as a query needs, and an
// entry added, removed or rewritten without a CR LF of its own only shifts the
// checkpoints behind it, so the index survives the re-wraps that follow each edit.

#include <cstdint>
#include <string_view>
#include <vector>

#include "store/SlotArray.h"

namespace zentabo {

class LineEndIndex {
public:
    static constexpr int32_t kBlock = 64;

    // Entry `index` or anything behind it may have changed, appeared or gone away.
    void InvalidateFrom(int32_t index);
    void InvalidateAll();
    // An entry was inserted at index (lineEnd: it ends with CR LF).
    void NoteInserted(int32_t index, bool lineEnd);
    // The entry at index was removed (lineEnd: it ended with CR LF).
    void NoteErased(int32_t index, bool lineEnd);
    // The entry at index was rewritten; its line end came or went when the two differ.
    void NoteChanged(int32_t index, bool wasLineEnd, bool isLineEnd);
    // An entry was appended at the end: scanned at once, while it is in the cache, so
    // that a text built by appending has its index ready for the first query.
    void NoteAppended(const SlotArray& slots);

    int32_t CountBefore(const SlotArray& slots, int32_t index) const;
    int32_t IndexAfter(const SlotArray& slots, int32_t n) const;

private:
    // Scans on from scanned_ until entry `index` is scanned or `lineEnds` line ends are
    // seen, whichever comes first (both bounded by the array's end).
    void ScanUntil(const SlotArray& slots, int32_t index, int32_t lineEnds) const;
    void ShiftFrom(int32_t index, int32_t delta);

    // starts_[k]: the index of the first entry after k * kBlock line ends.
    mutable std::vector<int32_t> starts_{0};
    // Entries [0, scanned_) are counted; seen_ of them end with CR LF.
    mutable int32_t scanned_ = 0;
    mutable int32_t seen_ = 0;
};

// CR LF: the entry ends a logical line.
bool EndsWithLineBreak(std::string_view s);

}  // namespace zentabo
