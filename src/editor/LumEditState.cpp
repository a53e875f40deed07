// Construction, published properties with their clamping setters, and ResetState.
#include <algorithm>
#include <atomic>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

// Unique across every editor of the process: a page created where a deleted one
// lived can never be taken for it by a reader that remembers generations.
uint64_t TLumEdit::NextTextGeneration() {
    static std::atomic<uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

TLumEdit::TLumEdit(EditorHost& host) : host_(host) {
    lines_.Add(std::string(1, '\0'));
    TakeMetrics();
    ResetState();
}

TLumEdit::~TLumEdit() = default;

void TLumEdit::ShowError(const char* text) {
    host_.ShowMessage(text);
}

void TLumEdit::ResetState() {
    // Every whole-text replacement (set, load, clear) starts here.
    textGeneration_ = NextTextGeneration();
    insertMode_ = true;
    caretLine_ = caretCol_ = 0;
    selActive_ = allSelected_ = false;
    selStartLine_ = selStartCol_ = selEndLine_ = selEndCol_ = 0;
    prevEndLine_ = prevEndCol_ = 0;
    shiftStartLine_ = shiftStartCol_ = 0;
    caretX_ = 0;
    goalCol_ = 0;
    topLine_ = 0;
    horzOffset_ = 0;
    undoList_.clear();
    redoList_.clear();
    undoBytes_ = 0;
    historyTruncated_ = false;
    findHighlightLength_ = 0;
    modified_ = false;
    if (OnChangeModify) OnChangeModify(*this, false);
    if (OnChangeRedoMode) {
        redoAvailable_ = false;
        OnChangeRedoMode(*this, false);
    }
}

void TLumEdit::SetModified(bool value) {
    if (modified_ == value) return;
    modified_ = value;
    if (OnChangeModify) OnChangeModify(*this, value);
}

void TLumEdit::FireChange() {
    textGeneration_ = NextTextGeneration();
    if (OnChange) OnChange(*this);
}

// Text typed or pasted brings the line breaks of its source (the clipboard's are LF):
// every CR, LF and CR LF becomes the store's CR LF. Every other byte, NUL included, is
// an ordinary byte of the line.
std::string TLumEdit::NormalizeInput(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

// Markers go by position: only the last entry carries the end-of-text NUL, so a NUL
// that ends a piece while it is being re-wrapped is still text.
int TLumEdit::ContentLength(int line) const {
    const std::string_view s = lines_.Get(line);
    if (line == LastLine()) return std::max(0, static_cast<int>(s.size()) - 1);
    if (EndsWithCrLf(s)) return static_cast<int>(s.size()) - 2;
    return static_cast<int>(s.size());
}

bool TLumEdit::EndsLine(int line) const {
    return line == LastLine() || EndsWithCrLf(lines_.Get(line));
}

// Keeps a column inside the line's text and off a trail byte.
int TLumEdit::ClampCol(int line, int col) const {
    const int length = ContentLength(line);
    col = std::clamp(col, 0, length);
    if (col > 0 && col < length &&
        ByteTypeAt(lines_.Get(line), col + 1, SingleByteMode) == kTrailByte)
        --col;
    return col;
}

int TLumEdit::CaretColumnOn(int line, int col) const {
    if (freeCaretMode_ && col > ContentLength(line)) return col;
    return ClampCol(line, col);
}

void TLumEdit::SetAutoWrap(bool value) {
    if (autoWrap_ == value) return;
    autoWrap_ = value;
    if (wordWrap_) RewrapWholeText();
}

void TLumEdit::SetColumn(int value) {
    value = std::max(10, value);
    if (column_ == value) return;
    column_ = value;
    if (wordWrap_) RewrapWholeText();
}

void TLumEdit::SetTabCount(int value) {
    int clamped = std::clamp(value, 1, 8);
    if (tabCount_ == clamped) return;
    tabCount_ = clamped;
    // Tab widths change the pieces' widths.
    if (wordWrap_)
        RewrapWholeText();
    else
        RepaintAll();
}

void TLumEdit::SetUndoBuf(int value) {
    undoBuf_ = std::max(0, value);
}

void TLumEdit::SetFreeCaretMode(bool value) {
    freeCaretMode_ = value;
    if (!value) {
        caretCol_ = std::min(caretCol_, ContentLength(caretLine_));
        if (selActive_ || allSelected_)
            ClearSelection();
        else
            CollapseSelectionToCaret();
    }
}

void TLumEdit::SetCurSetMode(bool value) {
    curSetMode_ = value;
    caretEdgeGap_ = value ? 10 : horzStep_;
}

void TLumEdit::SetBoxSelMode(bool value) {
    temporaryBox_ = false;  // chosen now, it stays after the selection
    if (boxSelMode_ == value) return;
    if (selActive_ || allSelected_) ClearSelection();
    boxSelMode_ = value;
}

void TLumEdit::SetShowRuler(bool value) {
    showRuler_ = value;
    if (value && topMargin_ < 11) SetTopMargin(11);
    RepaintAll();
}

void TLumEdit::SetShowRulerCur(bool value) {
    showRulerCur_ = value;
    if (value && topMargin_ < 11) SetTopMargin(11);
    RepaintAll();
}

void TLumEdit::SetRulerCurWidth(int value) {
    rulerCurWidth_ = std::clamp(value, 0, 7);
}

void TLumEdit::SetLineNoColumn(int value) {
    lineNoColumn_ = std::clamp(value, 1, 5);
    UpdateLayout();
}

void TLumEdit::SetTopMargin(int value) {
    int low = (showRuler_ || showRulerCur_) ? 11 : 0;
    topMargin_ = std::clamp(value, low, 30);
    UpdateLayout();
    RepaintAll();
}

void TLumEdit::SetLeftMargin(int value) {
    leftMargin_ = std::clamp(value, 0, 30);
    UpdateLayout();
    RepaintAll();
}

void TLumEdit::SetLineSpace(int value) {
    lineSpace_ = std::clamp(value, 0, 100);
    UpdateLayout();
    RepaintAll();
}

void TLumEdit::SetLineSpaceUnit(TLineSizeUnit value) {
    lineSpaceUnit_ = value;
    SetLineSpace(lineSpace_);
}

void TLumEdit::SetHorzScrollBar(bool value) {
    if (horzScrollBar_ == value) return;
    horzScrollBar_ = value;
    host_.ShowScrollBar(ScrollBarKind::Horizontal, value);
    UpdateHorzRange();
}

void TLumEdit::SetVertScrollBar(bool value) {
    if (vertScrollBar_ == value) return;
    vertScrollBar_ = value;
    host_.ShowScrollBar(ScrollBarKind::Vertical, value);
    UpdateVertRange();
}

void TLumEdit::SetVertScrollLimit(int value) {
    vertScrollLimit_ = std::clamp(value, 0, 50);
    UpdateLayout();
}

void TLumEdit::SetFont(const FontDescription& font) {
    font_ = font;
    TakeMetrics();
    if (wordWrap_)
        RewrapWholeText();
    else
        RepaintAll();
}

}  // namespace zentabo
