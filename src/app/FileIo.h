#pragma once

// Reading a whole file and replacing one without ever leaving half of it behind.

#include <functional>
#include <string>
#include <string_view>

namespace zentabo {

// The outcome of a file operation: callers show or log `error`, never guess it.
struct FileResult {
    bool ok = true;
    std::string error;       // what failed and why, with the path; empty when ok
    std::string reason;      // only why, in the system's words (for messages that show the path)
    bool cancelled = false;  // the user stopped it: nothing changed, nothing to report
    explicit operator bool() const { return ok; }
    static FileResult Failure(std::string error, std::string reason = {}) {
        return {false, std::move(error), std::move(reason), false};
    }
};

struct ReadFileResult {
    bool exists = false;  // false: there is no such file (not an error for our callers)
    FileResult status;    // a file that exists but could not be read
    std::string data;
    bool complete = true;  // false: the caller's check stopped the reading early
};

ReadFileResult ReadWholeFile(const std::string& path);
// Reads the file in steps of about 1 MB and, after each, asks `more` with everything
// read so far whether to go on.
using ReadMore = std::function<bool(std::string_view dataSoFar)>;
ReadFileResult ReadFileWhile(const std::string& path, const ReadMore& more);

// The steps of a crash-safe write, in order, so tests can make one of them fail.
enum class WriteStep { CreateTemporary, Write, Sync, Rename, SyncFolder };
using WriteFaultInjector = std::function<bool(WriteStep)>;  // true: fail at this step

// Writes a file in pieces to a temporary file in the same folder; Commit flushes it
// to the disk and renames it over `path`: a crash, a full disk or a failed write
// leaves the old file as it was. Without Commit the temporary file is removed. A
// symbolic link at `path` is followed, so the link stays a link. A folder that
// cannot be flushed after the rename is reported too: the new file is complete, but
// a power cut may still bring the old one back.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path, WriteFaultInjector fault = {});
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The first failure is kept: later calls return it without doing anything.
    FileResult Write(std::string_view data);
    FileResult Commit();
    // Why no temporary file could be made (errno), 0 when it was.
    int CreateError() const { return createError_; }

private:
    FileResult Fail(const std::string& what, int err);

    std::string path_;
    std::string temp_;
    WriteFaultInjector fault_;
    int fd_ = -1;
    int createError_ = 0;
    FileResult status_;
};

FileResult WriteFileAtomically(const std::string& path, std::string_view data,
                               const WriteFaultInjector& fault = {});

// Removes the temporary files that writes of path left behind when the program was
// killed before it could finish them; a killed snapshot of a large store would
// otherwise leave its size on the disk each time. Only the one program that writes
// path may call this, before it writes. Answers how many it removed.
int RemoveUnfinishedWrites(const std::string& path);

}  // namespace zentabo
