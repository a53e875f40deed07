#include "app/OpenableFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/MemoryLimits.h"

namespace zentabo {

namespace {

MemoryProbe& Probe() {
    static MemoryProbe probe;
    return probe;
}

std::string Megabytes(std::uint64_t bytes) {
    constexpr std::uint64_t kMb = 1024 * 1024;
    return std::to_string(bytes / kMb + (bytes % kMb != 0));  // rounded up, never past the top
}

}  // namespace

FileResult CheckOpenableFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        return FileResult::Failure("cannot open " + path + ": " + std::strerror(err),
                                   std::strerror(err));
    }
    if (S_ISDIR(st.st_mode))
        return FileResult::Failure(path + " is a folder", std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        return FileResult::Failure(path + " is not a regular file", "通常のファイルではありません");
    return {};
}

FileResult CheckFitsInMemory(std::uint64_t fileSize, std::optional<std::uint64_t> available) {
    if (!available) return {};
    // Divided, not multiplied: no file size can overflow the comparison.
    if (fileSize <= *available / kLoadMemoryFactor) return {};
    const std::uint64_t needed =
        fileSize > UINT64_MAX / kLoadMemoryFactor ? UINT64_MAX : fileSize * kLoadMemoryFactor;
    return FileResult::Failure(
        "not enough memory for a file of " + std::to_string(fileSize) + " bytes",
        "ファイルが大きすぎるため開けません。開くには約 " + Megabytes(needed) +
            " MB のメモリが必要ですが、使えるのは約 " + Megabytes(*available) + " MB です。");
}

FileResult CheckFileFitsInMemory(const std::string& path) {
    struct stat st {};
    // A file that cannot be looked at is reported by the load itself.
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    const MemoryProbe& probe = Probe();
    FileResult fits = CheckFitsInMemory(static_cast<std::uint64_t>(st.st_size),
                                        probe ? probe() : AvailableMemoryBytes());
    if (!fits) fits.error = path + ": " + fits.error;
    return fits;
}

void SetMemoryProbe(MemoryProbe probe) {
    Probe() = std::move(probe);
}

}  // namespace zentabo
