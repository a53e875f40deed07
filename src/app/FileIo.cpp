#include "app/FileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace zentabo {
namespace {

FileResult Failed(const std::string& what, const std::string& path, int err) {
    return FileResult::Failure(what + " " + path + ": " + std::strerror(err), std::strerror(err));
}

bool Injected(const WriteFaultInjector& fault, WriteStep step) {
    return fault && fault(step);
}

// A symbolic link is replaced through its target; renaming over the link itself
// would turn it into a plain file.
std::string ResolveTarget(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p(path);
    if (!std::filesystem::is_symlink(p, ec)) return path;
    std::filesystem::path target = std::filesystem::weakly_canonical(p, ec);
    return ec ? path : target.string();
}

}  // namespace

ReadFileResult ReadWholeFile(const std::string& path) {
    return ReadFileWhile(path, {});
}

ReadFileResult ReadFileWhile(const std::string& path, const ReadMore& more) {
    // A reader that may stop early reads in steps; one that reads all reads at once.
    constexpr std::size_t kStep = std::size_t{1} << 20;
    ReadFileResult r;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return r;
        r.exists = true;
        r.status = Failed("cannot open", path, errno);
        return r;
    }
    r.exists = true;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        r.status = Failed("cannot read", path, EISDIR);
        return r;
    }
    if (st.st_size > 0) r.data.reserve(static_cast<std::size_t>(st.st_size));
    std::vector<char> chunk(1 << 20);
    for (;;) {
        // Read straight into the string when its size is known; a file that grows
        // meanwhile is still read to its end.
        std::size_t have = r.data.size();
        std::size_t room = r.data.capacity() - have;
        if (more) room = std::min(room, kStep);
        ssize_t n;
        if (room > 0) {
            r.data.resize(have + room);
            n = ::read(fd, r.data.data() + have, room);
            r.data.resize(have + (n > 0 ? static_cast<std::size_t>(n) : 0));
        } else {
            n = ::read(fd, chunk.data(), chunk.size());
            if (n > 0) r.data.append(chunk.data(), static_cast<std::size_t>(n));
        }
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            r.status = Failed("cannot read", path, errno);
            break;
        }
        if (more && !more(r.data)) {
            r.complete = false;
            break;
        }
    }
    ::close(fd);
    return r;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, WriteFaultInjector fault)
    : path_(ResolveTarget(path)), temp_(path_ + ".tmp-XXXXXX"), fault_(std::move(fault)) {
    // A rename needs only the folder's permission, so without this check a file the
    // user made read-only would be replaced behind their back.
    if (::access(path_.c_str(), F_OK) == 0 && ::access(path_.c_str(), W_OK) != 0) {
        createError_ = errno;
        status_ = Failed("cannot write", path_, errno);
        return;
    }
    fd_ = Injected(fault_, WriteStep::CreateTemporary) ? (errno = EACCES, -1)
                                                       : ::mkstemp(temp_.data());
    if (fd_ < 0) {
        createError_ = errno;
        status_ = Failed("cannot create a file beside", path_, errno);
        return;
    }
    // The new file gets the old one's permissions, or the usual ones for a new file.
    struct stat old {};
    mode_t mode;
    if (::stat(path_.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

FileResult AtomicFileWriter::Fail(const std::string& what, int err) {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
        fd_ = -1;
    }
    status_ = Failed(what, path_, err);
    return status_;
}

FileResult AtomicFileWriter::Write(std::string_view data) {
    if (!status_ || fd_ < 0) return status_;
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = Injected(fault_, WriteStep::Write)
                        ? (errno = ENOSPC, -1)
                        : ::write(fd_, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail("cannot write", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    return status_;
}

FileResult AtomicFileWriter::Commit() {
    if (!status_ || fd_ < 0) return status_;
    if (Injected(fault_, WriteStep::Sync)) return Fail("cannot flush", EIO);
    if (::fsync(fd_) != 0) return Fail("cannot flush", errno);
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp_.c_str());
        status_ = Failed("cannot close", path_, err);
        return status_;
    }
    bool renameFault = Injected(fault_, WriteStep::Rename);
    if (renameFault || ::rename(temp_.c_str(), path_.c_str()) != 0) {
        int err = renameFault ? EXDEV : errno;
        ::unlink(temp_.c_str());
        status_ = Failed("cannot replace", path_, err);
        return status_;
    }
    // Make the rename itself durable. A failure here leaves a complete file either
    // way, but the caller must not believe it survives a power cut.
    std::string folder = std::filesystem::path(path_).parent_path().string();
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return status_;  // a folder we may not open cannot be flushed by us at all
    const bool folderFault = Injected(fault_, WriteStep::SyncFolder);
    const bool synced = !folderFault && ::fsync(dirFd) == 0;
    const int err = folderFault ? EIO : errno;
    ::close(dirFd);
    // Some file systems cannot flush a folder and say so; nothing is at risk there.
    if (!synced && err != EINVAL && err != ENOTSUP)
        status_ = Failed("cannot flush the folder of", path_, err);
    return status_;
}

FileResult WriteFileAtomically(const std::string& path, std::string_view data,
                               const WriteFaultInjector& fault) {
    AtomicFileWriter writer(path, fault);
    writer.Write(data);
    return writer.Commit();
}

int RemoveUnfinishedWrites(const std::string& path) {
    const std::string target = ResolveTarget(path);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    // The writer's own pattern: its name, ".tmp-" and the six characters mkstemp chose.
    const std::string prefix = target.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp-";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    std::vector<std::string> leftovers;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name);
        if (name.size() == prefix.size() + 6 && name.substr(0, prefix.size()) == prefix)
            leftovers.emplace_back(folder + '/' + std::string(name));
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& file : leftovers) {
        struct stat st {};
        if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(file.c_str()) == 0)
            ++removed;
    }
    return removed;
}

}  // namespace zentabo
