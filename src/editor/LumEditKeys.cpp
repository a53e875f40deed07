// The key table: key-down commands, key-up, typed characters and the input method's
// committed strings.
#include <algorithm>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

bool TLumEdit::ShiftHeld() {
    return host_.IsKeyDown(VK_SHIFT);
}

void TLumEdit::BringCaretBack() {
    ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, false);
}

void TLumEdit::KeyDown(int key) {
    keyHandling_ = true;
    try {
        if (OnKeyDown) OnKeyDown(*this, key);
        const bool ctrl = host_.IsKeyDown(VK_CONTROL);
        const bool shift = ShiftHeld();
        const bool imeKey = host_.IsKeyDown(VK_CONVERT) || host_.IsKeyDown(VK_NONCONVERT);
        if (ctrl) {
            if (CaretScrollFix && key > 0 && key < 32) BringCaretBack();
            switch (key) {
                case VK_BACK:
                    if (!ReadOnly) DeleteWordBackward();
                    break;
                case VK_END:
                    TextEnd();
                    break;
                case VK_HOME:
                    TextStart();
                    break;
                case VK_LEFT:
                    CharLeft(true);
                    break;
                case VK_RIGHT:
                    CharRight(true);
                    break;
                case VK_INSERT:
                case 'C':
                    CopyToClipboard();
                    break;
                case VK_DELETE:
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
                case VK_OEM_COMMA:
                    LineStart();
                    break;
                case VK_OEM_PERIOD:
                    LineEnd();
                    break;
                default:
                    break;
            }
        } else {
            switch (key) {
                case VK_END:
                    LineEnd();
                    break;
                case VK_HOME:
                    LineStart();
                    break;
                case VK_LEFT:
                    CharLeft(false);
                    break;
                case VK_RIGHT:
                    CharRight(false);
                    break;
                default:
                    break;
            }
        }
        if (shift && !ReadOnly) {
            if (key == VK_INSERT) PasteFromClipboard();
            if (key == VK_DELETE) CutToClipboard();
        }
        if (!shift && !ctrl) {
            if (!ReadOnly) {
                if ((key == VK_BACK || key == VK_DELETE) && (selActive_ || allSelected_)) {
                    DeleteSelection(true, boxSelMode_);
                    FireChange();
                } else if (key == VK_BACK) {
                    DeleteBackward();
                } else if (key == VK_DELETE) {
                    DeleteForward();
                }
                if (key == VK_INSERT) {
                    insertMode_ = !insertMode_;
                    if (OnChangeInsMode) OnChangeInsMode(*this, insertMode_);
                }
            }
            if (imeKey && CaretScrollFix) BringCaretBack();
        }
        switch (key) {
            case VK_TAB:
                if (!ReadOnly) InsertTab();
                break;
            case VK_RETURN:
                if (!ReadOnly) NewLine();
                break;
            case VK_ESCAPE:
                if (CaretScrollFix) BringCaretBack();
                ResetFindStart();
                break;
            case VK_PRIOR:
                PageUp();
                break;
            case VK_NEXT:
                PageDown();
                break;
            case VK_UP:
                LineUp();
                break;
            case VK_DOWN:
                LineDown();
                break;
            default:
                break;
        }
    } catch (const std::exception&) {
        ShowError("Error:OC006");
    }
    keyHandling_ = false;
}

void TLumEdit::KeyUp(int key) {
    scrollRepeat_ = 0;
    if (OnKeyUP) OnKeyUP(*this, key);
}

void TLumEdit::TypeChars(std::string_view bytes) {
    if (ReadOnly || host_.IsKeyDown(VK_CONTROL)) return;
    std::string text;
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        size_t len = 1;
        if (!SingleByteMode && IsLeadByte(b)) {
            // A lead byte counts only with its trail byte; alone it would pair with
            // whatever byte follows in the line.
            const auto t = i + 1 < n ? static_cast<unsigned char>(bytes[i + 1]) : 0;
            if (t < 0x40 || t == 0x7F || t > 0xFC) {
                ++i;
                continue;
            }
            len = 2;
        } else if (!((b >= 0x20 && b <= 0x7E) || b >= 0xA0)) {
            ++i;
            continue;
        }
        bool keep = true;
        for (size_t k = i; k < i + len; ++k) {
            char c = bytes[k];
            if (OnKeyPress) OnKeyPress(*this, c);
            if (c == 0) keep = false;
        }
        if (keep) text.append(bytes.substr(i, len));
        i += len;
    }
    if (!text.empty()) TypeText(text);
}

void TLumEdit::ImeResult(std::string_view text) {
    if (ReadOnly || text.empty()) return;
    TypeText(std::string(text));
}

void TLumEdit::ImeStartComposition() {
    imeComposing_ = true;
    if (OnIMEChanging) {
        if (CaretScrollFix) BringCaretBack();
        OnIMEChanging(*this);
    }
}

void TLumEdit::ImeEndComposition() {
    imeComposing_ = false;
    if (OnIMEChanged) OnIMEChanged(*this);
}

void TLumEdit::NewLine() {
    if (selActive_ || allSelected_) DeleteSelection(true, boxSelMode_);
    std::string text = "\r\n";
    if (AutoIndent) {
        const int len = ContentLength(caretLine_);
        std::string head = lines_.Get(caretLine_).substr(0, std::min(caretCol_, len));
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
