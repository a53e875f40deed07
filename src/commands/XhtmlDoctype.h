#pragma once

// Which kind of page a text is (a whole document or a fragment of body content) and
// which XHTML DTD its DOCTYPE names.

#include <cstddef>
#include <string>
#include <string_view>

#include "commands/XhtmlCheck.h"

namespace zentabo {

struct XhtmlPageShape {
    bool document = false;  // starts with an XML declaration, a DOCTYPE or <html
    bool hasDoctype = false;
    std::size_t doctypeStart = 0, doctypeEnd = 0;
    std::string publicId, systemId;
    XhtmlDtd dtd = XhtmlDtd::kNone;  // the XHTML DTD named, kNone for any other
};

// Blanks and comments before the first markup are skipped.
XhtmlPageShape ClassifyXhtmlPage(std::string_view text);

const char* XhtmlDtdPublicId(XhtmlDtd dtd);
const char* XhtmlDtdSystemId(XhtmlDtd dtd);
// The document a fragment is checked in: text before and after it, and how many
// elements of the shell enclose it.
struct XhtmlShell {
    std::string prefix, suffix;
    int depth = 0;
};
XhtmlShell FragmentShell(XhtmlDtd dtd);

}  // namespace zentabo
