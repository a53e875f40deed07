#pragma once

// The page-store file: every page's caption, bound file name, save mode and (when
// the save mode is on) text, kept from one run to the next. The main window and its
// pages implement the two small interfaces below, so the format needs no widgets.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/FileIo.h"
#include "app/TaggedValues.h"
#include "store/TaskProgress.h"

namespace zentabo {

// One page as the page store sees it (TEditSheet).
class PageStorePage {
public:
    virtual ~PageStorePage() = default;
    virtual std::string Caption() const = 0;
    // The bound file's path in the file system's own bytes, empty when not bound.
    virtual std::string FileName() const = 0;
    virtual bool SaveMode() const = 0;
    // The editor's whole text: hard line ends as CR LF, no end-of-text marker.
    virtual std::string Text() const = 0;
    // Hands the text to `use`: a page that already holds it as one string lends it
    // instead of copying a large page once more while the store is written.
    virtual bool UseText(const std::function<bool(std::string_view)>& use) const {
        return use(Text());
    }

    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetFileName(const std::string& fileName) = 0;
    virtual void SetSaveMode(bool saveMode) = 0;
    // progress: how far the page's layout got (0 to 1), for a large page; it cannot
    // stop the layout.
    virtual void SetText(std::string text, const TaskProgress& progress) = 0;
    // The editor's load-file operation (line-break detection, relayout). A failure
    // leaves the page as it was and says why.
    virtual FileResult LoadFile(const std::string& path) = 0;
    // The text differs from the bound file although nothing was edited yet.
    virtual void MarkModified() = 0;
};

// The main window's pages in tab order.
class PageStoreHost {
public:
    virtual ~PageStoreHost() = default;
    virtual int PageCount() const = 0;
    virtual PageStorePage& Page(int index) = 0;
    // Appends a new page with the settings applied and makes it the active page.
    virtual PageStorePage& CreatePage() = 0;
    // The page's bound file changed after the page store was written and differs
    // from the page's stored text: true to load the file, false to keep the text.
    virtual bool AskReloadChangedFile(PageStorePage& page, const std::string& path) = 0;
};

// A bound file that could not be read while the pages were restored.
struct UnreadFile {
    std::string path;    // the file system's bytes
    std::string reason;  // in the system's words
};

// Last-modified time of a file in seconds since the epoch; nullopt when there is none.
using FileTimeFunction = std::function<std::optional<std::int64_t>(const std::string& path)>;
std::optional<std::int64_t> FileModifiedTime(const std::string& path);

inline constexpr std::string_view kPageStoreSignature = "ztabo3";

// Writes the four values of one page record; false when a text is too long for the
// format (2 GiB), in which case the record is incomplete.
bool WritePage(TaggedValueWriter& writer, const PageStorePage& page);

// What restoring a page compares against: the page store's own time and the files.
struct BoundFileCheck {
    std::string pageStorePath;
    FileTimeFunction fileTime = FileModifiedTime;  // empty: bound files are not looked at
    PageStoreHost* host = nullptr;                 // asks before a stored text is replaced
    std::vector<UnreadFile>* unread = nullptr;     // collects the files that failed to read
};

// Reads one page record into `page`, setting each field as soon as it is read, then
// brings the page in line with its bound file: a page without stored text takes the
// file's content; a stored text that differs from the file is kept and marked
// modified, unless the file changed after the store was written and the host says to
// load it. Returns false when the record could not be read to its end.
// reached: told the reader's position as the page is read and laid out.
bool ReadPage(TaggedValueReader& reader, PageStorePage& page, const BoundFileCheck& check,
              const std::function<void(double position)>& reached = {});

// Appends the whole page store to `out`. Fails only for a text too long for the
// format (2 GiB), naming the page.
FileResult SavePagesToStream(PageStoreHost& host, std::string& out);

struct PageStoreReadResult {
    int pagesCreated = 0;
    std::vector<UnreadFile> unreadFiles;
    // True when the signature matched, every record was read and nothing followed:
    // otherwise pages were lost to damage and the file should be kept aside.
    bool complete = false;
};

// progress hears how far the pages got, from `from` to 1; its answer is not asked:
// reading and writing the page store always go to their end.
PageStoreReadResult LoadPagesFromStream(PageStoreHost& host, std::string_view data,
                                        const std::string& pageStorePath,
                                        const FileTimeFunction& fileTime = FileModifiedTime,
                                        const TaskProgress& progress = {}, double from = 0);

// Replaces the file crash-safely, writing it page by page.
FileResult SavePageStore(PageStoreHost& host, const std::string& path,
                         const WriteFaultInjector& fault = {}, const TaskProgress& progress = {});

struct PageStoreLoadResult {
    bool found = false;  // the file exists
    FileResult status;   // it exists but could not be read
    PageStoreReadResult read;
    // The file holds data that was not (or not all) turned into pages.
    bool StoppedEarly() const { return found && (!status.ok || !read.complete); }
};

// Reads the file if it exists and creates its pages.
PageStoreLoadResult LoadPageStore(PageStoreHost& host, const std::string& path,
                                  const FileTimeFunction& fileTime = FileModifiedTime,
                                  const TaskProgress& progress = {});

struct KeepAsideResult {
    FileResult status;
    std::string keptPath;
};

// Keeps a page store that could not be read to its end beside it, as
// "<name>.damaged-YYYYMMDD-HHMMSS<ext>" (local time `now`, a number added when
// that name is taken), before the next save replaces it: its unread pages can then
// still be recovered by hand. `label` names why the file was kept ("replaced" for a
// store another program wrote).
KeepAsideResult KeepPageStoreAside(const std::string& path, std::time_t now,
                                   std::string_view label = "damaged");

}  // namespace zentabo
