// Whole-text and comma-text operations of the line store.
#include <algorithm>

#include "store/LineSplitter.h"
#include "store/LumStrings.h"

namespace zentabo {

std::string TLumStrings::GetText() const {
    std::size_t total = 0;
    for (int32_t i = 0, n = Count(); i < n; ++i) total += slots_[i].size();
    std::string text;
    text.reserve(total);
    for (int32_t i = 0, n = Count(); i < n; ++i) text += slots_[i];
    return text;
}

void TLumStrings::SetText(const std::string& text) {
    Clear();
    PlanCapacity(text.size());
    SplitLines(text, true, [this](std::string&& piece) { AppendPlanned(std::move(piece)); });
    SetCapacity(Count());
}

void TLumStrings::InsertText(int32_t& index, const std::string& text) {
    CheckIndex(index, Count() + 1);
    PlanCapacity(text.size());
    int32_t at = index;
    SplitLines(text, false,
               [this, &at](std::string&& piece) { InsertPlanned(at++, std::move(piece)); });
    SetCapacity(Count());
    index = at - 1;
}

std::string TLumStrings::GetCommaText() const {
    std::string out;
    for (int32_t i = 0, n = Count(); i < n; ++i) {
        const std::string& s = slots_[i];
        if (i > 0) out += ',';
        if (s.find_first_of(" ,") != std::string::npos) {
            out += '"';
            out += s;
            out += '"';
        } else {
            out += s;
        }
    }
    return out;
}

void TLumStrings::SetCommaText(const std::string& text) {
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
