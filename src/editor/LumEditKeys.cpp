// The key table: key-down commands, key-up and typed characters.
#include <algorithm>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

bool TLumEdit::ShiftHeld() {
    return host_.IsKeyDown(vk::kShift);
}

void TLumEdit::BringCaretBack() {
    ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, false);
}

void TLumEdit::KeyDown(int key) {
    keyHandling_ = true;
    try {
        if (OnKeyDown) OnKeyDown(*this, key);
        TemporaryBoxForKey(key);
        const bool ctrl = host_.IsKeyDown(vk::kControl);
        const bool shift = ShiftHeld();
        const bool imeKey = host_.IsKeyDown(vk::kConvert) || host_.IsKeyDown(vk::kNonConvert);
        if (ctrl) {
            if (CaretScrollFix && key > 0 && key < 32) BringCaretBack();
            switch (key) {
                case vk::kBack:
                    if (!ReadOnly) DeleteWordBackward();
                    break;
                case vk::kEnd:
                    TextEnd();
                    break;
                case vk::kHome:
                    TextStart();
                    break;
                case vk::kLeft:
                    CharLeft(true);
                    break;
                case vk::kRight:
                    CharRight(true);
                    break;
                case vk::kInsert:
                case 'C':
                    CopyToClipboard();
                    break;
                case vk::kDelete:
                    if (!ReadOnly) DeleteWordForward();
                    break;
                case 'A':
                    SelectAll();
                    break;
                case 'V':
                    if (!ReadOnly) PasteFromClipboard();
                    break;
                case 'X':
                    if (!ReadOnly) CutToClipboard();
                    break;
                case 'Z':
                    if (!ReadOnly) Undo();
                    break;
                case vk::kOemComma:
                    LineStart();
                    break;
                case vk::kOemPeriod:
                    LineEnd();
                    break;
                default:
                    break;
            }
        } else {
            switch (key) {
                case vk::kEnd:
                    LineEnd();
                    break;
                case vk::kHome:
                    LineStart();
                    break;
                case vk::kLeft:
                    CharLeft(false);
                    break;
                case vk::kRight:
                    CharRight(false);
                    break;
                default:
                    break;
            }
        }
        if (shift && !ReadOnly) {
            if (key == vk::kInsert) PasteFromClipboard();
            if (key == vk::kDelete) CutToClipboard();
        }
        if (!shift && !ctrl) {
            if (!ReadOnly) {
                if ((key == vk::kBack || key == vk::kDelete) && (selActive_ || allSelected_)) {
                    DeleteSelection(true, boxSelMode_);
                    FireChange();
                } else if (key == vk::kBack) {
                    DeleteBackward();
                } else if (key == vk::kDelete) {
                    DeleteForward();
                }
                if (key == vk::kInsert) {
                    insertMode_ = !insertMode_;
                    if (OnChangeInsMode) OnChangeInsMode(*this, insertMode_);
                }
            }
            if (imeKey && CaretScrollFix) BringCaretBack();
        }
        switch (key) {
            case vk::kTab:
                if (!ReadOnly) InsertTab();
                break;
            case vk::kReturn:
                if (!ReadOnly) NewLine();
                break;
            case vk::kEscape:
                if (CaretScrollFix) BringCaretBack();
                ResetFindStart();
                break;
            case vk::kPrior:
                PageUp();
                break;
            case vk::kNext:
                PageDown();
                break;
            case vk::kUp:
                LineUp();
                break;
            case vk::kDown:
                LineDown();
                break;
            default:
                break;
        }
    } catch (const std::exception&) {
        ShowError("Error:OC006");
    }
    if (temporaryBox_ && !selActive_ && !allSelected_) EndTemporaryBox();
    keyHandling_ = false;
}

void TLumEdit::KeyUp(int key) {
    scrollRepeat_ = 0;
    if (OnKeyUP) OnKeyUP(*this, key);
}

void TLumEdit::TypeChars(std::string_view bytes) {
    // The key-press handler sees every character first, under ReadOnly and with Ctrl
    // held too, and what it leaves is what gets typed. A trail byte rides with its lead.
    const bool blocked = ReadOnly || host_.IsKeyDown(vk::kControl);
    std::string text;
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        char c = bytes[i];
        if (OnKeyPress) OnKeyPress(*this, c);
        const auto b = static_cast<unsigned char>(c);
        if (!SingleByteMode && IsLeadByte(b)) {
            // A lead byte counts only with its trail byte; alone it would pair with
            // whatever byte follows in the line.
            const auto t = i + 1 < n ? static_cast<unsigned char>(bytes[i + 1]) : 0;
            if (t < 0x40 || t == 0x7F || t > 0xFC) {
                ++i;
                continue;
            }
            text += c;
            text += bytes[i + 1];
            i += 2;
            continue;
        }
        if ((b >= 0x20 && b <= 0x7E) || b >= 0xA0) text += c;
        ++i;
    }
    if (!blocked && !text.empty()) TypeText(text);
}

void TLumEdit::NewLine() {
    if (selActive_ || allSelected_) DeleteSelection(true, boxSelMode_);
    std::string text = "\r\n";
    if (AutoIndent) {
        const int len = ContentLength(caretLine_);
        std::string head(lines_.Get(caretLine_).substr(0, std::min(caretCol_, len)));
        head += PadBlanks(caretLine_, caretCol_);
        size_t k = 0;
        while (k < head.size() && static_cast<unsigned char>(head[k]) <= 0x20) ++k;
        text.append(head, 0, k);
    }
    InsertAtCaret(text, true, false);
    ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, true);
    FireChange();
}

void TLumEdit::InsertTab() {
    if (CaretScrollFix) BringCaretBack();
    if (selActive_ || allSelected_) DeleteSelection(true, boxSelMode_);
    InsertAtCaret("\t", true, false);
    ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, true);
    FireChange();
}

}  // namespace zentabo
