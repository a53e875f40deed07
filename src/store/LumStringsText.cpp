// Whole-text and comma-text operations of the line store.
#include <algorithm>

#include "store/LineSplitter.h"
#include "store/LumStrings.h"

namespace zentabo {
namespace {

// text as the bytes its entries share, and the entries' lengths, by the splitting rule.
std::string CutText(std::string_view text, bool takeTerminator, std::vector<uint32_t>& lengths) {
    bool terminated = false;
    ForEachPiece(text, takeTerminator, [&](size_t, size_t n, bool addsTerminator) {
        lengths.push_back(static_cast<uint32_t>(n + (addsTerminator ? 1 : 0)));
        terminated = addsTerminator;
    });
    std::string bytes;
    bytes.reserve(text.size() + 1);
    bytes.assign(text);
    if (terminated) bytes += '\0';
    return bytes;
}

}  // namespace

std::optional<std::string_view> TLumStrings::BytesInPlace(int32_t first, std::size_t from,
                                                          int32_t last, std::size_t to) const {
    CheckIndex(first, Count());
    CheckIndex(last, Count());
    if (last < first || from > slots_[first].size() || to > slots_[last].size()) Error();
    const char* start = slots_[first].data() + from;
    const char* end = slots_[first].data() + slots_[first].size();
    for (int32_t i = first + 1; i <= last; ++i) {
        const LineEntry& e = slots_[i];
        if (e.empty()) continue;
        if (e.data() != end) return std::nullopt;
        end = e.data() + e.size();
    }
    if (first == last && to < from) return std::nullopt;
    if (!slots_[last].empty()) end = slots_[last].data() + to;
    return std::string_view(start, static_cast<std::size_t>(end - start));
}

std::string TLumStrings::GetText() const {
    std::size_t total = 0;
    slots_.FindFrom(0, [&](const LineEntry& e) {
        total += e.size();
        return false;
    });
    std::string text;
    text.reserve(total);
    // Entries made together lie side by side in their block: each such run is one
    // copy, not one per line.
    const char* run = nullptr;
    std::size_t runSize = 0;
    slots_.FindFrom(0, [&](const LineEntry& e) {
        if (run && e.data() == run + runSize) {
            runSize += e.size();
            return false;
        }
        if (runSize) text.append(run, runSize);
        run = e.data();
        runSize = e.size();
        return false;
    });
    if (runSize) text.append(run, runSize);
    return text;
}

void TLumStrings::SetText(std::string_view text) {
    std::vector<uint32_t> lengths;
    std::string bytes = CutText(text, true, lengths);
    SetEntries(std::move(bytes), lengths);
    SetCapacity(Count());
}

void TLumStrings::InsertText(int32_t& index, std::string_view text) {
    CheckIndex(index, Count() + 1);
    std::vector<uint32_t> lengths;
    std::string bytes = CutText(text, false, lengths);
    std::string unused;
    ReplaceEntries(index, 0, std::move(bytes), lengths, unused);
    SetCapacity(Count());
    index += static_cast<int32_t>(lengths.size()) - 1;
}

std::string TLumStrings::GetCommaText() const {
    std::string out;
    for (int32_t i = 0, n = Count(); i < n; ++i) {
        const std::string_view s = slots_[i].view();
        if (i > 0) out += ',';
        if (s.find_first_of(" ,") != std::string_view::npos) {
            out += '"';
            out += s;
            out += '"';
        } else {
            out += s;
        }
    }
    return out;
}

void TLumStrings::SetCommaText(std::string_view value) {
    const std::string text(value);  // value may be an entry, which Clear destroys
    Clear();
    std::size_t pos = 0;
    const std::size_t len = text.size();
    while (pos < len) {
        bool quoted = text[pos] == '"';
        if (quoted) ++pos;
        std::size_t end = pos;
        for (; end < len; ++end) {
            char c = text[end];
            if (c == '\r' || c == '\0' || c == '"' || (!quoted && c == ',')) break;
        }
        Add(text.substr(std::min(pos, len), end - std::min(pos, len)));
        // Behind the ending byte; a quoted value also skips the comma after its quote.
        pos = end + 1 + (quoted ? 1 : 0);
    }
}

}  // namespace zentabo
