#pragma once

// Clipboard format numbers by name: the predefined "CF_" names keep their standard
// numbers, any other name is registered once for the run and keeps its number.

#include <cstdint>
#include <string>
#include <string_view>

namespace zentabo {

constexpr uint16_t CF_TEXT = 1;
constexpr uint16_t CF_OEMTEXT = 7;
constexpr uint16_t CF_UNICODETEXT = 13;
constexpr uint16_t CF_HDROP = 15;

// The number of a registered name (letter case does not matter), registering it when
// new; 0 for an empty name or when the registered range is full.
uint16_t RegisterClipboardFormat(std::string_view name);
// A predefined "CF_" name (exact letter case) gives its standard number without
// registering anything; every other name is registered.
uint16_t ResolveFormatName(std::string_view name);
// The name a number was registered under; empty for predefined or unknown numbers.
std::string RegisteredFormatName(uint16_t format);

}  // namespace zentabo
