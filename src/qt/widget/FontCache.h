#pragma once

// One measurer per font the editor asks for (its editor font, the ruler font and the
// styled variants of the URL runs), kept for the widget's life so that switching fonts
// between rows costs a lookup, not a font resolution.

#include <memory>
#include <vector>

#include "platform/FontTypes.h"
#include "qt/widget/TextMeasurer.h"

namespace zentabo {

class FontCache {
public:
    // Colour does not matter to the glyphs; name, height and bold/italic do.
    const TextMeasurer& Get(const FontDescription& description);

private:
    struct Entry {
        std::string name;
        int height;
        int style;
        std::unique_ptr<TextMeasurer> measurer;
    };
    std::vector<Entry> entries_;
    std::size_t last_ = 0;
};

}  // namespace zentabo
