#pragma once

// Builds a text in two runs of the same steps: the first only counts the bytes, the
// second writes into a string reserved to exactly that size. So a 100 MB result is
// never copied by a growing buffer, and no list of lines is kept in between.

#include <cstddef>
#include <string>
#include <string_view>

#include "commands/TextLines.h"

namespace zentabo {

struct ByteCounter {
    std::size_t size = 0;
    ByteCounter& operator+=(std::string_view s) {
        size += s.size();
        return *this;
    }
    ByteCounter& operator+=(char) {
        ++size;
        return *this;
    }
};

// build(out) appends with out += ...; it is called once with a ByteCounter and once
// with the std::string.
template <class Build>
std::string BuildSized(Build&& build) {
    ByteCounter counter;
    build(counter);
    std::string out;
    out.reserve(counter.size);
    build(out);
    return out;
}

// Calls visit(line, first, last, previousEmpty, nextEmpty) for every line of text;
// previousEmpty and nextEmpty are false where there is no such line.
template <class Visit>
void ForEachLineWithNeighbours(std::string_view text, Visit&& visit) {
    std::string_view pending;
    bool havePending = false, first = true, previousEmpty = false;
    ForEachTextLine(text, [&](std::string_view line) {
        if (havePending) {
            visit(pending, first, false, previousEmpty, line.empty());
            first = false;
            previousEmpty = pending.empty();
        }
        pending = line;
        havePending = true;
    });
    if (havePending) visit(pending, first, true, previousEmpty, false);
}

}  // namespace zentabo
