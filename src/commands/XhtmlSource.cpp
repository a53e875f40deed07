#include "commands/XhtmlSource.h"

#include <algorithm>
#include <array>

#include "store/Cp932Codec.h"

namespace zentabo {
namespace {

constexpr std::size_t kCheckpointBytes = 4096;
constexpr std::size_t kCancelPollBytes = 1u << 20;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// UTF-8 of every code page 932 character, packed as bytes in the low three bytes
// and the count in the top byte; 0 for codes that are no character.
struct Utf8Table {
    std::array<std::uint32_t, 256> single{};
    std::array<std::array<std::uint32_t, 256>, 256> pair{};

    static std::uint32_t Pack(std::string_view bytes) {
        std::string u = Cp932ToUtf8(bytes);
        if (u.empty() || u.size() > 3 || u == kReplacementUtf8) return 0;
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < u.size(); ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(u[i])) << (8 * i);
        return v | static_cast<std::uint32_t>(u.size()) << 24;
    }

    Utf8Table() {
        for (int b = 0; b < 256; ++b) {
            char c = static_cast<char>(b);
            single[b] = b < 0x80 ? (static_cast<std::uint32_t>(b) | 1u << 24)
                                 : Pack(std::string_view(&c, 1));
        }
        // NUL is a character of the code page but never of XML, and would end
        // libxml2's input early: it goes to the parser as U+FFFD and is reported.
        single[0] = 0;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                pair[lead][trail] = Pack(std::string_view(two, 2));
            }
        }
    }
};

const Utf8Table& Table() {
    static const Utf8Table table;
    return table;
}

// Packed UTF-8 of the character of `len` bytes at text[i]; 0 when it is none.
inline std::uint32_t Utf8Of(const Utf8Table& t, std::string_view text, std::size_t i,
                            std::size_t len) {
    auto b = static_cast<unsigned char>(text[i]);
    if (len == 2) return t.pair[b][static_cast<unsigned char>(text[i + 1])];
    if (b >= 0x81 && b <= 0x9F) return 0;
    if (b >= 0xE0 && b <= 0xFC) return 0;
    return t.single[b];
}

inline std::size_t Utf8Length(std::uint32_t packed) {
    return packed ? packed >> 24 : 3;
}

}  // namespace

bool XhtmlSource::Convert(std::string_view cp932, std::string_view prefix, std::string_view suffix,
                          const std::atomic<bool>* cancel) {
    const Utf8Table& t = Table();
    text_ = cp932;
    prefixSize_ = prefix.size();
    suffixSize_ = suffix.size();
    badBytes_.clear();
    cpAt_.clear();
    utf8At_.clear();
    utf8_.clear();
    utf8_.reserve(prefix.size() + cp932.size() + cp932.size() / 2 + suffix.size() + 16);
    utf8_.append(prefix);
    std::size_t nextCheckpoint = 0, nextPoll = kCancelPollBytes;
    for (std::size_t i = 0; i < cp932.size();) {
        if (i >= nextCheckpoint) {
            cpAt_.push_back(static_cast<std::uint32_t>(i));
            utf8At_.push_back(static_cast<std::uint32_t>(utf8_.size() - prefixSize_));
            nextCheckpoint = i + kCheckpointBytes;
            if (i >= nextPoll) {
                if (cancel && cancel->load(std::memory_order_relaxed)) return false;
                nextPoll = i + kCancelPollBytes;
            }
        }
        const std::size_t len = Cp932CharLength(cp932, i);
        const std::uint32_t u = Utf8Of(t, cp932, i, len);
        if (u == 0) {
            badBytes_.push_back(i);
            utf8_.append(kReplacementUtf8);
        } else {
            const std::size_t n = u >> 24;
            char bytes[3] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                             static_cast<char>((u >> 16) & 0xFF)};
            utf8_.append(bytes, n);
        }
        i += len;
    }
    utf8_.append(suffix);
    return true;
}

std::size_t XhtmlSource::ToCp932(std::size_t u) const {
    if (u < prefixSize_ || cpAt_.empty()) return 0;
    if (u >= bodyEnd()) return text_.size();
    const std::size_t rel = u - prefixSize_;
    auto it = std::upper_bound(utf8At_.begin(), utf8At_.end(), static_cast<std::uint32_t>(rel));
    const std::size_t k = static_cast<std::size_t>(it - utf8At_.begin()) - 1;
    std::size_t cp = cpAt_[k], at = utf8At_[k];
    const Utf8Table& t = Table();
    while (cp < text_.size()) {
        const std::size_t len = Cp932CharLength(text_, cp);
        const std::size_t width = Utf8Length(Utf8Of(t, text_, cp, len));
        if (at + width > rel) break;
        at += width;
        cp += len;
    }
    return cp;
}

XhtmlLineIndex::XhtmlLineIndex(std::string_view text) {
    starts_.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            starts_.push_back(i + 1);
        } else if (text[i] == '\n') {
            starts_.push_back(i + 1);
        }
    }
}

int XhtmlLineIndex::LineOf(std::size_t offset) const {
    auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return static_cast<int>(it - starts_.begin()) - 1;
}

}  // namespace zentabo
