#include "qt/widget/TextMeasurer.h"

#include <QChar>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "store/Cp932Codec.h"
#include "store/LumEditSub.h"

namespace zentabo {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

}  // namespace

TextMeasurer::TextMeasurer(const ResolvedFont& font)
    : font_(font), raw_(QRawFont::fromFont(font.font)) {
    unit_ = {1.0, raw_, font_.font, font_.ascent, font_.metrics.tmHeight};
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        single_[b] = MakeGlyph(std::string_view(&byte, 1));
    }
}

const DeviceFace& TextMeasurer::Face(double scale) const {
    if (scale == 1.0) return unit_;
    if (scaled_.scale != scale || scaled_.cellHeight == 0) {
        const double height = font_.metrics.tmHeight * scale;
        scaled_.scale = scale;
        scaled_.raw = raw_;
        scaled_.raw.setPixelSize(height);
        scaled_.font = font_.font;
        scaled_.font.setPixelSize(std::max(1, static_cast<int>(std::lround(height))));
        scaled_.ascent = static_cast<int>(std::lround(font_.ascent * scale));
        scaled_.cellHeight = std::max(1, static_cast<int>(std::lround(height)));
    }
    return scaled_;
}

CellGlyph TextMeasurer::MakeGlyph(std::string_view bytes) const {
    const std::u16string text = Cp932ToUtf16(bytes);
    CellGlyph g;
    g.filled = true;
    // Whatever the face's own advances, a character takes one cell per byte: the
    // editor's columns are bytes.
    g.advance = static_cast<uint16_t>(CellWidth() * static_cast<int>(bytes.size()));
    if (text.size() == 1 && text[0] != kReplacement && !IsControl(text[0])) {
        g.ch = text[0];
    } else {
        g.ch = kReplacement;
        g.perByte = bytes.size() == 2;
    }
    const QChar c(g.ch);
    quint32 index = 0;
    int count = 1;
    if (raw_.isValid() && raw_.glyphIndexesForChars(&c, 1, &index, &count) && count == 1) {
        g.index = index;
    }
    return g;
}

const CellGlyph& TextMeasurer::DoubleByte(unsigned char lead, unsigned char trail) const {
    std::unique_ptr<Page>& page = pages_[lead];
    if (!page) page = std::make_unique<Page>();
    CellGlyph& g = (*page)[trail];
    if (!g.filled) {
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        g = MakeGlyph(std::string_view(bytes, 2));
    }
    return g;
}

int TextMeasurer::CharAt(std::string_view s, std::size_t pos, const CellGlyph** glyph) const {
    const auto b = static_cast<unsigned char>(s[pos]);
    if (IsLeadByte(b) && pos + 1 < s.size()) {
        const auto t = static_cast<unsigned char>(s[pos + 1]);
        if (IsTrailByte(t)) {
            *glyph = &DoubleByte(b, t);
            return 2;
        }
    }
    *glyph = &single_[b];
    return 1;
}

int TextMeasurer::Width(std::string_view s) const {
    // Every glyph's advance is one cell per byte (MakeGlyph), whatever the character,
    // so the sum needs no walk: the wrap asks this for every line of a large text.
    const int64_t width = int64_t{CellWidth()} * static_cast<int64_t>(s.size());
    return static_cast<int>(std::min<int64_t>(width, std::numeric_limits<int>::max()));
}

}  // namespace zentabo
