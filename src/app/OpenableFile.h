#pragma once

// Whether a path named from outside (the command line) may be read into a page. Only
// regular files: a named pipe would block the window for ever and a device such as
// /dev/zero would never end.

#include <string>

#include "app/FileIo.h"

namespace zentabo {

// ok, or a failure whose `reason` says why in the system's words.
FileResult CheckOpenableFile(const std::string& path);

}  // namespace zentabo
