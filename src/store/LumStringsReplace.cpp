// Replacing a run of entries at once, for edits that rewrite many lines together.
#include <algorithm>

#include "store/LumStrings.h"

namespace zentabo {

void TLumStrings::ReplaceEntries(int32_t index, int32_t count, std::vector<std::string>& entries,
                                 std::string& removed) {
    CheckIndex(index, Count() + 1);
    if (count < 0 || count > Count() - index) Error();
    const int64_t added = static_cast<int64_t>(entries.size()) - count;
    if (int64_t{Count()} + added > kMaxListSize) Error();
    std::size_t bytes = 0;
    for (int32_t i = index; i < index + count; ++i) bytes += slots_[i].size();
    removed.reserve(removed.size() + bytes);
    // Everything that may fail is done before the first entry changes.
    // Grown as Add and Insert grow, at least, so that edits that follow do not
    // reallocate the array once each.
    if (added > 0 && int64_t{Count()} + added > Capacity()) {
        const int64_t wanted =
            int64_t{Count()} + std::max<int64_t>(added, std::max(Count() / 128, 32));
        slots_.Reallocate(static_cast<int32_t>(std::min<int64_t>(wanted, kMaxListSize)));
    }
    for (int32_t i = index; i < index + count; ++i) {
        removed += slots_[i];
        std::string().swap(slots_[i]);
    }
    const int32_t newCount = static_cast<int32_t>(entries.size());
    const int32_t common = std::min(count, newCount);
    for (int32_t i = 0; i < common; ++i) slots_[index + i] = std::move(entries[i]);
    for (int32_t i = common; i < newCount; ++i) slots_.Insert(index + i, std::move(entries[i]));
    for (int32_t i = count - 1; i >= newCount; --i) slots_.Erase(index + i);
    entries.clear();
    lineEnds_.InvalidateFrom(index);
}

}  // namespace zentabo
