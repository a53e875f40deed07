#pragma once

// Whether a path named from outside (the command line) may be read into a page. Only
// regular files: a named pipe would block the window for ever and a device such as
// /dev/zero would never end. And only files the memory left can hold: a load that
// runs out of it gets the program killed, with every unsaved page.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/FileIo.h"

namespace zentabo {

// ok, or a failure whose `reason` says why in the system's words.
FileResult CheckOpenableFile(const std::string& path);

// What a page takes at most while a file loads, as a multiple of the file's size: the
// bytes as read, the lines built from them, and each line's bookkeeping.
inline constexpr std::uint64_t kLoadMemoryFactor = 3;

// ok when a file of fileSize bytes fits into the memory still available (nullopt: not
// known, so not refused); otherwise a failure that names both sizes.
FileResult CheckFitsInMemory(std::uint64_t fileSize, std::optional<std::uint64_t> available);

// The same for the file at path, asking the probe how much memory is left.
using MemoryProbe = std::function<std::optional<std::uint64_t>()>;
FileResult CheckFileFitsInMemory(const std::string& path);
// Tests put in a machine of their own; an empty probe puts the real one back.
void SetMemoryProbe(MemoryProbe probe);

}  // namespace zentabo
