#include "qt/widget/FontCache.h"

namespace zentabo {

const TextMeasurer& FontCache::Get(const FontDescription& d) {
    const int style = d.style & (kStyleBold | kStyleItalic);
    auto matches = [&](const Entry& e) {
        return e.height == d.height && e.style == style && e.name == d.name;
    };
    if (last_ < entries_.size() && matches(entries_[last_])) return *entries_[last_].measurer;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (matches(entries_[i])) {
            last_ = i;
            return *entries_[i].measurer;
        }
    }
    FontDescription plain = d;
    plain.style = style;
    entries_.push_back(
        {d.name, d.height, style, std::make_unique<TextMeasurer>(ResolveFont(plain))});
    last_ = entries_.size() - 1;
    return *entries_.back().measurer;
}

}  // namespace zentabo
