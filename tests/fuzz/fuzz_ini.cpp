// Any bytes as a settings file: no crash, every readable value reads back the same
// after the file is written out and parsed again, and after it is written as a value.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/IniFile.h"
#include "app/Settings.h"

using zentabo::IniFile;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string WithoutLineBreaks(std::string v) {
    for (char& c : v) {
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    IniFile ini(text);
    auto entries = ini.Entries();
    for (const auto& e : entries) {
        auto v = ini.ReadValue(e.section, e.key);
        Check(v && *v == e.value);
        zentabo::ParseIniInteger(e.value);
    }

    IniFile again(ini.Text());
    auto reread = again.Entries();
    Check(reread.size() == entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Check(reread[i].section == entries[i].section && reread[i].key == entries[i].key &&
              reread[i].value == entries[i].value);
    }

    // Writing each value back (and a new key, and the settings) keeps what reads back.
    for (const auto& e : entries) again.WriteString(e.section, e.key, e.value);
    again.WriteString("ZentaboFuzz", "Key", text.substr(0, 64));
    zentabo::TSettings settings;
    settings.ReadFrom(again, zentabo::TWindowDefaults{});
    settings.WriteTo(again);
    IniFile third(again.Text());
    for (const auto& e : entries) Check(third.ReadValue(e.section, e.key).has_value());
    Check(third.ReadString("ZentaboFuzz", "Key", "\x01") == WithoutLineBreaks(text.substr(0, 64)));
    zentabo::TSettings back;
    back.ReadFrom(third, zentabo::TWindowDefaults{});
    Check(back.QuoteString == WithoutLineBreaks(settings.QuoteString));
    Check(back.Font.Size == settings.Font.Size && back.Color == settings.Color);
    return 0;
}
