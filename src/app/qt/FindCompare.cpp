#include "app/qt/FindCompare.h"

#include <string>

namespace zentabo {

namespace {

bool IsLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Upper-cases in place, keeping every character's byte length: ASCII letters and the
// full-width Latin, Greek and Cyrillic lower-case letters of code page 932.
std::string UpperCp932(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (IsLead(b) && i + 1 < out.size()) {
            const auto t = static_cast<unsigned char>(out[i + 1]);
            int up = t;
            if (b == 0x82 && t >= 0x81 && t <= 0x9A)
                up = t - 0x21;  // ａ-ｚ
            else if (b == 0x83 && t >= 0xBF && t <= 0xD6)
                up = t - 0x20;                                          // α-ω
            else if (b == 0x84 && t >= 0x70 && t <= 0x91 && t != 0x7F)  // а-я
                up = t < 0x7F ? t - 0x30 : t - 0x31;
            out[i + 1] = static_cast<char>(up);
            i += 2;
        } else {
            if (b >= 'a' && b <= 'z') out[i] = static_cast<char>(b - 0x20);
            ++i;
        }
    }
    return out;
}

}  // namespace

int FindInWindow(std::string_view str, std::string_view findchr, bool matchCase) {
    if (findchr.empty() || findchr.size() > str.size()) return 0;
    std::string hayUpper, needleUpper;
    if (!matchCase) {
        hayUpper = UpperCp932(str);
        needleUpper = UpperCp932(findchr);
        str = hayUpper;
        findchr = needleUpper;
    }
    for (std::size_t i = 0; i + findchr.size() <= str.size();) {
        if (str.compare(i, findchr.size(), findchr) == 0) return static_cast<int>(i) + 1;
        i += (IsLead(static_cast<unsigned char>(str[i])) && i + 1 < str.size()) ? 2 : 1;
    }
    return 0;
}

}  // namespace zentabo
