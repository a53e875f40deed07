#pragma once

// An INI file held in memory with the Windows profile rules: section and key names
// match without regard to ASCII case, values are raw code page 932 bytes, and every
// line the program does not change (comments, blank lines, unknown sections and
// keys) is written back as it was read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/FileIo.h"

namespace zentabo {

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string_view text) { Parse(text); }

    // Replaces the content with the lines of `text` (CR LF, LF or CR-less last line).
    void Parse(std::string_view text);
    // The content as CR LF lines.
    std::string Text() const;

    // Reads the file; a missing file gives an empty one. A file that exists but
    // cannot be read gives an empty content and a failed status.
    FileResult Load(const std::string& path);
    // Writes the whole content in one piece, crash-safe.
    FileResult Save(const std::string& path, const WriteFaultInjector& fault = {}) const;

    // The value of the first such key in the first such section: spaces and tabs
    // around it removed, then one pair of enclosing quotes (" or ') removed.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& def) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$", with an optional sign; anything
    // else, or a value outside 32 bits, gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // Any integer other than 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Sets the value of the first such key, adding the key at the end of its section
    // and the section at the end of the file when they are missing. Line breaks and
    // NUL bytes in the value, which the file cannot hold, become spaces; a value that
    // reading would trim or unquote is written in double quotes so it reads back as is.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    // Every key that ReadValue can reach, in file order.
    std::vector<Entry> Entries() const;

private:
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(std::size_t sectionLine, std::string_view key) const;

    std::vector<std::string> lines_;
};

// Parses an integer the way INI values are read; nullopt when it is not one.
std::optional<int> ParseIniInteger(std::string_view text);

}  // namespace zentabo
