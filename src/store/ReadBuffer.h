#pragma once

// A whole file's bytes straight from the kernel: the pages are not zero-filled first,
// and a file that grows while it is read is followed without copying what was read.
// The line store keeps the buffer as its entries' bytes and gives pages back from the
// front when a range of entries is taken out whole.

#include <cstddef>
#include <string>

#include "store/FileHandle.h"
#include "store/TaskProgress.h"

namespace zentabo {

// Gives the whole pages of bytes [released, offset) that lie inside the size bytes at
// `bytes` back to the system (they then read as zero), in steps of a few megabytes so
// the system calls stay few; released moves on past what went back.
void ReleasePagesBefore(char* bytes, std::size_t size, std::size_t& released, std::size_t offset);

class ReadBuffer {
public:
    ReadBuffer() = default;
    ~ReadBuffer();
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;

    // Reads to the end of the file, expecting about `hint` bytes (one read when it is
    // right). One writable byte always follows the data. Progress hears of every
    // step of kReadStep bytes, as a fraction of hint, and may stop the reading.
    void ReadAll(const FileHandle& file, const std::string& fileName, std::size_t hint,
                 const TaskProgress& progress = {});

    static constexpr std::size_t kReadStep = std::size_t{16} << 20;

    char* data() { return data_; }
    std::size_t size() const { return size_; }

    // The bytes before offset are no longer read; whole pages among them are returned
    // to the system (they then read as zero).
    void ReleaseBefore(std::size_t offset) { ReleasePagesBefore(data_, size_, released_, offset); }

private:
    // At least n bytes mapped; throws std::bad_alloc.
    void Reserve(std::size_t n);

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;
    std::size_t released_ = 0;
};

}  // namespace zentabo
