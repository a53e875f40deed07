#include "app/PageStore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "store/Cp932Codec.h"
#include "store/LumEditSub.h"
#include "store/LumStrings.h"

namespace zentabo {
namespace {

// File times are compared as the packed DOS date-time the format was made with:
// whole two-second steps.
std::int64_t TwoSecondStep(std::int64_t seconds) {
    return seconds >= 0 ? seconds / 2 : -((-seconds + 1) / 2);
}

bool BoundFileIsNewer(std::int64_t fileAt, const BoundFileCheck& check) {
    std::optional<std::int64_t> storeAt = check.fileTime(check.pageStorePath);
    // Without the store's own time the stored text is the safer choice.
    if (!storeAt) return false;
    return TwoSecondStep(fileAt) > TwoSecondStep(*storeAt);
}

// A path that code page 932 holds is stored in it, as it always was; any other path
// (characters the code page lacks, bytes that are no UTF-8) is stored as its own
// bytes behind a NUL, which no path can hold, so the two forms never meet.
constexpr char kRawPathMark = '\0';

std::string StoredFileName(const std::string& path) {
    if (path.find('\0') == std::string::npos) {
        Cp932EncodeResult cp932 = Utf8ToCp932(path);
        if (cp932.ok() && Cp932ToUtf8(cp932.bytes) == path) return std::move(cp932.bytes);
    }
    return kRawPathMark + path;
}

std::string FileNameFromStore(const std::string& stored) {
    if (!stored.empty() && stored[0] == kRawPathMark) return stored.substr(1);
    return Cp932ToUtf8(stored);
}

std::string ReasonOf(const std::string& message, const std::string& path) {
    const std::string lead = path + ": ";
    const std::size_t at = message.find(lead);
    return at == std::string::npos ? message : message.substr(at + lead.size());
}

// The file as the editor loads it, or why it cannot be read.
std::unique_ptr<TLumStrings> LoadedFile(const std::string& path, std::string& reason) {
    try {
        auto lines = std::make_unique<TLumStrings>();
        lines->LoadFromFile(path);
        return lines;
    } catch (const std::exception& e) {
        reason = ReasonOf(e.what(), path);
        return nullptr;
    }
}

// Whether the store's text less a final end mark is text, without building that text
// (a large file is then not held a second time): the store holds text and the mark, or
// text alone when it does not end with a NUL.
bool HoldsText(const TLumStrings& lines, std::string_view text) {
    std::size_t at = 0;
    for (int32_t i = 0; i < lines.Count(); ++i) {
        const std::string_view e = lines.Get(i);
        if (e.empty()) continue;
        if (at + e.size() > text.size() + 1) return false;
        const std::size_t inText = std::min(e.size(), text.size() - at);
        if (e.substr(0, inText) != text.substr(at, inText)) return false;
        if (inText < e.size() && e[inText] != '\0') return false;
        at += e.size();
    }
    return at == text.size() + 1 || (at == text.size() && (text.empty() || text.back() != '\0'));
}

void Unread(const BoundFileCheck& check, const std::string& path, const std::string& reason) {
    if (check.unread) check.unread->push_back({path, reason});
}

bool LoadBoundFile(PageStorePage& page, const std::string& path, const BoundFileCheck& check) {
    const FileResult r = page.LoadFile(path);
    if (!r) Unread(check, path, r.reason.empty() ? r.error : r.reason);
    return r.ok;
}

// The stored text against the bound file: kept, and marked modified wherever it
// differs, so a save writes what the user sees. Only the user replaces it.
void CompareWithBoundFile(PageStorePage& page, const std::string& path, std::int64_t fileAt,
                          const BoundFileCheck& check) {
    std::string reason;
    std::unique_ptr<TLumStrings> onDisk = LoadedFile(path, reason);
    if (!onDisk) {
        Unread(check, path, reason);
        return;
    }
    if (HoldsText(*onDisk, page.Text())) return;
    onDisk.reset();  // before the page may load the file itself
    const bool reload = BoundFileIsNewer(fileAt, check) && check.host &&
                        check.host->AskReloadChangedFile(page, path);
    if (!reload || !LoadBoundFile(page, path, check)) page.MarkModified();
}

void MatchBoundFile(PageStorePage& page, const BoundFileCheck& check) {
    const std::string path = page.FileName();
    if (path.empty() || !check.fileTime) return;
    const std::optional<std::int64_t> fileAt = check.fileTime(path);
    if (!fileAt) {
        // The file is gone: only the page holds the text now.
        if (page.SaveMode()) page.MarkModified();
        return;
    }
    if (page.SaveMode()) {
        CompareWithBoundFile(page, path, *fileAt, check);
    } else {
        // No text was stored: the file's content is the page's.
        LoadBoundFile(page, path, check);
    }
}

std::string KeptName(const std::filesystem::path& path, std::time_t now, std::string_view label,
                     int attempt) {
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = path.stem().string() + "." + std::string(label) + "-" + stamp;
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
    ok = ok && writer.WriteString(StoredFileName(page.FileName()));
    writer.WriteBoolean(saveMode);
    if (!ok) return false;
    if (!saveMode) return writer.WriteString({});
    return page.UseText([&](std::string_view text) { return writer.WriteString(text); });
}

bool ReadPage(TaggedValueReader& reader, PageStorePage& page, const BoundFileCheck& check,
              const std::function<void(double position)>& reached) {
    const double start = static_cast<double>(reader.Position());
    std::string value;
    if (!reader.ReadString(value)) return false;
    page.SetCaption(value);
    if (!reader.ReadString(value)) return false;
    page.SetFileName(FileNameFromStore(value));
    bool saveMode = false;
    if (!reader.ReadBoolean(saveMode)) return false;
    page.SetSaveMode(saveMode);
    if (!reader.ReadString(value)) return false;
    // A large page takes longer to lay out than to read: its layout moves the
    // position over its record.
    const double end = static_cast<double>(reader.Position());
    TaskProgress layout;
    if (reached)
        layout = [&](double f) {
            reached(start + (end - start) * std::clamp(f, 0.0, 1.0));
            return true;
        };
    page.SetText(std::move(value), layout);
    MatchBoundFile(page, check);
    return true;
}

namespace {

// Writes the store one record at a time to `sink`, so a file never needs the whole
// store in memory at once.
FileResult SavePages(PageStoreHost& host, std::string& chunk,
                     const std::function<FileResult(std::string_view)>& sink) {
    TaggedValueWriter writer(chunk);
    writer.WriteString(kPageStoreSignature);
    const int count = host.PageCount();
    writer.WriteInteger(count);
    if (FileResult r = sink(chunk); !r) return r;
    for (int i = 0; i < count; ++i) {
        chunk.clear();
        if (!WritePage(writer, host.Page(i))) {
            return FileResult::Failure("page " + std::to_string(i + 1) +
                                       ": text too long to store (2 GiB at most)");
        }
        if (FileResult r = sink(chunk); !r) return r;
    }
    return {};
}

}  // namespace

FileResult SavePagesToStream(PageStoreHost& host, std::string& out) {
    std::string chunk;
    return SavePages(host, chunk, [&](std::string_view piece) {
        out.append(piece);
        return FileResult{};
    });
}

PageStoreReadResult LoadPagesFromStream(PageStoreHost& host, std::string_view data,
                                        const std::string& pageStorePath,
                                        const FileTimeFunction& fileTime,
                                        const TaskProgress& progress, double from) {
    PageStoreReadResult result;
    TaggedValueReader reader(data);
    std::string signature;
    if (!reader.ReadString(signature) || signature != kPageStoreSignature) return result;
    std::int32_t count = 0;
    if (!reader.ReadInteger(count)) return result;
    const BoundFileCheck check{pageStorePath, fileTime, &host, &result.unreadFiles};
    std::function<void(double)> reached;
    if (progress)
        reached = [&](double position) {
            progress(from + (1 - from) * position / static_cast<double>(data.size()));
        };
    for (std::int32_t i = 0; i < count; ++i) {
        PageStorePage& page = host.CreatePage();
        ++result.pagesCreated;
        if (!ReadPage(reader, page, check, reached)) return result;
        if (reached) reached(static_cast<double>(reader.Position()));
    }
    result.complete = reader.AtEnd();
    return result;
}

FileResult SavePageStore(PageStoreHost& host, const std::string& path,
                         const WriteFaultInjector& fault, const TaskProgress& progress) {
    AtomicFileWriter file(path, fault);
    std::string chunk;
    // The header comes first, then one piece per page, written in slices so that a
    // large page reports as it goes.
    constexpr std::size_t kSlice = std::size_t{8} << 20;
    const double pages = std::max(1, host.PageCount());
    int piece = -1;
    FileResult r = SavePages(host, chunk, [&](std::string_view bytes) {
        for (std::size_t at = 0; at < bytes.size(); at += kSlice) {
            if (FileResult w = file.Write(bytes.substr(at, kSlice)); !w) return w;
            if (progress && piece >= 0)
                progress((piece + static_cast<double>(std::min(bytes.size(), at + kSlice)) /
                                      static_cast<double>(bytes.size())) /
                         pages);
        }
        ++piece;
        return FileResult{};
    });
    if (!r) return r;  // the writer removes its temporary file
    return file.Commit();
}

PageStoreLoadResult LoadPageStore(PageStoreHost& host, const std::string& path,
                                  const FileTimeFunction& fileTime, const TaskProgress& progress) {
    // Reading the bytes is the quick part; laying out the pages takes the time.
    constexpr double kReadShare = 0.2;
    PageStoreLoadResult result;
    ReadFileResult file;
    if (progress) {
        std::error_code ec;
        const double size = std::max<double>(1, std::filesystem::file_size(path, ec));
        file = ReadFileWhile(path, [&](std::string_view soFar) {
            progress(kReadShare * std::min(1.0, static_cast<double>(soFar.size()) / size));
            return true;
        });
    } else {
        file = ReadWholeFile(path);
    }
    result.found = file.exists;
    result.status = file.status;
    if (!file.exists || !file.status) return result;
    result.read = LoadPagesFromStream(host, file.data, path, fileTime, progress, kReadShare);
    return result;
}

KeepAsideResult KeepPageStoreAside(const std::string& path, std::time_t now,
                                   std::string_view label) {
    KeepAsideResult result;
    std::filesystem::path source(path);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string target = KeptName(source, now, label, attempt);
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
