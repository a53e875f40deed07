#include "app/PageStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zentabo {
namespace {

// File times are compared as the packed DOS date-time the format was made with:
// whole two-second steps.
std::int64_t TwoSecondStep(std::int64_t seconds) {
    return seconds >= 0 ? seconds / 2 : -((-seconds + 1) / 2);
}

bool BoundFileIsNewer(const std::string& fileName, const std::string& pageStorePath,
                      const FileTimeFunction& fileTime) {
    if (fileName.empty() || !fileTime) return false;
    std::optional<std::int64_t> fileAt = fileTime(fileName);
    if (!fileAt) return false;
    std::optional<std::int64_t> storeAt = fileTime(pageStorePath);
    // Without the store's own time the stored text is the safer choice.
    if (!storeAt) return false;
    return TwoSecondStep(*fileAt) > TwoSecondStep(*storeAt);
}

std::string KeptName(const std::filesystem::path& path, std::time_t now, int attempt) {
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = path.stem().string() + ".damaged-" + stamp;
    if (attempt > 1) name += "-" + std::to_string(attempt);
    return (path.parent_path() / (name + path.extension().string())).string();
}

}  // namespace

std::optional<std::int64_t> FileModifiedTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtime);
}

bool WritePage(TaggedValueWriter& writer, const PageStorePage& page) {
    const bool saveMode = page.SaveMode();
    bool ok = writer.WriteString(page.Caption());
    ok = ok && writer.WriteString(page.FileName());
    writer.WriteBoolean(saveMode);
    return ok && writer.WriteString(saveMode ? page.Text() : std::string());
}

bool ReadPage(TaggedValueReader& reader, PageStorePage& page, const std::string& pageStorePath,
              const FileTimeFunction& fileTime) {
    std::string value;
    if (!reader.ReadString(value)) return false;
    page.SetCaption(value);
    if (!reader.ReadString(value)) return false;
    page.SetFileName(value);
    const std::string fileName = value;
    bool saveMode = false;
    if (!reader.ReadBoolean(saveMode)) return false;
    page.SetSaveMode(saveMode);
    if (!reader.ReadString(value)) return false;
    page.SetText(std::move(value));
    if (BoundFileIsNewer(fileName, pageStorePath, fileTime)) page.LoadFile(fileName);
    return true;
}

FileResult SavePagesToStream(PageStoreHost& host, std::string& out) {
    TaggedValueWriter writer(out);
    writer.WriteString(kPageStoreSignature);
    const int count = host.PageCount();
    writer.WriteInteger(count);
    for (int i = 0; i < count; ++i) {
        if (!WritePage(writer, host.Page(i))) {
            return FileResult::Failure("page " + std::to_string(i + 1) +
                                       ": text too long to store (2 GiB at most)");
        }
    }
    return {};
}

PageStoreReadResult LoadPagesFromStream(PageStoreHost& host, std::string_view data,
                                        const std::string& pageStorePath,
                                        const FileTimeFunction& fileTime) {
    PageStoreReadResult result;
    TaggedValueReader reader(data);
    std::string signature;
    if (!reader.ReadString(signature) || signature != kPageStoreSignature) return result;
    std::int32_t count = 0;
    if (!reader.ReadInteger(count)) return result;
    for (std::int32_t i = 0; i < count; ++i) {
        PageStorePage& page = host.CreatePage();
        ++result.pagesCreated;
        if (!ReadPage(reader, page, pageStorePath, fileTime)) return result;
    }
    result.complete = reader.AtEnd();
    return result;
}

FileResult SavePageStore(PageStoreHost& host, const std::string& path,
                         const WriteFaultInjector& fault) {
    std::string buffer;
    if (FileResult r = SavePagesToStream(host, buffer); !r) return r;
    return WriteFileAtomically(path, buffer, fault);
}

PageStoreLoadResult LoadPageStore(PageStoreHost& host, const std::string& path,
                                  const FileTimeFunction& fileTime) {
    PageStoreLoadResult result;
    ReadFileResult file = ReadWholeFile(path);
    result.found = file.exists;
    result.status = file.status;
    if (!file.exists || !file.status) return result;
    result.read = LoadPagesFromStream(host, file.data, path, fileTime);
    return result;
}

KeepAsideResult KeepPageStoreAside(const std::string& path, std::time_t now) {
    KeepAsideResult result;
    std::filesystem::path source(path);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string target = KeptName(source, now, attempt);
        // A second name for the same file: instant, and the save that follows
        // replaces the original name only, never the kept data.
        if (::link(path.c_str(), target.c_str()) == 0) {
            result.keptPath = target;
            return result;
        }
        if (errno == EEXIST) continue;
        if (errno == ENOENT) {
            result.status =
                FileResult::Failure("cannot keep " + path + ": " + std::strerror(errno));
            return result;
        }
        // Where the file system has no hard links, copy instead.
        std::error_code ec;
        if (std::filesystem::exists(target, ec)) continue;
        ReadFileResult data = ReadWholeFile(path);
        if (!data.exists || !data.status) {
            result.status = data.exists
                                ? data.status
                                : FileResult::Failure("cannot keep " + path + ": the file is gone");
            return result;
        }
        result.status = WriteFileAtomically(target, data.data);
        if (result.status) result.keptPath = target;
        return result;
    }
    result.status = FileResult::Failure("cannot keep " + path + ": too many kept copies");
    return result;
}

}  // namespace zentabo
