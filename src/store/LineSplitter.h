#pragma once

// The splitting rule of the line store: an entry ends after every CR LF pair. Any other
// byte (a lone CR or LF, a NUL) is an ordinary byte of its line, so that every file
// comes back byte for byte.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace zentabo {

// Calls piece(start, length, addsTerminator) for every piece of text. takeTerminator
// says whether the bytes after the last CR LF end the text (SetText, loading): that
// last piece then carries the end-of-text NUL, which is the text's own last byte when
// that is a NUL and is added otherwise (addsTerminator: the piece is one byte longer
// than its bytes in text); a text that ends with CR LF gets no such piece. Without it
// (InsertText) the last piece is the bytes as they are. An empty text gives one piece:
// the NUL byte alone, or the empty string.
template <class Piece>
void ForEachPiece(std::string_view text, bool takeTerminator, Piece&& piece) {
    const char* data = text.data();
    const size_t len = text.size();
    size_t start = 0;
    size_t scan = 0;
    while (scan < len) {
        const void* p = std::memchr(data + scan, '\r', len - scan);
        if (!p) break;
        const size_t cr = static_cast<const char*>(p) - data;
        if (cr + 1 < len && data[cr + 1] == '\n') {
            piece(start, cr + 2 - start, false);
            start = cr + 2;
        }
        scan = cr + 1;
    }
    if (start == len && len > 0) return;
    piece(start, len - start, takeTerminator && (len == start || data[len - 1] != '\0'));
}

// The same pieces as strings: emit(std::string&&).
template <class Emit>
void SplitLines(std::string_view text, bool takeTerminator, Emit&& emit) {
    ForEachPiece(text, takeTerminator, [&](size_t start, size_t n, bool addsTerminator) {
        // Constructed at their exact size: assign() would round small blocks up.
        std::string s(n + (addsTerminator ? 1 : 0), '\0');
        if (n > 0) std::memcpy(s.data(), text.data() + start, n);
        emit(std::move(s));
    });
}

}  // namespace zentabo
