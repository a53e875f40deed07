#pragma once

// The splitting rule of the line store: an entry ends after a CR and the one byte that
// follows it (whatever it is), or after a NUL byte, which stays in the entry.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace zentabo {

// Calls emit(std::string&&) for every piece of text. The scan may run onto the
// terminating NUL behind the text (an std::string's own); takeTerminator says whether
// that byte then joins the last piece (SetText, loading) or not (InsertText). An empty
// text gives one piece: the NUL byte alone, or the empty string.
template <class Emit>
void SplitLines(std::string_view text, bool takeTerminator, Emit&& emit) {
    const char* data = text.data();
    const size_t len = text.size();
    const size_t limit = takeTerminator ? len + 1 : len;
    // The next CR and NUL at or after the scan start, remembered so that a text with
    // many of one and few of the other is still scanned once, not once per entry.
    size_t nextCr = 0, nextNul = 0;
    bool crKnown = false, nulKnown = false;
    size_t start = 0;
    do {
        if (!crKnown || nextCr < start) {
            const void* p = len > start ? std::memchr(data + start, '\r', len - start) : nullptr;
            nextCr = p ? static_cast<const char*>(p) - data : len;
            crKnown = true;
        }
        if (!nulKnown || nextNul < start) {
            const void* p = len > start ? std::memchr(data + start, '\0', len - start) : nullptr;
            nextNul = p ? static_cast<const char*>(p) - data : len;
            nulKnown = true;
        }
        size_t end;
        if (nextCr < nextNul)
            end = nextCr + 2;  // the CR and the byte after it
        else
            end = nextNul + 1;  // a NUL byte, or the terminator at len
        if (end > limit) end = limit;
        // Constructed at their exact size: assign() would round small blocks up.
        if (end > len) {
            std::string piece(end - start, '\0');
            if (len > start) std::memcpy(piece.data(), data + start, len - start);
            emit(std::move(piece));
        } else {
            emit(std::string(data + start, end - start));
        }
        start = end;
    } while (start < len);
}

}  // namespace zentabo
