#include "commands/BlockBuilders.h"

#include "commands/SizedOutput.h"
#include "commands/TagTexts.h"
#include "commands/TextLines.h"

namespace zentabo {
namespace {

template <class Out>
void AppendLine(Out& out, std::string_view a, std::string_view b = {}, std::string_view c = {}) {
    out += a;
    out += b;
    out += c;
    out += "\r\n";
}

}  // namespace

std::string BuildList(std::string_view text, std::string_view element, std::string_view cls) {
    const std::string open = OpeningTag(element, cls);
    const std::string close = ClosingTag(element);
    return BuildSized([&](auto& out) {
        AppendLine(out, open);
        ForEachTextLine(text,
                        [&](std::string_view line) { AppendLine(out, "<li>", line, "</li>"); });
        AppendLine(out, close);
    });
}

std::string BuildDefinitionList(std::string_view text, std::string_view cls) {
    const std::string open = OpeningTag("dl", cls);
    return BuildSized([&](auto& out) {
        AppendLine(out, open);
        bool term = true;
        ForEachTextLine(text, [&](std::string_view line) {
            if (term)
                AppendLine(out, "<dt>", line, "</dt>");
            else
                AppendLine(out, "<dd>", line, "</dd>");
            term = !term;
        });
        if (!term) AppendLine(out, "<dd></dd>");  // the last term has no definition
        AppendLine(out, "</dl>");
    });
}

std::string BuildTable(std::string_view text, char separator, std::string_view cls, int border) {
    const std::string open =
        "<table border=\"" + std::to_string(border) + "\"" + ClassAttribute(cls) + ">";
    // The separator is a single byte below 0x40, so it is never the second byte of a
    // double-byte character and a plain search finds exactly the separators.
    return BuildSized([&](auto& out) {
        AppendLine(out, open);
        ForEachTextLine(text, [&](std::string_view line) {
            out += "<tr><td>";
            std::size_t start = 0;
            for (std::size_t p; (p = line.find(separator, start)) != std::string_view::npos;
                 start = p + 1) {
                out += line.substr(start, p - start);
                out += "</td><td>";
            }
            AppendLine(out, line.substr(start), "</td></tr>");
        });
        AppendLine(out, "</table>");
    });
}

}  // namespace zentabo
