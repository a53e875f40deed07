#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/LumEdit.h"
#include "support/HeadlessHost.h"

namespace zentabo {

// An editor on the headless host (8-pixel cells, 640x400 client).
struct EditorFixture {
    HeadlessHost host;
    std::unique_ptr<TLumEdit> edit = std::make_unique<TLumEdit>(host);

    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (int i = 0; i < edit->LineCount(); ++i) out.emplace_back(edit->Lines().Get(i));
        return out;
    }
};

}  // namespace zentabo
