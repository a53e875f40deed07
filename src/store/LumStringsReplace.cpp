// Replacing a run of entries at once, for edits that rewrite many lines together.
#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

#include "store/LumStrings.h"

namespace zentabo {
namespace {

void CheckLengths(const std::vector<uint32_t>& lengths, std::size_t size) {
    std::size_t total = 0;
    for (uint32_t n : lengths) total += n;
    if (total != size) throw std::logic_error("entry lengths that do not add up to the text");
}

// The blocks whose every borrower lies in a run of entries, met in the order of their
// bytes: once an entry's bytes are copied out, those blocks may give back the pages
// before them, so a large range and its copy are not held in full at once.
class ReleasableBlocks {
public:
    static constexpr std::size_t kMaxBlocks = 16;

    ReleasableBlocks(const SlotArray& slots, int32_t index, int32_t count) {
        for (int32_t i = index; i < index + count; ++i) {
            const LineEntry& e = slots[i];
            if (!e.block()) continue;
            Seen* s = Find(e.block());
            if (!s) {
                if (seen_.size() == kMaxBlocks) continue;
                seen_.push_back({e.block(), 0, nullptr, true});
                s = &seen_.back();
            }
            ++s->entries;
            if (e.data() < s->end) s->ordered = false;
            s->end = e.data() + e.size();
        }
        for (Seen& s : seen_) s.releasable = s.ordered && s.entries == s.block->borrowers();
    }

    // The entry's bytes are copied: its block may release what lies before their end.
    void Copied(const LineEntry& e) {
        if (!e.block()) return;
        const Seen* s = Find(e.block());
        if (s && s->releasable) e.block()->ReleaseBefore(e.data() + e.size());
    }

private:
    struct Seen {
        SharedBytes* block;
        std::size_t entries;
        const char* end;
        bool ordered;
        bool releasable = false;
    };
    Seen* Find(const SharedBytes* block) {
        for (Seen& s : seen_)
            if (s.block == block) return &s;
        return nullptr;
    }
    std::vector<Seen> seen_;
};

// Below this many entries a range is not worth looking over for pages to give back.
constexpr int32_t kReleaseFrom = 4096;

}  // namespace

void TLumStrings::ReplaceEntries(int32_t index, int32_t count, std::vector<std::string>& entries,
                                 std::string& removed) {
    std::vector<uint32_t> lengths;
    lengths.reserve(entries.size());
    std::size_t bytes = 0;
    for (const std::string& e : entries) {
        lengths.push_back(static_cast<uint32_t>(e.size()));
        bytes += e.size();
    }
    std::string text;
    text.reserve(bytes);
    for (std::string& e : entries) {
        text += e;
        std::string().swap(e);
    }
    entries.clear();
    ReplaceEntries(index, count, std::move(text), lengths, removed);
}

void TLumStrings::ReplaceEntries(int32_t index, int32_t count, std::string&& text,
                                 const std::vector<uint32_t>& lengths, std::string& removed) {
    CheckLengths(lengths, text.size());
    std::vector<EntrySource> sources(1);
    sources[0].bytes = std::move(text);
    sources[0].pieces = lengths.size();
    ReplaceEntries(index, count, sources, lengths, removed);
}

void TLumStrings::ReplaceEntries(int32_t index, int32_t count, std::vector<EntrySource>& sources,
                                 const std::vector<uint32_t>& lengths, std::string& removed) {
    std::size_t at = 0;
    for (const EntrySource& source : sources) {
        if (source.from > source.bytes.size() || source.pieces > lengths.size() - at)
            throw std::logic_error("entry source beyond its bytes or the lengths");
        std::size_t bytes = 0;
        for (std::size_t k = at; k < at + source.pieces; ++k) bytes += lengths[k];
        if (bytes > source.bytes.size() - source.from)
            throw std::logic_error("entry lengths beyond the bytes of their source");
        at += source.pieces;
    }
    if (at != lengths.size()) throw std::logic_error("entry lengths beyond the sources");
    std::vector<std::unique_ptr<BlockHold>> holds;
    std::vector<PieceRun> runs;
    for (EntrySource& source : sources) {
        auto* block = new SharedString(std::move(source.bytes));
        holds.push_back(std::make_unique<BlockHold>(block));
        runs.push_back({block, block->bytes.data() + source.from, source.pieces});
    }
    sources.clear();
    ReplaceWithPieces(index, count, runs, lengths, &removed);
}

void TLumStrings::SetEntries(std::string&& text, const std::vector<uint32_t>& lengths) {
    CheckLengths(lengths, text.size());
    auto* block = new SharedString(std::move(text));
    BlockHold hold(block);
    Clear();
    ReplaceWithPieces(0, 0, {{block, block->bytes.data(), lengths.size()}}, lengths, nullptr);
    // A new text's line ends are indexed now, while it is being made, and not by the
    // first keystroke.
    IndexAllLineEnds();
}

void TLumStrings::ReplaceWithPieces(int32_t index, int32_t count, const std::vector<PieceRun>& runs,
                                    const std::vector<uint32_t>& lengths, std::string* removed) {
    CheckIndex(index, Count() + 1);
    if (count < 0 || count > Count() - index) Error();
    const int64_t newCount = static_cast<int64_t>(lengths.size());
    const int64_t added = newCount - count;
    if (int64_t{Count()} + added > kMaxListSize) Error();
    // Everything that may fail is done before the first entry changes.
    if (removed) {
        std::size_t bytes = 0;
        for (int32_t i = index; i < index + count; ++i) bytes += slots_[i].size();
        removed->reserve(removed->size() + bytes);
    }
    // Grown as Add and Insert grow, at least, so that edits that follow do not
    // reallocate the array once each.
    if (added > 0 && int64_t{Count()} + added > Capacity()) {
        const int64_t wanted =
            int64_t{Count()} + std::max<int64_t>(added, std::max(Count() / 128, 32));
        slots_.Reallocate(static_cast<int32_t>(std::min<int64_t>(wanted, kMaxListSize)));
    }
    // Each entry is freed as soon as its bytes are taken, so a large range is never
    // held twice by the entries themselves.
    std::optional<ReleasableBlocks> releasable;
    if (removed && count >= kReleaseFrom) releasable.emplace(slots_, index, count);
    for (int32_t i = index; i < index + count; ++i) {
        if (removed) removed->append(slots_[i].view());
        if (releasable) releasable->Copied(slots_[i]);
        slots_[i] = LineEntry();
    }
    const int32_t common = static_cast<int32_t>(std::min<int64_t>(count, newCount));
    // The runs in order, each from its start.
    std::size_t run = 0, left = runs.empty() ? 0 : runs[0].pieces;
    const char* at = runs.empty() ? nullptr : runs[0].data;
    auto piece = [&](int32_t i) {
        while (left == 0) {
            ++run;
            left = runs[run].pieces;
            at = runs[run].data;
        }
        const uint32_t n = lengths[static_cast<std::size_t>(i)];
        LineEntry e(runs[run].block, at, n);
        at += n;
        --left;
        return e;
    };
    for (int32_t i = 0; i < common; ++i) slots_[index + i] = piece(i);
    for (int32_t i = common; i < newCount; ++i) slots_.Insert(index + i, piece(i));
    for (int32_t i = count - 1; i >= newCount; --i) slots_.Erase(index + i);
    lineEnds_.InvalidateFrom(index);
}

}  // namespace zentabo
