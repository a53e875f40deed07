#pragma once

#include <stdexcept>
#include <string>

namespace zentabo {

// The one index error of the line store; its message is fixed.
class IndexError : public std::runtime_error {
public:
    IndexError();
};

// A file or stream could not be opened, read or written.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace zentabo
