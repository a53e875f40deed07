#pragma once

// Lists, definition lists and tables built from the lines of the selected text (the
// whole text when nothing is selected). Each returns the text that replaces the
// selection, in joined form (CR LF after every line). cls is the class entered at the
// prompt; empty means no class attribute. Item and cell texts are copied as they stand.

#include <string>
#include <string_view>

namespace zentabo {

// "<ul class=...>" (or "<ol ...>"), one "<li>line</li>" per line, "</ul>".
std::string BuildList(std::string_view text, std::string_view element, std::string_view cls);

// "<dl ...>", lines alternately "<dt>line</dt>" and "<dd>line</dd>", a "<dd></dd>" when
// the last term has no definition, "</dl>".
std::string BuildDefinitionList(std::string_view text, std::string_view cls);

// "<table border="1" ...>", one row per line with cells split at every separator
// (a tab or ","; inside quotes too), "</table>".
std::string BuildTable(std::string_view text, char separator, std::string_view cls, int border = 1);

}  // namespace zentabo
