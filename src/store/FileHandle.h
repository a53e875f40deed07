#pragma once

// A C stdio file that closes itself, and reads and writes that throw FileError, so that
// every failure path of the loaders and savers releases the file.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace zentabo {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle OpenForReading(const std::string& fileName);
// Creates or truncates; the file is unbuffered, the callers buffer themselves.
FileHandle OpenForWriting(const std::string& fileName);
// Reads up to n bytes; fewer only at the end of the file.
std::size_t ReadSome(const FileHandle& file, const std::string& fileName, char* buf, std::size_t n);
void WriteAll(const FileHandle& file, const std::string& fileName, const char* data, std::size_t n);
// Closes and reports a failure of the last write-back.
void CloseAfterWriting(FileHandle& file, const std::string& fileName);

}  // namespace zentabo
