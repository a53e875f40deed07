#pragma once

// The comma-separated text in which the class history is stored.

#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

// Items joined with ","; an item holding a blank, a control byte, a comma or a double
// quote is enclosed in double quotes with its inner double quotes doubled. A single
// empty item is written as "" so that it is not read back as no item at all.
std::string JoinCommaText(const std::vector<std::string>& items);

// The inverse: commas, and blanks and control bytes outside quotes, separate items;
// a comma at the very end adds an empty item; an unclosed quote runs to the end.
std::vector<std::string> SplitCommaText(std::string_view text);

}  // namespace zentabo
