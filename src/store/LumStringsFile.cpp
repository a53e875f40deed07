// Loading and saving of the line store: files in any of the three line-break styles,
// always stored with CR LF, and streams.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <istream>
#include <ostream>

#include <stdexcept>

#include "store/FileHandle.h"
#include "store/LineCutting.h"
#include "store/LumEditSub.h"
#include "store/LumStrings.h"
#include "store/ReadBuffer.h"
#include "store/SeparatedLineReader.h"

namespace zentabo {
namespace {

constexpr std::size_t kSaveBuffer = 8192;
// Bytes between two progress reports of a load: often enough for a live bar.
constexpr std::size_t kProgressStep = std::size_t{16} << 20;
// The share of a load spent reading the file; building the lines takes the rest.
constexpr double kReadShare = 0.4;

// The file's size as a plan for the reader; 0 when it cannot be told (a pipe).
std::size_t SizeHint(const std::string& fileName) {
    std::error_code ec;
    auto size = std::filesystem::file_size(fileName, ec);
    return ec ? 0 : static_cast<std::size_t>(size);
}

}  // namespace

void TLumStrings::ReportLoad(double from, double to, std::size_t done, std::size_t total) const {
    ReportProgress(loadProgress_, from + (to - from) * (total ? double(done) / total : 1.0));
}

void TLumStrings::LoadFromFile(const std::string& fileName) {
    LoadStyled(fileName, nullptr);
}

bool TLumStrings::LoadFromFile(const std::string& fileName, const LineShaping& shaping) {
    // Entry lengths are counted in 32 bits.
    if (SizeHint(fileName) >= UINT32_MAX) {
        LoadStyled(fileName, nullptr);
        return false;
    }
    LoadStyled(fileName, &shaping);
    return true;
}

void TLumStrings::LoadStyled(const std::string& fileName, const LineShaping* shaping) {
    // Both can fail without touching the store.
    int style = DetectLineBreakStyle(fileName);
    FileHandle file = OpenForReading(fileName);
    // Asked once before the store is touched, so even a short load can be stopped.
    ReportProgress(loadProgress_, 0.0);
    Clear();
    switch (style) {
        case kBreakCrLf:
            LoadCrLf(file, fileName, shaping);
            break;
        case kBreakCr:
            LoadSeparated(file, fileName, '\r', shaping);
            break;
        case kBreakLf:
            LoadSeparated(file, fileName, '\n', shaping);
            break;
        default:
            Add(std::string(1, '\0'));
            break;
    }
}

void TLumStrings::ReserveExactly(std::size_t n) {
    if (n > static_cast<std::size_t>(kMaxListSize - Count())) Error();
    SetCapacity(Count() + static_cast<int32_t>(n));
}

void TLumStrings::LoadCrLf(const FileHandle& file, const std::string& fileName,
                           const LineShaping* shaping) {
    // The buffer read becomes the entries' bytes: the file is held once, and loading
    // allocates nothing per line.
    auto* block = new SharedReadBuffer;
    BlockHold hold(block);
    ReadBuffer& buffer = block->buffer;
    TaskProgress reading;
    if (loadProgress_) reading = [this](double f) { return loadProgress_(f * kReadShare); };
    buffer.ReadAll(file, fileName, SizeHint(fileName), reading);
    buffer.data()[buffer.size()] = '\0';  // the end-of-text marker ends the last line
    const std::string_view text(buffer.data(), buffer.size() + 1);
    std::size_t nextReport = kProgressStep;
    auto append = [&](std::size_t at, std::size_t n) {
        AppendPlanned(LineEntry(block, text.data() + at, n));
        if (loadProgress_ && at + n >= nextReport) {
            ReportLoad(kReadShare, 1.0, at + n, text.size());
            nextReport = at + n + kProgressStep;
        }
    };
    if (!shaping) {
        // One pass over the text: the slots are planned from its size, not counted.
        PlanCapacity(text.size());
        ForEachLine(text, [&](std::string_view line) {
            append(static_cast<std::size_t>(line.data() - text.data()), line.size());
        });
        SetCapacity(Count());
        return;
    }
    std::vector<std::vector<uint32_t>> parts = CutLines(text, *shaping);
    ReportLoad(kReadShare, 1.0, 0, text.size());
    std::size_t total = 0;
    for (const auto& lengths : parts) total += lengths.size();
    ReserveExactly(total);
    std::size_t at = 0;
    for (auto& lengths : parts) {
        for (uint32_t n : lengths) {
            append(at, n);
            at += n;
        }
        std::vector<uint32_t>().swap(lengths);
    }
}

namespace {

// Gathers lines into shared blocks of about kBytes, so that a file converted line by
// line costs one allocation per block, not one per line. A block never grows once
// entries borrow from it.
class BlockFiller {
public:
    static constexpr std::size_t kBytes = std::size_t{4} << 20;

    // A copy of s in the current block, or in a new one when it does not fit.
    std::string_view Put(std::string_view s) {
        if (!block_ || block_->bytes.capacity() - block_->bytes.size() < s.size()) Start(s.size());
        const std::size_t at = block_->bytes.size();
        block_->bytes.append(s);
        return std::string_view(block_->bytes).substr(at);
    }
    SharedBytes* block() const { return block_; }

    ~BlockFiller() {
        if (block_) SharedBytes::Return(block_);
    }

private:
    void Start(std::size_t atLeast) {
        auto* next = new SharedString(std::string());
        next->Borrow();
        if (block_) SharedBytes::Return(block_);
        block_ = next;
        block_->bytes.reserve(std::max(kBytes, atLeast));
    }

    SharedString* block_ = nullptr;
};

}  // namespace

void TLumStrings::AppendShaped(SharedBytes* block, std::string_view line,
                               const LineShaping& shaping, std::vector<uint32_t>& lengths) {
    lengths.clear();
    shaping.cut(line, lengths);
    std::size_t at = 0;
    for (uint32_t n : lengths) {
        if (at + n > line.size()) throw std::logic_error("line cut into pieces of another length");
        AppendPlanned(LineEntry(block, line.data() + at, n));
        at += n;
    }
    if (at != line.size()) throw std::logic_error("line cut into pieces of another length");
}

void TLumStrings::LoadSeparated(const FileHandle& file, const std::string& fileName, char separator,
                                const LineShaping* shaping) {
    const std::size_t size = SizeHint(fileName);
    PlanCapacity(size);
    std::vector<uint32_t> lengths;
    BlockFiller filler;
    std::size_t done = 0, nextReport = kProgressStep;
    auto append = [&](SharedBytes* block, std::string_view line) {
        if (shaping)
            AppendShaped(block, line, *shaping, lengths);
        else
            AppendPlanned(LineEntry(block, line.data(), line.size()));
    };
    auto add = [&](std::string&& line) {
        done += line.size();
        if (loadProgress_ && done >= nextReport) {
            ReportLoad(0.0, 1.0, std::min(done, size), size);
            nextReport = done + kProgressStep;
        }
        const std::string_view kept = filler.Put(line);
        append(filler.block(), kept);
    };
    std::string rest = ReadSeparatedLines(file, fileName, separator, add);
    // The last line carries the end-of-text marker; a file that ended with a break, or
    // held nothing but NUL bytes, gets it alone. It keeps its own bytes, which may be
    // the whole file: they are not copied again.
    rest += '\0';
    auto* last = new SharedString(std::move(rest));
    BlockHold hold(last);
    append(last, last->bytes);
    SetCapacity(Count());
}

void TLumStrings::SaveToFile(const std::string& fileName) const {
    // Checked before the file is created, so an empty store never truncates a file.
    if (Count() == 0) Error();
    FileHandle file = OpenForWriting(fileName);
    char buf[kSaveBuffer];
    std::size_t used = 0;
    auto put = [&](const char* p, std::size_t n) {
        if (used + n > kSaveBuffer) {
            WriteAll(file, fileName, buf, used);
            used = 0;
            if (n >= kSaveBuffer) {
                WriteAll(file, fileName, p, n);
                return;
            }
        }
        std::memcpy(buf + used, p, n);
        used += n;
    };
    int32_t last = Count() - 1;
    for (int32_t i = 0; i < last; ++i) put(slots_[i].data(), slots_[i].size());
    const std::string_view tail = slots_[last].view();
    put(tail.data(), HasEndMark(tail) ? tail.size() - 1 : tail.size());
    WriteAll(file, fileName, buf, used);
    CloseAfterWriting(file, fileName);
}

void TLumStrings::SaveToStream(std::ostream& stream) const {
    for (int32_t i = 0, n = Count(); i < n && stream; ++i)
        stream.write(slots_[i].data(), static_cast<std::streamsize>(slots_[i].size()));
    if (!stream) throw FileError("cannot write to the stream");
}

void TLumStrings::LoadFromStream(std::istream& stream) {
    Clear();
    std::string data;
    char chunk[16384];
    while (stream) {
        stream.read(chunk, sizeof chunk);
        data.append(chunk, static_cast<std::size_t>(stream.gcount()));
    }
    if (stream.bad()) throw FileError("cannot read from the stream");
    if (!data.empty()) SetText(data);
}

}  // namespace zentabo
