#include "app/IniFile.h"

#include <cstdint>

namespace zentabo {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// ASCII letters only, and never a trail byte of a double-byte character, which may
// look like a letter (the "A" in 83 41).
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(x) && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

// A section header's name, or nullopt when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    std::size_t close = line.find(']');
    return Trim(close == std::string_view::npos ? line : line.substr(0, close));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// A "key=value" line, or nullopt for comments, headers and other lines.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view key = Trim(t.substr(0, eq));
    if (key.empty()) return std::nullopt;
    std::string_view value = Trim(t.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return KeyLine{key, value};
}

}  // namespace

std::optional<int> ParseIniInteger(std::string_view s) {
    s = Trim(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        v = v * base + d;
        if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    std::int64_t result;
    if (base == 16) {
        // Hexadecimal spans all 32 bits: $FFFFFFFF is -1, as colours are stored.
        result = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    } else {
        result = static_cast<std::int64_t>(v);
        if (result > (negative ? 2147483648LL : 2147483647LL)) return std::nullopt;
    }
    if (negative) result = -result;
    return static_cast<int>(static_cast<std::int32_t>(result));
}

void IniFile::Parse(std::string_view text) {
    lines_.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
    }
}

std::string IniFile::Text() const {
    std::size_t size = 0;
    for (const auto& l : lines_) size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines_) {
        out += l;
        out += "\r\n";
    }
    return out;
}

FileResult IniFile::Load(const std::string& path) {
    ReadFileResult r = ReadWholeFile(path);
    Parse(r.status ? r.data : std::string());
    return r.status;
}

FileResult IniFile::Save(const std::string& path, const WriteFaultInjector& fault) const {
    return WriteFileAtomically(path, Text(), fault);
}

std::optional<std::size_t> IniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = SectionName(lines_[i]);
        if (name && SameName(*name, section)) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::FindKey(std::size_t sectionLine, std::string_view key) const {
    for (std::size_t i = sectionLine + 1; i < lines_.size(); ++i) {
        if (SectionName(lines_[i])) break;
        auto kl = ParseKeyLine(lines_[i]);
        if (kl && SameName(kl->key, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::ReadValue(std::string_view section,
                                              std::string_view key) const {
    auto s = FindSection(section);
    if (!s) return std::nullopt;
    auto k = FindKey(*s, key);
    if (!k) return std::nullopt;
    return std::string(ParseKeyLine(lines_[*k])->value);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& def) const {
    auto v = ReadValue(section, key);
    return v ? *v : def;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    auto v = ReadValue(section, key);
    if (!v) return def;
    auto n = ParseIniInteger(*v);
    return n ? *n : def;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string v(value);
    for (char& c : v) {
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    bool quote =
        !v.empty() &&
        (IsBlank(v.front()) || IsBlank(v.back()) ||
         (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()));
    if (quote) v = '"' + v + '"';

    auto s = FindSection(section);
    if (!s) {
        if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + v);
        return;
    }
    if (auto k = FindKey(*s, key)) {
        // Keep the key as the file spells it; only the value changes.
        std::string name(ParseKeyLine(lines_[*k])->key);
        lines_[*k] = name + "=" + v;
        return;
    }
    std::size_t insertAt = *s + 1;
    for (std::size_t i = *s + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
        if (ParseKeyLine(lines_[i])) insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  std::string(key) + "=" + v);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::vector<IniFile::Entry> IniFile::Entries() const {
    std::vector<Entry> out;
    std::optional<std::string_view> section;
    std::vector<std::string_view> seenSections;
    bool reachable = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionName(lines_[i])) {
            reachable = true;
            for (auto s : seenSections) {
                if (SameName(s, *name)) reachable = false;  // only the first one is read
            }
            seenSections.push_back(*name);
            section = name;
            continue;
        }
        if (!section || !reachable) continue;
        auto kl = ParseKeyLine(lines_[i]);
        if (!kl) continue;
        bool first = true;
        for (const auto& e : out) {
            if (SameName(e.section, *section) && SameName(e.key, kl->key)) first = false;
        }
        if (first)
            out.push_back({std::string(*section), std::string(kl->key), std::string(kl->value)});
    }
    return out;
}

}  // namespace zentabo
