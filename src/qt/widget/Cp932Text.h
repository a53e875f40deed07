#pragma once

// Code page 932 bytes to and from Qt's strings. ToCp932 is for texts already known to
// fit (a character the code page lacks becomes its replacement): refusing a text is
// the caller's business.

#include <QString>
#include <string>
#include <string_view>

#include "store/Cp932Codec.h"

namespace zentabo {

inline QString FromCp932(std::string_view s) {
    return QString::fromStdU16String(Cp932ToUtf16(s));
}

inline std::string ToCp932(const QString& s) {
    return Utf16ToCp932(s.toStdU16String()).bytes;
}

}  // namespace zentabo
