#pragma once

// Reading dragged data by clipboard format number. On X11 a format stands for the MIME
// types the desktop's programs offer for it, tried in order: the first one that holds
// something wins.

#include <QStringList>
#include <cstdint>
#include <string>

#include "app/ClipboardFormats.h"

class QMimeData;

namespace zentabo {

// What a browser drags with a link: the address, and on X11 its MIME types.
inline constexpr char kUniformResourceLocator[] = "UniformResourceLocator";

// The MIME types a format number stands for here, in order of preference.
QStringList MimeTypesOf(uint16_t format);

class TDataObjectReader {
public:
    explicit TDataObjectReader(const QMimeData* data) : data_(data) {}

    bool HasFormat(uint16_t format) const;
    // The dragged text of a format (plain text by default) in code page 932, as the
    // source sent it: callers trim it. An address keeps the characters the code page
    // cannot hold as percent escapes; plain text leaves them out. Empty when the data
    // holds nothing of the format.
    std::string ReadText(uint16_t format = CF_TEXT) const;

private:
    const QMimeData* data_;
};

}  // namespace zentabo
