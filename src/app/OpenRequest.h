#pragma once

// The message a second start sends the running instance: the files to open (none:
// only come to the front). Paths travel as the file system's bytes, never converted.
//
//   "ZTBOPEN1"  u32 body length  |  u32 count  { u32 length  path bytes }*
//
// Integers are little-endian. The receiver reads from a socket anyone of the user's
// processes can write to, so the decoder trusts nothing and bounds everything.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

inline constexpr std::size_t kOpenRequestMaxBody = 64u << 20;
inline constexpr std::size_t kOpenRequestMaxPath = 4096;  // PATH_MAX with its NUL

std::string EncodeOpenRequest(const std::vector<std::string>& files);

struct OpenRequestDecode {
    enum class Status { Incomplete, Complete, Invalid };
    Status status = Status::Incomplete;
    std::vector<std::string> files;
};

// `data` is everything received so far on one connection. Incomplete: it is the
// start of a well-formed message, read on. Invalid: it never becomes one (also when
// more follows the message). Complete: `files` holds the absolute paths.
OpenRequestDecode DecodeOpenRequest(std::string_view data);

}  // namespace zentabo
