#pragma once

// The editor's knobs that only tests turn: how often a replace run reports, and how
// much of a run it may take back.

#include <cstdint>

#include "editor/LumEdit.h"

namespace zentabo {

class EditorTestAccess {
public:
    // Progress at every display line searched and every hit found or replaced.
    static void PollEveryStep(TLumEdit& edit) {
        edit.replacePollLines_ = 0;
        edit.replacePollHits_ = 0;
    }
    static void SetRunRevertLimit(TLumEdit& edit, int64_t bytes) { edit.runRevertLimit_ = bytes; }
};

}  // namespace zentabo
