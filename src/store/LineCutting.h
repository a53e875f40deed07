#pragma once

// Cutting the logical lines of a loaded text into the entries the store keeps for them
// (the editor's word wrap does this), on several threads: the text is split at line
// breaks into one part per thread, every part is cut on its own, and the parts are
// joined in order, so the result is the one a single thread would give.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

namespace zentabo {

// Appends the lengths of the entries for one logical line (its marker included); they
// add up to the line's length.
using LineCutter = std::function<void(std::string_view line, std::vector<uint32_t>& lengths)>;

struct LineShaping {
    LineCutter cut;
    int threads = 1;  // how many threads may run the cutter at once
    // No thread gets less than this: below it a thread costs more than it saves.
    std::size_t minPartBytes = std::size_t{1} << 20;
};

// Calls f(std::string_view) for every logical line of text: after every CR LF pair,
// and the bytes behind the last one when there are any.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
    const char* data = text.data();
    const std::size_t len = text.size();
    std::size_t start = 0, scan = 0;
    while (scan < len) {
        const void* p = std::memchr(data + scan, '\r', len - scan);
        if (!p) break;
        const std::size_t cr = static_cast<const char*>(p) - data;
        if (cr + 1 < len && data[cr + 1] == '\n') {
            f(text.substr(start, cr + 2 - start));
            start = cr + 2;
        }
        scan = cr + 1;
    }
    if (start < len) f(text.substr(start));
}

std::size_t CountCrLf(std::string_view text);

// The entry lengths of every logical line of text, one list per part, in text order.
// A cutter that throws, or whose lengths do not add up, fails the whole cut.
std::vector<std::vector<uint32_t>> CutLines(std::string_view text, const LineShaping& shaping);

}  // namespace zentabo
