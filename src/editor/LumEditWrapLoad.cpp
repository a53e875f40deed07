// Opening a file with word wrap on: the store cuts every logical line into its display
// lines while it reads the file, on every core when the host measures on any thread.
// The pieces are the ones SplitEntry makes, so the result equals loading the file and
// wrapping it afterwards, without the text ever being held in both layouts.
#include <algorithm>
#include <thread>

#include "editor/LumEdit.h"

namespace zentabo {

bool TLumEdit::LoadWrapped(const std::string& fileName) {
    wrappedWidth_ = WrapWidth();
    NoteWholeLayout();
    LineShaping shaping;
    shaping.cut = [this](std::string_view line, std::vector<uint32_t>& lengths) {
        CutEntry(line, lengths);
    };
    if (host_.MeasuresOnAnyThread())
        shaping.threads =
            static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
    return lines_.LoadFromFile(fileName, shaping);
}

}  // namespace zentabo
