#include "app/ClipboardFormats.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace zentabo {

namespace {

constexpr uint16_t kFirstRegistered = 0xC000;

struct Predefined {
    const char* name;
    uint16_t number;
};

constexpr Predefined kPredefined[] = {
    {"CF_BITMAP", 2},
    {"CF_DIB", 8},
    {"CF_DIF", 5},
    {"CF_DSPBITMAP", 130},
    {"CF_DSPENHMETAFILE", 142},
    {"CF_DSPMETAFILEPICT", 131},
    {"CF_DSPTEXT", 129},
    {"CF_ENHMETAFILE", 14},
    {"CF_HDROP", 15},
    {"CF_LOCALE", 16},
    {"CF_MAX", 17},
    {"CF_METAFILEPICT", 3},
    {"CF_OWNERDISPLAY", 128},
    {"CF_PALETTE", 9},
    {"CF_PENDATA", 10},
    {"CF_RIFF", 11},
    {"CF_SYLK", 4},
    {"CF_TEXT", 1},
    {"CF_TIFF", 6},
    {"CF_UNICODETEXT", 13},
    {"CF_WAVE", 12},
    {"CF_OEMTEXT", 7},
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Registered names in the order of their numbers; the run's whole life.
std::vector<std::string>& Registered() {
    static std::vector<std::string> names;
    return names;
}

}  // namespace

uint16_t RegisterClipboardFormat(std::string_view name) {
    if (name.empty()) return 0;
    std::vector<std::string>& names = Registered();
    for (size_t i = 0; i < names.size(); ++i)
        if (SameIgnoringCase(names[i], name)) return static_cast<uint16_t>(kFirstRegistered + i);
    if (names.size() >= 0x10000u - kFirstRegistered) return 0;
    names.emplace_back(name);
    return static_cast<uint16_t>(kFirstRegistered + names.size() - 1);
}

uint16_t ResolveFormatName(std::string_view name) {
    if (name.substr(0, 3) == "CF_")
        for (const Predefined& p : kPredefined)
            if (name == p.name) return p.number;
    return RegisterClipboardFormat(name);
}

std::string RegisteredFormatName(uint16_t format) {
    const std::vector<std::string>& names = Registered();
    if (format < kFirstRegistered || size_t{format} - kFirstRegistered >= names.size()) return {};
    return names[format - kFirstRegistered];
}

}  // namespace zentabo
