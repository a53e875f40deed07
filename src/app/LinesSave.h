#pragma once

// Saving a page's lines to its file through a temporary file renamed over it, with
// progress: a failed or cancelled save leaves the file on disk exactly as it was. A
// writable file in a folder the user may not write is written in place, uncancellable.

#include <string>

#include "app/FileIo.h"
#include "store/LumStrings.h"
#include "store/TaskProgress.h"

namespace zentabo {

// The text as the editor keeps it, its end-of-text mark left out. A cancelled save
// is a failure with `cancelled` set.
FileResult SaveLinesAtomically(const TLumStrings& lines, const std::string& path,
                               const TaskProgress& progress = {},
                               const WriteFaultInjector& fault = {});

}  // namespace zentabo
