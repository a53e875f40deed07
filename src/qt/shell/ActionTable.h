#pragma once

// The main window's commands as data: one row per action, in the order of the action
// list. Later command groups add their rows here; menus and tool bars name actions
// and show only those that exist.

#include <span>

namespace zentabo {

enum class IconId {
    None,
    NewPage,
    Open,
    SaveAs,
    Save,
    Print,
    Cut,
    Copy,
    Paste,
    CopyAll,
    Undo,
    Redo,
    Find,
    Replace,
    // Tool bar 2: the markup commands.
    TagDiv,
    TagH1,
    TagH2,
    TagH3,
    TagH4,
    TagP,
    TagPre,
    TagBlockquote,
    TagSpan,
    TagEm,
    TagStrong,
    TagBr,
    TagA,
    TagCite,
    TagUl,
    TagOl,
    TagDl,
    TagTable,
    TagClass,
    TagStyle,
    XhtmlCheck,
    Browser,
};

struct ActionSpec {
    const char* name;      // component name, also the QAction's objectName
    const char* category;  // group name
    const char* caption;   // menu text with its & accelerator
    const char* hint;      // "short|long"; without a bar the text serves as both
    const char* shortcut;  // portable QKeySequence text, empty for none
    IconId icon;
    int tag;  // tells apart actions that share a handler (save as: 1)
};

std::span<const ActionSpec> ActionTable();

}  // namespace zentabo
