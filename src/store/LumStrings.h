#pragma once

// TLumStrings: the editor's line store. One entry per display line; every entry keeps
// its own line-end marker (CR LF, the end-of-text NUL, or none for a wrapped piece), so
// the concatenation of all entries is exactly the text. Entries made together (a file
// loaded, a text set or rewritten at once) share one block of bytes.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/FileHandle.h"
#include "store/LineCutting.h"
#include "store/LineEndIndex.h"
#include "store/LineEntry.h"
#include "store/SlotArray.h"
#include "store/StoreErrors.h"
#include "store/TaskProgress.h"

namespace zentabo {

class TLumStrings {
public:
    static constexpr int32_t kMaxListSize = 0x7FFFFFF;

    TLumStrings() = default;
    virtual ~TLumStrings();
    TLumStrings(const TLumStrings&) = delete;
    TLumStrings& operator=(const TLumStrings&) = delete;

    int32_t Count() const { return slots_.size(); }
    int32_t Capacity() const { return slots_.capacity(); }

    virtual std::string GetText() const;
    // The bytes from offset `from` of entry `first` to offset `to` of entry `last`, read
    // in place when the entries lie one behind the other in memory (made together and
    // not edited since); nullopt otherwise. Valid until the entries change.
    std::optional<std::string_view> BytesInPlace(int32_t first, std::size_t from, int32_t last,
                                                 std::size_t to) const;
    virtual void SetText(std::string_view text);
    virtual void SetCount(int32_t n);
    virtual void SetCapacity(int32_t n);
    virtual void SetCommaText(std::string_view text);
    virtual std::string GetCommaText() const;
    [[noreturn]] virtual void Error() const;
    virtual void Put(int32_t index, std::string_view s);
    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName) const;
    virtual void SaveToStream(std::ostream& stream) const;
    virtual void LoadFromStream(std::istream& stream);
    virtual int32_t IndexOf(std::string_view s) const;

    // LoadFromFile that stores every logical line as the entries shaping cuts it into
    // (the editor's word wrap, while the file is read, so the text is never held
    // unwrapped as well). False when the file was too large to shape: it is then loaded
    // as LoadFromFile loads it.
    bool LoadFromFile(const std::string& fileName, const LineShaping& shaping);
    // Heard by the loads from a file while they read and build the lines; one that
    // says stop ends the load with TaskCancelled, the store then partly filled.
    void SetLoadProgress(TaskProgress progress) { loadProgress_ = std::move(progress); }

    int32_t Add(std::string_view s);
    void Insert(int32_t index, std::string_view s);
    void Delete(int32_t index);
    // Valid until the entry changes or goes away.
    std::string_view Get(int32_t index) const;
    void Clear();
    // text may be one of the entries: these copy it before anything changes.
    void InsertText(int32_t& index, std::string_view text);
    void AddStrings(const std::vector<std::string>& list);
    void Assign(const std::vector<std::string>& list);
    // Replaces the count entries from index with entries, whose strings move in (the
    // vector is left empty); the removed entries' bytes are appended to removed, each
    // entry freed as soon as it is copied, so a large range is never held twice.
    void ReplaceEntries(int32_t index, int32_t count, std::vector<std::string>& entries,
                        std::string& removed);
    // The same with the new entries cut from text by lengths (which add up to its size);
    // they share text's bytes, which move in.
    void ReplaceEntries(int32_t index, int32_t count, std::string&& text,
                        const std::vector<uint32_t>& lengths, std::string& removed);
    // Every entry replaced by the pieces of text that lengths cut, sharing its bytes.
    void SetEntries(std::string&& text, const std::vector<uint32_t>& lengths);

    // Bytes for new entries: `pieces` entries cut from bytes from offset `from` on (the
    // bytes behind them are not used).
    struct EntrySource {
        std::string bytes;
        std::size_t from = 0;
        std::size_t pieces = 0;
    };
    // ReplaceEntries with the new entries taken from the sources in order, each source's
    // bytes moving in and shared by its entries; lengths holds every new entry's length.
    // A large text then becomes entries without a copy, its edges in sources of their own.
    void ReplaceEntries(int32_t index, int32_t count, std::vector<EntrySource>& sources,
                        const std::vector<uint32_t>& lengths, std::string& removed);

    // Position helpers for the editor's display/logical conversions. Both must be fast
    // (far below a full scan) for indexes near the most recent changes, because the
    // editor asks them on every keystroke in texts of millions of entries.
    // The number of entries before index that end with CR LF.
    int32_t CountLineEndsBefore(int32_t index) const;
    // The index of the entry that follows the n-th entry ending with CR LF (n >= 0; 0 gives
    // entry 0), or the last entry when there are fewer than n such entries.
    int32_t IndexAfterLineEnds(int32_t n) const;
    // Brings those helpers' index up to the end of the text now: after a change all
    // over the text, the scan is paid by that change and not by the next keystroke.
    void IndexAllLineEnds() const { CountLineEndsBefore(Count()); }

private:
    // Raises the index error unless 0 <= index < limit.
    void CheckIndex(int32_t index, int32_t limit) const;
    // Keeps the line-end index right after an entry was inserted at index.
    void NoteInserted(int32_t index);
    // The growth rule of Add and Insert for a full slot array.
    void Grow();
    // Loading and splitting plan their size from the byte count; when the plan falls
    // short they grow by half, not by 1/128, so that a text of very short lines does
    // not reallocate the array hundreds of times. The spare slots go at the end anyway.
    void PlanCapacity(std::size_t bytes);
    void AppendPlanned(LineEntry&& s);
    void InsertPlanned(int32_t index, LineEntry&& s);
    void GrowPlanned();
    void LoadStyled(const std::string& fileName, const LineShaping* shaping);
    void LoadCrLf(const FileHandle& file, const std::string& fileName, const LineShaping* shaping);
    void LoadSeparated(const FileHandle& file, const std::string& fileName, char separator,
                       const LineShaping* shaping);
    // Sets the capacity to Count() + n exactly, or raises the index error beyond the limit.
    void ReserveExactly(std::size_t n);
    // Appends the entries shaping cuts line into, borrowed from block; lengths is
    // scratch space.
    void AppendShaped(SharedBytes* block, std::string_view line, const LineShaping& shaping,
                      std::vector<uint32_t>& lengths);
    // Bytes that new entries borrow: `pieces` entries from data on, in block.
    struct PieceRun {
        SharedBytes* block;
        const char* data;
        std::size_t pieces;
    };
    // Replaces count entries from index with the pieces of the runs, in order, cut by
    // lengths; removed, when given, receives the bytes of the entries replaced.
    void ReplaceWithPieces(int32_t index, int32_t count, const std::vector<PieceRun>& runs,
                           const std::vector<uint32_t>& lengths, std::string* removed);

    // Reports the load's progress from `from` to `to` of the whole as `done` of `total`
    // bytes are handled.
    void ReportLoad(double from, double to, std::size_t done, std::size_t total) const;

    SlotArray slots_;
    LineEndIndex lineEnds_;
    TaskProgress loadProgress_;
};

}  // namespace zentabo
