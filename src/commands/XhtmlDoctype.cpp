#include "commands/XhtmlDoctype.h"

#include <array>

#include "commands/XhtmlTagScan.h"

namespace zentabo {
namespace {

struct KnownDtd {
    XhtmlDtd dtd;
    const char* publicId;
    const char* systemId;
    const char* fileName;
};

constexpr std::array<KnownDtd, 4> kKnownDtds{{
    {XhtmlDtd::kStrict10, "-//W3C//DTD XHTML 1.0 Strict//EN",
     "http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd", "xhtml1-strict.dtd"},
    {XhtmlDtd::kTransitional10, "-//W3C//DTD XHTML 1.0 Transitional//EN",
     "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd", "xhtml1-transitional.dtd"},
    {XhtmlDtd::kFrameset10, "-//W3C//DTD XHTML 1.0 Frameset//EN",
     "http://www.w3.org/TR/xhtml1/DTD/xhtml1-frameset.dtd", "xhtml1-frameset.dtd"},
    {XhtmlDtd::kXhtml11, "-//W3C//DTD XHTML 1.1//EN",
     "http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd", "xhtml11.dtd"},
}};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// A quoted literal at `at` (after blanks); moves `at` past it.
bool ReadLiteral(std::string_view text, std::size_t& at, std::size_t end, std::string& out) {
    at = SkipBlanks(text, at);
    if (at >= end || (text[at] != '"' && text[at] != '\'')) return false;
    std::size_t close = text.find(text[at], at + 1);
    if (close == std::string_view::npos || close >= end) return false;
    out = std::string(text.substr(at + 1, close - at - 1));
    at = close + 1;
    return true;
}

void ReadExternalId(std::string_view text, XhtmlPageShape& shape) {
    std::size_t at = shape.doctypeStart + 9;  // after "<!DOCTYPE"
    at = SkipBlanks(text, at);
    while (at < shape.doctypeEnd && !IsBlank(text[at]) && text[at] != '>' && text[at] != '[')
        ++at;  // the root element's name
    at = SkipBlanks(text, at);
    std::string_view rest = text.substr(at, shape.doctypeEnd - at);
    if (rest.substr(0, 6) == "PUBLIC") {
        at += 6;
        if (ReadLiteral(text, at, shape.doctypeEnd, shape.publicId))
            ReadLiteral(text, at, shape.doctypeEnd, shape.systemId);
    } else if (rest.substr(0, 6) == "SYSTEM") {
        at += 6;
        ReadLiteral(text, at, shape.doctypeEnd, shape.systemId);
    }
}

XhtmlDtd NamedDtd(const XhtmlPageShape& shape) {
    for (const KnownDtd& k : kKnownDtds)
        if (shape.publicId == k.publicId) return k.dtd;
    if (!shape.publicId.empty()) return XhtmlDtd::kNone;
    for (const KnownDtd& k : kKnownDtds)
        if (!shape.systemId.empty() && EndsWith(shape.systemId, std::string("/") + k.fileName))
            return k.dtd;
    return XhtmlDtd::kNone;
}

bool IsHtmlStart(std::string_view text, std::size_t at) {
    if (text.substr(at, 5) != "<html") return false;
    return at + 5 >= text.size() || IsBlank(text[at + 5]) || text[at + 5] == '>' ||
           text[at + 5] == '/';
}

const KnownDtd& Known(XhtmlDtd dtd) {
    for (const KnownDtd& k : kKnownDtds)
        if (k.dtd == dtd) return k;
    return kKnownDtds[0];
}

}  // namespace

XhtmlPageShape ClassifyXhtmlPage(std::string_view text) {
    XhtmlPageShape shape;
    std::size_t at = SkipBlanks(text, 0);
    bool sawXmlDecl = false;
    while (at < text.size()) {
        if (text.substr(at, 5) == "<?xml" && at + 5 < text.size() && IsBlank(text[at + 5])) {
            shape.document = sawXmlDecl = true;
        } else if (text.substr(at, 9) == "<!DOCTYPE") {
            std::optional<XhtmlMarkup> m = ReadMarkupAt(text, at, text.size());
            shape.document = shape.hasDoctype = true;
            shape.doctypeStart = at;
            shape.doctypeEnd = (m && m->end != std::string_view::npos) ? m->end : text.size();
            ReadExternalId(text, shape);
            shape.dtd = NamedDtd(shape);
            return shape;
        } else if (IsHtmlStart(text, at)) {
            shape.document = true;
            return shape;
        } else if (text.substr(at, 4) != "<!--" && !(sawXmlDecl && text.substr(at, 2) == "<?")) {
            return shape;
        }
        std::optional<XhtmlMarkup> m = ReadMarkupAt(text, at, text.size());
        if (!m || m->end == std::string_view::npos) return shape;
        at = SkipBlanks(text, m->end);
    }
    return shape;
}

const char* XhtmlDtdPublicId(XhtmlDtd dtd) {
    return Known(dtd).publicId;
}
const char* XhtmlDtdSystemId(XhtmlDtd dtd) {
    return Known(dtd).systemId;
}

XhtmlShell FragmentShell(XhtmlDtd dtd) {
    XhtmlShell shell;
    if (dtd != XhtmlDtd::kNone) {
        shell.prefix = std::string("<!DOCTYPE html PUBLIC \"") + XhtmlDtdPublicId(dtd) + "\" \"" +
                       XhtmlDtdSystemId(dtd) + "\">";
    }
    shell.prefix += "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title></title></head>";
    if (dtd == XhtmlDtd::kFrameset10) {
        // A frameset page holds body content only inside noframes.
        shell.prefix += "<frameset><frame src=\"a\" /><noframes><body>";
        shell.suffix = "</body></noframes></frameset></html>";
        shell.depth = 4;
    } else {
        shell.prefix += "<body>";
        shell.suffix = "</body></html>";
        shell.depth = 2;
    }
    return shell;
}

}  // namespace zentabo
