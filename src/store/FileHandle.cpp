#include "store/FileHandle.h"

#include <cerrno>
#include <cstring>

#include "store/StoreErrors.h"

namespace zentabo {
namespace {

[[noreturn]] void Fail(const char* what, const std::string& fileName, int err) {
    std::string message = std::string(what) + " " + fileName;
    if (err != 0) message += ": " + std::string(std::strerror(err));
    throw FileError(message);
}

}  // namespace

FileHandle OpenForReading(const std::string& fileName) {
    errno = 0;
    FileHandle file(std::fopen(fileName.c_str(), "rb"));
    if (!file) Fail("cannot open", fileName, errno);
    return file;
}

FileHandle OpenForWriting(const std::string& fileName) {
    errno = 0;
    FileHandle file(std::fopen(fileName.c_str(), "wb"));
    if (!file) Fail("cannot create", fileName, errno);
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

std::size_t ReadSome(const FileHandle& file, const std::string& fileName, char* buf,
                     std::size_t n) {
    std::size_t total = 0;
    // fread may return short without the end of the file (signals, pipes): keep going.
    while (total < n) {
        errno = 0;
        std::size_t got = std::fread(buf + total, 1, n - total, file.get());
        total += got;
        if (got == 0) {
            if (std::ferror(file.get())) Fail("cannot read", fileName, errno);
            break;
        }
    }
    return total;
}

void WriteAll(const FileHandle& file, const std::string& fileName, const char* data,
              std::size_t n) {
    errno = 0;
    if (n > 0 && std::fwrite(data, 1, n, file.get()) != n) Fail("cannot write", fileName, errno);
}

void CloseAfterWriting(FileHandle& file, const std::string& fileName) {
    errno = 0;
    int rc = std::fclose(file.release());
    if (rc != 0) Fail("cannot write", fileName, errno);
}

}  // namespace zentabo
