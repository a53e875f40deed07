// Box selections in the model: the text a box holds, cutting it out, and pasting a
// text as a block of rows at one pixel x on successive lines.
#include <algorithm>
#include <stdexcept>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// The rows of a pasted text: split at line breaks, a final break adds no empty row.
std::vector<std::string> SplitRows(const std::string& text) {
    std::vector<std::string> rows;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t cr = text.find("\r\n", pos);
        if (cr == std::string::npos) {
            rows.push_back(text.substr(pos));
            break;
        }
        rows.push_back(text.substr(pos, cr - pos));
        pos = cr + 2;
    }
    return rows;
}

// Pieces gathered top down, written as the payload lists them: the last one first.
// Putting each in front of a growing string would copy the payload once per row.
std::string JoinReversed(const std::vector<std::string>& pieces) {
    size_t size = 0;
    for (const std::string& p : pieces) size += p.size();
    std::string out;
    out.reserve(size);
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) out += *it;
    return out;
}

std::string Piece(int col, int line, std::string_view text) {
    std::string piece;
    AppendBoxPiece(piece, col, line, text);
    return piece;
}

}  // namespace

bool TLumEdit::IsBoxSelection() const {
    return boxSelMode_ && selActive_ && !allSelected_ && selStartLine_ != selEndLine_;
}

std::string TLumEdit::BoxTextBetween(int firstLine, int lastLine) const {
    // Measuring needs the host, which is not part of the editor's constant state.
    auto& self = const_cast<TLumEdit&>(*this);
    const int top = std::clamp(std::min(firstLine, lastLine), 0, LastLine());
    const int bottom = std::clamp(std::max(firstLine, lastLine), 0, LastLine());
    const int x0 = BoxColumFix ? 0 : self.ColumnToPixel(selStartLine_, selStartCol_);
    const int x1 = BoxColumFix ? 0 : self.BoxEndX();
    std::string out;
    for (int line = top; line <= bottom; ++line) {
        const BoxSpan span = self.BoxColumnsBetween(line, x0, x1);
        out.append(lines_.Get(line), static_cast<size_t>(span.start),
                   static_cast<size_t>(span.end - span.start));
        out += "\r\n";
    }
    return out;
}

void TLumEdit::DeleteBox(bool repaint) {
    const int top = std::min(selStartLine_, selEndLine_);
    const int bottom = std::max(selStartLine_, selEndLine_);
    // The edges are taken before any row changes: cutting the end row would move the
    // pixel x its column stands at.
    const int x0 = BoxColumFix ? 0 : ColumnToPixel(selStartLine_, selStartCol_);
    const int x1 = BoxColumFix ? 0 : BoxEndX();
    std::vector<BoxSpan> spans;
    for (int line = top; line <= bottom; ++line) spans.push_back(BoxColumnsBetween(line, x0, x1));
    selActive_ = allSelected_ = false;
    std::vector<std::string> pieces;
    for (int line = bottom; line >= top; --line) {
        const BoxSpan span = spans[static_cast<size_t>(line - top)];
        if (span.end <= span.start) continue;
        std::string s(lines_.Get(line));
        const std::string cut =
            s.substr(static_cast<size_t>(span.start), static_cast<size_t>(span.end - span.start));
        s.erase(static_cast<size_t>(span.start), static_cast<size_t>(span.end - span.start));
        // The pieces above are still as they were, so the conversion counts right.
        int col = span.start, logicalLine = line;
        if (wordWrap_) ToLogicalPos(col, logicalLine);
        lines_.Put(line, s);
        pieces.push_back(Piece(col, logicalLine, cut));
    }
    // Walked bottom up: the payload lists the top row first.
    const std::string payload = JoinReversed(pieces);
    caretLine_ = top;
    caretCol_ = spans.front().start;
    CollapseSelectionToCaret();
    RecordUndo(kUndoBoxDelete, payload, caretLine_, caretCol_);
    if (wordWrap_) {
        RewrapFrom(0, top, repaint, bottom);
        if (repaint) RepaintLines(top, topLine_ + linesPerPage_, 0);
    } else if (repaint) {
        UpdateAfterEdit(caretCol_, top, bottom, bottom);
    }
    CollapseSelectionToCaret();
    goalCol_ = caretCol_;
}

void TLumEdit::AppendLineForBox(std::vector<std::string>& pieces) {
    const int last = LastLine();
    std::string s(lines_.Get(last));
    int col = static_cast<int>(s.size()) - 1;
    s.back() = '\r';
    s += '\n';
    lines_.Put(last, s);
    lines_.Add(std::string(1, '\0'));
    int line = last;
    if (wordWrap_) ToLogicalPos(col, line);
    pieces.push_back(Piece(col, line, "\r\n"));
}

int TLumEdit::BoxColumnAt(int line, int x) {
    // One walk along the row up to x, as the box's own edges are found; the blanks a
    // short line needs follow the same half-cell rule.
    const int length = ContentLength(line);
    const int d = ColumnAtRowPixel(line, x);
    // A piece continued on the next display line takes no blanks at its end: they
    // would land inside the logical line.
    if (d < length || (wordWrap_ && !HasLineEnd(lines_.Get(line)))) return d;
    const int space = std::max(1, host_.TextWidth(" "));
    const int extra = x - ColumnToPixel(line, length);
    if (extra <= 0) return length;
    return length + extra / space + (extra % space > space - space / 2 ? 1 : 0);
}

void TLumEdit::InsertBox(const std::string& text, bool repaint) {
    const std::vector<std::string> rows = SplitRows(text);
    if (rows.empty()) return;
    caretLine_ = std::clamp(caretLine_, 0, LastLine());
    if (wordWrap_ && IsWrappedLine(caretLine_)) {
        const int x = ColumnToPixel(caretLine_, caretCol_);
        caretLine_ = LineStartOf(caretLine_);
        caretCol_ = BoxColumnAt(caretLine_, x);
    }
    if (!freeCaretMode_) caretCol_ = ClampCol(caretLine_, caretCol_);
    const int recLine = caretLine_, recCol = caretCol_;
    std::string head(lines_.Get(recLine).substr(
        0, static_cast<size_t>(std::min(recCol, ContentLength(recLine)))));
    head.append(static_cast<size_t>(std::max(0, recCol - ContentLength(recLine))), ' ');
    const int x0 = host_.TextWidth(ExpandTabs(head));
    const int x1 = host_.TextWidth(ExpandTabs(head + rows.front()));

    std::vector<std::string> inserted;
    std::string covered;
    int line = recLine;
    int endCol = recCol;
    bool appended = false;
    try {
        // A line the block needs at the end of the text is added once the row above it
        // is in place, so that undo, which takes the pieces back from the bottom, finds
        // the line break where it was recorded.
        for (size_t r = 0; r < rows.size(); ++r) {
            const int length = ContentLength(line);
            const int d = BoxColumnAt(line, x0);
            std::string s(lines_.Get(line));
            if (!insertMode_ && d < length) {
                const int to = std::clamp(ColumnAtRowPixel(line, x1), d, length);
                if (to > d) {
                    int col = d, logicalLine = line;
                    if (wordWrap_) ToLogicalPos(col, logicalLine);
                    AppendBoxPiece(covered, col, logicalLine,
                                   std::string_view(s).substr(static_cast<size_t>(d),
                                                              static_cast<size_t>(to - d)));
                    s.erase(static_cast<size_t>(d), static_cast<size_t>(to - d));
                }
            }
            // Short lines are filled with blanks up to the block's left edge, so every
            // row starts at the same x.
            const int at = std::min(d, length);
            const std::string piece = std::string(static_cast<size_t>(d - at), ' ') + rows[r];
            s.insert(static_cast<size_t>(at), piece);
            lines_.Put(line, s);
            int col = at, logicalLine = line;
            if (wordWrap_) ToLogicalPos(col, logicalLine);
            inserted.push_back(Piece(col, logicalLine, piece));
            endCol = d + static_cast<int>(rows[r].size());
            if (r + 1 == rows.size()) break;
            if (wordWrap_) line = LineEndOf(line);
            if (line == LastLine()) {
                AppendLineForBox(inserted);
                appended = true;
            }
            ++line;
        }
    } catch (const std::exception&) {
        ShowError("Error:OC009");
    }
    // Recorded even after a failure, so that undo takes back what was done.
    if (!covered.empty()) RecordUndo(kUndoBoxDelete, covered, recLine, recCol);
    RecordUndo(kUndoBoxInsert, JoinReversed(inserted), recLine, recCol);
    caretLine_ = std::clamp(line, 0, LastLine());
    caretCol_ = ClampCol(caretLine_, endCol);
    if (wordWrap_) {
        RewrapFrom(0, recLine, repaint, caretLine_);
        if (repaint) RepaintLines(recLine, topLine_ + linesPerPage_, 0);
    } else if (repaint) {
        UpdateAfterEdit(recCol, recLine, appended ? -1 : caretLine_, caretLine_);
    }
    CollapseSelectionToCaret();
    goalCol_ = caretCol_;
}

}  // namespace zentabo
