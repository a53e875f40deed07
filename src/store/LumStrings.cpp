#include "store/LumStrings.h"

#include <algorithm>

namespace zentabo {

TLumStrings::~TLumStrings() {
    Clear();
}

void TLumStrings::Error() const {
    throw IndexError();
}

void TLumStrings::CheckIndex(int32_t index, int32_t limit) const {
    if (index < 0 || index >= limit) Error();
}

void TLumStrings::Grow() {
    int32_t count = Count();
    if (count >= kMaxListSize) Error();
    int64_t wanted = int64_t{count} + std::max(count / 128, 32);
    slots_.Reallocate(static_cast<int32_t>(std::min<int64_t>(wanted, kMaxListSize)));
}

void TLumStrings::SetCount(int32_t n) {
    if (n < 0 || n > kMaxListSize) Error();
    if (n > Capacity()) SetCapacity(n);
    int32_t old = Count();
    if (n < old)
        slots_.Truncate(n);
    else
        slots_.GrowTo(n);
    lineEnds_.InvalidateFrom(std::min(n, old));
}

void TLumStrings::SetCapacity(int32_t n) {
    if (n > kMaxListSize || n < Count()) Error();
    if (n == Capacity()) return;
    slots_.Reallocate(n);
}

void TLumStrings::Put(int32_t index, std::string_view s) {
    CheckIndex(index, Count());
    LineEntry& slot = slots_[index];
    const bool wasLineEnd = EndsWithLineBreak(slot.view());
    slot.Assign(s);
    lineEnds_.NoteChanged(index, wasLineEnd, EndsWithLineBreak(slot.view()));
}

std::string_view TLumStrings::Get(int32_t index) const {
    CheckIndex(index, Count());
    return slots_[index].view();
}

int32_t TLumStrings::Add(std::string_view s) {
    int32_t index = Count();
    Insert(index, s);
    return index;
}

void TLumStrings::Insert(int32_t index, std::string_view s) {
    CheckIndex(index, Count() + 1);
    LineEntry copy(s);  // copied before anything moves, so s may be an entry itself
    if (Count() == Capacity()) Grow();
    slots_.Insert(index, std::move(copy));
    NoteInserted(index);
}

void TLumStrings::Delete(int32_t index) {
    CheckIndex(index, Count());
    const bool wasLineEnd = EndsWithLineBreak(slots_[index].view());
    slots_.Erase(index);
    lineEnds_.NoteErased(index, wasLineEnd);
}

void TLumStrings::Clear() {
    if (Capacity() > 0) slots_.Release();
    lineEnds_.InvalidateAll();
}

int32_t TLumStrings::IndexOf(std::string_view s) const {
    for (int32_t i = 0, n = Count(); i < n; ++i) {
        if (slots_[i].view() == s) return i;
    }
    return -1;
}

void TLumStrings::AddStrings(const std::vector<std::string>& list) {
    int64_t wanted = int64_t{Count()} + static_cast<int64_t>(list.size());
    if (wanted > kMaxListSize) Error();
    SetCapacity(static_cast<int32_t>(wanted));
    for (const std::string& s : list) Add(s);
}

void TLumStrings::Assign(const std::vector<std::string>& list) {
    Clear();
    AddStrings(list);
}

void TLumStrings::NoteInserted(int32_t index) {
    if (index == Count() - 1)
        lineEnds_.NoteAppended(slots_);
    else
        lineEnds_.NoteInserted(index, EndsWithLineBreak(slots_[index].view()));
}

int32_t TLumStrings::CountLineEndsBefore(int32_t index) const {
    return lineEnds_.CountBefore(slots_, index);
}

int32_t TLumStrings::IndexAfterLineEnds(int32_t n) const {
    return lineEnds_.IndexAfter(slots_, n);
}

void TLumStrings::PlanCapacity(std::size_t bytes) {
    int64_t wanted = int64_t{Count()} + static_cast<int64_t>(bytes / 28);
    SetCapacity(static_cast<int32_t>(std::min<int64_t>(wanted, kMaxListSize)));
}

void TLumStrings::GrowPlanned() {
    int32_t count = Count();
    if (count >= kMaxListSize) Error();
    int64_t wanted = int64_t{count} + std::max(count / 2, 32);
    slots_.Reallocate(static_cast<int32_t>(std::min<int64_t>(wanted, kMaxListSize)));
}

void TLumStrings::AppendPlanned(LineEntry&& s) {
    InsertPlanned(Count(), std::move(s));
}

void TLumStrings::InsertPlanned(int32_t index, LineEntry&& s) {
    if (Count() == Capacity()) GrowPlanned();
    slots_.Insert(index, std::move(s));
    NoteInserted(index);
}

}  // namespace zentabo
