// Loading and saving of the line store: files in any of the three line-break styles,
// always stored with CR LF, and streams.
#include <cstring>
#include <filesystem>
#include <istream>
#include <ostream>

#include "store/FileHandle.h"
#include "store/LineSplitter.h"
#include "store/LumEditSub.h"
#include "store/LumStrings.h"
#include "store/SeparatedLineReader.h"

namespace zentabo {
namespace {

constexpr std::size_t kSaveBuffer = 8192;

// The file's size as a plan for the reader; 0 when it cannot be told (a pipe).
std::size_t SizeHint(const std::string& fileName) {
    std::error_code ec;
    auto size = std::filesystem::file_size(fileName, ec);
    return ec ? 0 : static_cast<std::size_t>(size);
}

}  // namespace

void TLumStrings::LoadFromFile(const std::string& fileName) {
    // Both can fail without touching the store.
    int style = DetectLineBreakStyle(fileName);
    FileHandle file = OpenForReading(fileName);
    Clear();
    switch (style) {
        case kBreakCrLf:
            LoadCrLf(file, fileName);
            break;
        case kBreakCr:
            LoadSeparated(file, fileName, '\r');
            break;
        case kBreakLf:
            LoadSeparated(file, fileName, '\n');
            break;
        default:
            Add(std::string(1, '\0'));
            break;
    }
}

void TLumStrings::LoadCrLf(const FileHandle& file, const std::string& fileName) {
    std::string data;
    {
        // Read at the size the file has now; keep reading should it have grown.
        std::size_t hint = SizeHint(fileName);
        data.reserve(hint + 1);  // room for the NUL below without a second block
        data.resize(hint);
        data.resize(ReadSome(file, fileName, data.data(), hint));
        char chunk[16384];
        while (std::size_t got = ReadSome(file, fileName, chunk, sizeof chunk))
            data.append(chunk, got);
    }
    PlanCapacity(data.size());
    data.push_back('\0');
    SplitLines(data, true, [this](std::string&& piece) { AppendPlanned(std::move(piece)); });
    // Release the file's bytes before trimming the slots, so both blocks never meet.
    std::string().swap(data);
    SetCapacity(Count());
}

void TLumStrings::LoadSeparated(const FileHandle& file, const std::string& fileName,
                                char separator) {
    PlanCapacity(SizeHint(fileName));
    std::string rest = ReadSeparatedLines(
        file, fileName, separator, [this](std::string&& line) { AppendPlanned(std::move(line)); });
    if (rest.empty()) {
        // The file ended with a break, or held nothing but NUL bytes.
        AppendPlanned(std::string(1, '\0'));
    } else {
        // The last line without a break carries the end-of-text marker itself; built at
        // its exact size, as the reader's buffer for it may be far larger.
        std::string last(rest.size() + 1, '\0');
        std::memcpy(last.data(), rest.data(), rest.size());
        std::string().swap(rest);
        AppendPlanned(std::move(last));
    }
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
    const std::string& tail = slots_[last];
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
