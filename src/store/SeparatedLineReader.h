#pragma once

// Reads a file whose lines end with one separator byte (CR or LF) in 16 KB chunks, so
// that the file is never held in memory as a whole. Every line is handed on with CR LF
// in place of its separator (or of a CR LF pair); every other byte, NUL included, is
// kept.

#include <functional>
#include <string>

#include "store/FileHandle.h"

namespace zentabo {

// Calls addLine for every separated line; returns the bytes after the last separator
// (possibly empty), which the caller stores as the last line. Throws FileError.
std::string ReadSeparatedLines(const FileHandle& file, const std::string& fileName, char separator,
                               const std::function<void(std::string&&)>& addLine);

}  // namespace zentabo
