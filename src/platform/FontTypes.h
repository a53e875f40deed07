#pragma once

#include <cstdint>
#include <string>

namespace zentabo {

// Colours are 0x00BBGGRR: red in the low byte.
using TColor = uint32_t;

constexpr int kStyleNone = 0;
constexpr int kStyleBold = 1;
constexpr int kStyleItalic = 2;
constexpr int kStyleUnderline = 4;

// The editor's font description: what the control asks the platform for.
struct FontDescription {
    std::string name = "FixedSys";  // face name as the user chose it
    int height = 14;                // full cell height in pixels
    TColor color = 0x000000;
    int style = kStyleNone;
};

// Metrics of the font the platform actually created.
struct FontMetrics {
    int tmHeight = 0;        // full cell height
    int tmAveCharWidth = 0;  // width of a single-byte cell
};

}  // namespace zentabo
