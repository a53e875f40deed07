#include "qt/dialogs/Cp932Validator.h"

#include "store/Cp932Codec.h"

namespace zentabo {

QValidator::State Cp932Validator::validate(QString& input, int&) const {
    const Cp932EncodeResult r = Utf16ToCp932(input.toStdU16String());
    for (const UnmappableChar& c : r.unmappable)
        if (c.codePoint != 0xFFFD) return Invalid;
    return Acceptable;
}

}  // namespace zentabo
