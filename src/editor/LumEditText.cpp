// Whole-text operations, the clipboard and the edit-control messages.
#include <algorithm>
#include <cstring>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

void TLumEdit::SetAllText(std::string text, const TaskProgress& progress) {
    if (charWidth_ == 0) return;
    try {
        // The text as GetAllText gives it: every byte is kept, a final NUL included;
        // only CR LF breaks lines.
        ResetState();
        // Split, and wrapped with word wrap on, in one pass; the store keeps the text's
        // own bytes, so a large text is neither copied nor held in two layouts.
        if (wordWrap_) {
            wrappedWidth_ = WrapWidth();
            NoteWholeLayout();
        }
        text.push_back('\0');
        std::vector<uint32_t> lengths;
        CutWholeText(text, wordWrap_, false, lengths, progress);
        ReplaceStore(std::move(text), lengths);
        RedrawWholeView();
    } catch (const std::exception&) {
        ShowError("Error:OC004");
    }
}

std::string TLumEdit::GetAllText() const {
    // Dropping the end mark in place keeps this to one copy of the text.
    std::string text = lines_.GetText();
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

bool TLumEdit::LoadFile(const std::string& fileName) {
    struct ProgressScope {
        TLumStrings& lines;
        ~ProgressScope() { lines.SetLoadProgress({}); }
    } scope{lines_};
    lines_.SetLoadProgress(OnLoadProgress);
    try {
        // Wrapped as it is read where it can be, which is what Refresh would do after.
        const bool wrapped = wordWrap_ && !holdWraps_ && charWidth_ > 0 && LoadWrapped(fileName);
        if (!wrapped) lines_.LoadFromFile(fileName);
        // Read unwrapped while the wraps are held: the next apply must wrap it.
        if (!wrapped && wordWrap_ && holdWraps_) heldShape_.width = -1;
        if (lines_.Count() == 0) lines_.Add(std::string(1, '\0'));
        ResetState();
        topLine_ = 0;
        horzOffset_ = 0;
        if (wrapped) {
            ++wholeTextWraps_;
            RedrawWholeView();
        } else {
            Refresh();
        }
        host_.SetCompositionWindow(textLeft_, topMargin_);
        return true;
    } catch (const TaskCancelled&) {
        ClearAll();
        return false;
    } catch (const std::exception&) {
        // A failed load may leave the store partly filled; keep the editor's rules.
        try {
            if (lines_.Count() == 0 || !HasEndMark(lines_.Get(lines_.Count() - 1))) {
                std::string text = lines_.Count() ? lines_.GetText() : std::string();
                SetAllText(text);
                if (charWidth_ == 0) lines_.SetText(std::string(1, '\0'));
            }
        } catch (const std::exception&) {
        }
        return false;
    }
}

bool TLumEdit::SaveFile(const std::string& fileName) {
    try {
        lines_.SaveToFile(fileName);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TLumEdit::ClearAll() {
    lines_.Clear();
    lines_.Add(std::string(1, '\0'));
    ResetState();
    topLine_ = 0;
    horzOffset_ = 0;
    RedrawWholeView();
}

void TLumEdit::SelectAll() {
    if (lines_.Get(0) == std::string(1, '\0')) return;
    allSelected_ = true;
    selActive_ = false;
    boxSelMode_ = false;
    RepaintLines(topLine_, topLine_ + linesPerPage_, 0);
    selStartLine_ = 0;
    selStartCol_ = 0;
    selEndLine_ = LastLine();
    selEndCol_ = ContentLength(LastLine());
    ResetFindStart();
    if (OnSelectionChange) OnSelectionChange(*this);
    shiftStartLine_ = caretLine_;
    shiftStartCol_ = caretCol_;
}

void TLumEdit::SetSel(int startCol, int startLine, int endLine, int endCol) {
    if (selActive_ || allSelected_) ClearSelection();
    const int last = LastLine();
    startLine = std::clamp(startLine, 0, last);
    endLine = std::clamp(endLine, 0, last);
    const std::string_view endEntry = lines_.Get(endLine);
    if (endLine < last && EndsWithCrLf(endEntry) && endCol == static_cast<int>(endEntry.size())) {
        ++endLine;
        endCol = 0;
    }
    selStartLine_ = startLine;
    selStartCol_ = ClampCol(startLine, startCol);
    selActive_ = true;
    ScrollCaretIntoView(ClampCol(endLine, endCol), endLine, kScrollKeepMargin, true, false);
    selEndLine_ = prevEndLine_ = caretLine_;
    selEndCol_ = prevEndCol_ = caretCol_;
    RepaintLines(std::min(selStartLine_, caretLine_), std::max(selStartLine_, caretLine_), 0);
}

std::string TLumEdit::GetSelText() const {
    SelectionRange r = GetSelectionRange();
    if (!selActive_ && !allSelected_) return {};
    // A box's last row may end at column 0, which the stream range would leave out.
    if (IsBoxSelection()) return BoxTextBetween(selStartLine_, selEndLine_);
    return GetTextRange(r.startCol, r.startLine, r.endLine, r.endCol);
}

std::string_view TLumEdit::GetSelTextInPlace(std::string& storage) const {
    // The range as GetSelText reads it; boxes are always copied.
    if ((selActive_ || allSelected_) && !IsBoxSelection() && !boxSelMode_) {
        SelectionRange r = GetSelectionRange();
        OrderRange(r.startLine, r.startCol, r.endLine, r.endCol);
        try {
            if (auto bytes = lines_.BytesInPlace(r.startLine, static_cast<size_t>(r.startCol),
                                                 r.endLine, static_cast<size_t>(r.endCol)))
                return *bytes;
        } catch (const std::exception&) {
            // A range the store does not hold is read the usual way below.
        }
    }
    storage = GetSelText();
    return storage;
}

void TLumEdit::CopyToClipboard() {
    CopySelection();
}

bool TLumEdit::CopySelection() {
    try {
        if (CaretScrollFix)
            ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, false);
        if (!selActive_ && !allSelected_) return false;
        switch (host_.SetClipboardText(GetSelText())) {
            case ClipboardWrite::Ok:
                return true;
            case ClipboardWrite::BlockFailed:
                ShowError("Error:OC002");
                return false;
            case ClipboardWrite::OtherFailure:
                ShowError("Error:OC007");
                return false;
        }
    } catch (const std::exception&) {
        ShowError("Error:OC007");
    }
    return false;
}

void TLumEdit::CutToClipboard() {
    // The text goes only once it is safe on the clipboard.
    if (!CopySelection()) return;
    DeleteSelection(true, boxSelMode_);
    FireChange();
}

void TLumEdit::PasteFromClipboard() {
    std::string text;
    if (!host_.GetClipboardText(text)) return;
    InsertString(text);
}

void TLumEdit::InsertString(const std::string& text) {
    // A replaced selection is one step; journalled as a removal and an insertion, the
    // budget could keep the insertion and drop the removal, and undo would then take
    // the new text away without bringing the old back.
    if ((selActive_ || allSelected_) && !boxSelMode_) return ReplaceSelection(text);
    if (selActive_ || allSelected_) DeleteSelection(true, boxSelMode_);
    InsertAtCaret(text, true, boxSelMode_);
    FireChange();
}

intptr_t TLumEdit::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    auto lo = [](uintptr_t v) { return static_cast<int>(v & 0xFFFF); };
    auto hi = [](uintptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); };
    switch (msg) {
        case EM_SETSEL:
            SetSel(lo(wParam), hi(wParam), hi(static_cast<uintptr_t>(lParam)),
                   lo(static_cast<uintptr_t>(lParam)));
            return 0;
        case EM_GETSEL: {
            if (wParam)
                *reinterpret_cast<uint32_t*>(wParam) =
                    MakeLong(selStartCol_, std::min(selStartLine_, 32767));
            if (lParam)
                *reinterpret_cast<uint32_t*>(lParam) =
                    MakeLong(selEndCol_, std::min(selEndLine_, 32767));
            return static_cast<intptr_t>(GetSelText().size());
        }
        case WM_GETTEXT: {
            if (wParam == 0 || lParam == 0) return 0;
            std::string all = lines_.GetText();
            size_t n = std::min<size_t>(all.size(), wParam - 1);
            char* buffer = reinterpret_cast<char*>(lParam);
            std::memcpy(buffer, all.data(), n);
            buffer[n] = '\0';
            return static_cast<intptr_t>(n);
        }
        case WM_GETTEXTLENGTH: {
            intptr_t total = 0;
            for (int i = 0; i < lines_.Count(); ++i) total += lines_.Get(i).size();
            return total;
        }
        case EM_GETLINECOUNT:
            return lines_.Count();
        case EM_GETFIRSTVISIBLELINE:
            return topLine_;
        case EM_LINELENGTH: {
            if (wParam > static_cast<uintptr_t>(LastLine())) return 0;
            const std::string_view s = lines_.Get(static_cast<int>(wParam));
            return static_cast<intptr_t>(std::min(s.size(), s.find('\0')));
        }
        case EM_GETLINE: {
            if (wParam > static_cast<uintptr_t>(LastLine()) || lParam == 0) return 0;
            const std::string_view s = lines_.Get(static_cast<int>(wParam));
            size_t len = std::min(s.size(), s.find('\0'));
            if (len == 0) return 0;
            char* buffer = reinterpret_cast<char*>(lParam);
            uint16_t size = 0;
            std::memcpy(&size, buffer, sizeof size);
            size_t n = std::min<size_t>(len, size);
            std::memcpy(buffer, s.data(), n);
            return static_cast<intptr_t>(n);
        }
        case WM_CUT:
            CutToClipboard();
            return 0;
        case WM_COPY:
            CopyToClipboard();
            return 0;
        case WM_PASTE:
            PasteFromClipboard();
            return 0;
        case WM_CLEAR:
            ClearAll();
            return 0;
        default:
            return PerformView(msg, wParam, lParam);
    }
}

}  // namespace zentabo
