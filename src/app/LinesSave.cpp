#include "app/LinesSave.h"

#include <unistd.h>

#include <cerrno>

#include "store/LumEditSub.h"
#include "store/StoreErrors.h"

namespace zentabo {

namespace {
// Bytes gathered before one write, and so between two progress reports.
constexpr std::size_t kWriteStep = std::size_t{4} << 20;
// A file the user may write in a folder they may not: no temporary file can stand
// beside it, so it is written in place as before rather than not at all.
bool OnlyWritableInPlace(const AtomicFileWriter& writer, const std::string& path) {
    const int err = writer.CreateError();
    return (err == EACCES || err == EPERM) && ::access(path.c_str(), W_OK) == 0;
}

FileResult SaveInPlace(const TLumStrings& lines, const std::string& path) {
    try {
        lines.SaveToFile(path);
        return {};
    } catch (const FileError& e) {
        return FileResult::Failure(e.what(), "書き込み中にエラーが発生しました");
    }
}

}  // namespace

FileResult SaveLinesAtomically(const TLumStrings& lines, const std::string& path,
                               const TaskProgress& progress, const WriteFaultInjector& fault) {
    const int32_t count = lines.Count();
    // Checked before anything is written: an empty store never replaces a file.
    if (count == 0) return FileResult::Failure("nothing to save to " + path);
    AtomicFileWriter writer(path, fault);
    if (OnlyWritableInPlace(writer, path)) return SaveInPlace(lines, path);
    std::string chunk;
    chunk.reserve(kWriteStep);
    for (int32_t i = 0; i < count; ++i) {
        const std::string_view entry = lines.Get(i);
        const bool last = i == count - 1;
        chunk.append(entry, 0, last && HasEndMark(entry) ? entry.size() - 1 : entry.size());
        if (chunk.size() < kWriteStep && !last) continue;
        if (FileResult written = writer.Write(chunk); !written) return written;
        chunk.clear();
        if (progress && !progress(double(i + 1) / count)) {
            FileResult stopped = FileResult::Failure("saving " + path + " was cancelled");
            stopped.cancelled = true;
            return stopped;  // the writer removes its temporary file
        }
    }
    return writer.Commit();
}

}  // namespace zentabo
