#pragma once

// One journalled change and the box payload that kinds 6 and 8 carry.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

// Kinds of change; there is no kind 7.
enum UndoKind : uint8_t {
    kUndoInsert = 0,          // insertion in insert mode
    kUndoInsertKeep = 1,      // the opposite of kind 3
    kUndoDelete = 2,          // deletion, caret after the restored text
    kUndoDeleteKeep = 3,      // deletion, caret before the restored text
    kUndoOverwritten = 4,     // bytes covered by overwrite typing
    kUndoOverwriteTyped = 5,  // text typed in overwrite mode
    kUndoBoxInsert = 6,       // pieces inserted by a box paste
    kUndoBoxDelete = 8,       // pieces removed from a box
    // A whole replacement in one record: text holds the bytes the replacement took
    // out, replacedLength how many bytes stand in their place now. Applying it swaps
    // the two, so the record turns into its own opposite.
    kUndoReplace = 9,
};

struct UndoRecord {
    uint8_t kind = 0;
    int32_t column = 0;
    int32_t line = 0;
    std::string text;
    // Not 0: the records of one user step (a drag that moved text), undone together.
    uint32_t group = 0;
    int64_t replacedLength = 0;  // kind 9 only
};

// The kind a record becomes when it moves to the other list.
uint8_t OppositeUndoKind(uint8_t kind);

struct BoxPiece {
    int32_t column = 0;
    int32_t line = 0;
    std::string text;
};

// Puts a piece ("column,line,length,bytes") in front of a payload.
void PrependBoxPiece(std::string& payload, int32_t column, int32_t line, std::string_view text);
// Appends a piece (the overwrite payload of a box paste lists its pieces in line order).
void AppendBoxPiece(std::string& payload, int32_t column, int32_t line, std::string_view text);

// Reads the pieces of a payload in order. Answers false when a number is not decimal,
// a comma is missing or a length runs past the end; pieces holds what was read before.
bool ParseBoxPayload(std::string_view payload, std::vector<BoxPiece>& pieces);

}  // namespace zentabo
