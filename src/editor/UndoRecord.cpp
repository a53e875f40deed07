#include "editor/UndoRecord.h"

#include <limits>

namespace zentabo {

uint8_t OppositeUndoKind(uint8_t kind) {
    switch (kind) {
        case kUndoInsert: return kUndoDelete;
        case kUndoInsertKeep: return kUndoDeleteKeep;
        case kUndoDelete: return kUndoInsert;
        case kUndoDeleteKeep: return kUndoInsertKeep;
        case kUndoOverwritten: return kUndoOverwriteTyped;
        case kUndoOverwriteTyped: return kUndoOverwritten;
        case kUndoBoxInsert: return kUndoBoxDelete;
        case kUndoBoxDelete: return kUndoBoxInsert;
        default: return kind;
    }
}

namespace {

std::string PieceText(int32_t column, int32_t line, std::string_view text) {
    std::string piece = std::to_string(column) + ',' + std::to_string(line) + ',' +
                        std::to_string(text.size()) + ',';
    piece.append(text);
    return piece;
}

// Reads a decimal number ended by a comma; a leading minus is allowed because a
// column or line is never negative in practice but must not make the parser guess.
bool ReadNumber(std::string_view payload, size_t& pos, int64_t& value) {
    bool negative = false;
    if (pos < payload.size() && payload[pos] == '-') {
        negative = true;
        ++pos;
    }
    size_t start = pos;
    int64_t v = 0;
    while (pos < payload.size() && payload[pos] >= '0' && payload[pos] <= '9') {
        v = v * 10 + (payload[pos] - '0');
        if (v > std::numeric_limits<int32_t>::max()) return false;
        ++pos;
    }
    if (pos == start || pos >= payload.size() || payload[pos] != ',') return false;
    ++pos;
    value = negative ? -v : v;
    return true;
}

}  // namespace

void PrependBoxPiece(std::string& payload, int32_t column, int32_t line, std::string_view text) {
    payload.insert(0, PieceText(column, line, text));
}

void AppendBoxPiece(std::string& payload, int32_t column, int32_t line, std::string_view text) {
    payload += PieceText(column, line, text);
}

bool ParseBoxPayload(std::string_view payload, std::vector<BoxPiece>& pieces) {
    size_t pos = 0;
    while (pos < payload.size()) {
        int64_t column = 0, line = 0, length = 0;
        if (!ReadNumber(payload, pos, column) || !ReadNumber(payload, pos, line) ||
            !ReadNumber(payload, pos, length))
            return false;
        if (length < 0 || static_cast<uint64_t>(length) > payload.size() - pos) return false;
        pieces.push_back({static_cast<int32_t>(column), static_cast<int32_t>(line),
                          std::string(payload.substr(pos, static_cast<size_t>(length)))});
        pos += static_cast<size_t>(length);
    }
    return true;
}

}  // namespace zentabo
