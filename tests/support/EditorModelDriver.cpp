#include "EditorModelDriver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

#include "HeadlessHost.h"
#include "editor/LumEdit.h"
#include "platform/VirtualKeys.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

class ByteSource {
public:
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    int Below(int n) { return n <= 0 ? 0 : Next() % n; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Typed and pasted text: every CR, LF and CR LF becomes CR LF; NUL bytes stay.
std::string Normalize(const std::string& text) {
    std::string out;
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

class Driver {
public:
    Driver(ByteSource& in, int checkEvery) : in_(in), checkEvery_(checkEvery) {
        host_.SetClientSize(320 + in_.Below(8) * 40, 200);
        edit_ = std::make_unique<TLumEdit>(host_);
        edit_->SetColumn(10 + in_.Below(30));
        if (in_.Below(4) == 0) edit_->SetWordWrap(false);
        std::string start = RandomText(in_.Below(200));
        edit_->SetAllText(start);
        ref_ = start;  // SetAllText keeps every byte: lone CR, lone LF and NUL too
        start_ = ref_;
        seen_.insert(ref_);
    }

    DriverResult Run(int maxSteps) {
        DriverResult result;
        Check("start");
        while (!in_.Empty() && failure_.empty() && (maxSteps == 0 || result.steps < maxSteps)) {
            Step();
            ++result.steps;
            if (getenv("ZENTABO_DRIVER_TRACE")) fprintf(stderr, "%s\n", Dump().c_str());
            if (failure_.empty() && result.steps % checkEvery_ == 0)
                Check("step " + std::to_string(result.steps));
        }
        if (failure_.empty()) UndoEverything();
        result.ok = failure_.empty();
        result.failure = failure_;
        return result;
    }

private:
    std::string RandomText(int length) {
        std::string s;
        while (static_cast<int>(s.size()) < length) {
            switch (in_.Below(10)) {
                case 0:
                    s += "\r\n";
                    break;
                case 1:
                    s += "\x82\xA0";
                    break;  // a hiragana
                case 2:
                    s += "\x88\x9F";
                    break;  // a kanji
                case 3:
                    s += "\x81\x40";
                    break;  // the full-width space
                case 4:
                    s += '\t';
                    break;
                case 5:
                    s += static_cast<char>(in_.Next());
                    break;  // any byte at all
                default:
                    s += static_cast<char>('a' + in_.Below(26));
                    break;
            }
        }
        return s;
    }

    size_t Offset(int line, int col) const {
        size_t off = 0;
        for (int i = 0; i < line; ++i) off += edit_->Lines().Get(i).size();
        return off + static_cast<size_t>(col);
    }

    std::string Dump() const {
        if (!getenv("ZENTABO_DRIVER_DUMP")) return {};
        std::string out = "\nstart: ";
        for (char c : start_) out += "<" + std::to_string(static_cast<unsigned char>(c)) + ">";
        out += "\nops: " + ops_ + "\nundo kinds:";
        for (auto& r : edit_->UndoList())
            out += " " + std::to_string(r.kind) + "@" + std::to_string(r.line) + "," +
                   std::to_string(r.column) + "/" + std::to_string(r.text.size());
        out += "\n";
        for (int i = 0; i < edit_->LineCount() && i < 30; ++i) {
            for (char c : edit_->Lines().Get(i)) {
                unsigned char u = static_cast<unsigned char>(c);
                if (u < 32 || u >= 127)
                    out += "<" + std::to_string(u) + ">";
                else
                    out += c;
            }
            out += "\n";
        }
        return out;
    }

    void Fail(const std::string& what) {
        if (failure_.empty())
            failure_ = what + " (operation " + std::to_string(lastOp_) + ", word wrap " +
                       std::to_string(edit_->WordWrap()) + ", column " +
                       std::to_string(edit_->Column()) + ")" + Dump();
    }

    // The text changed as one user step: it becomes a new undo snapshot.
    void Changed() { seen_.insert(ref_); }

    void DeleteSelectionInRef() {
        if (!edit_->SelActive() && !edit_->AllSelected()) return;
        SelectionRange r = edit_->GetSelectionRange();
        size_t a = Offset(r.startLine, r.startCol);
        size_t b = Offset(r.endLine, r.endCol);
        if (b > ref_.size()) b = ref_.size();
        if (a < b) ref_.erase(a, b - a);
    }

    // The caret never rests inside a character: where a deletion paired a lone lead
    // byte with the byte after it, the editor's caret stands one byte to the left.
    size_t SnapLeft(size_t p) const {
        if (p > 0 && p < ref_.size() && ref_.compare(p, 2, "\r\n") != 0 &&
            ByteTypeAt(ref_, static_cast<int>(p) + 1, false) == kTrailByte)
            return p - 1;
        return p;
    }

    void TypeInRef(std::string text) {
        text = Normalize(text);
        if (text.empty()) return;
        const bool hadSelection = edit_->SelActive() || edit_->AllSelected();
        DeleteSelectionInRef();
        const std::string afterDelete = ref_;
        // The caret after the selection was deleted is the earlier end.
        size_t p;
        if (edit_->SelActive() || edit_->AllSelected()) {
            SelectionRange r = edit_->GetSelectionRange();
            p = SnapLeft(Offset(r.startLine, r.startCol));
        } else {
            p = Offset(edit_->CaretLine(), edit_->CaretCol());
        }
        if (!edit_->InsertMode() && p < ref_.size()) {
            size_t lineEnd = ref_.find("\r\n", p);
            if (lineEnd == std::string::npos) lineEnd = ref_.size();
            int after = static_cast<int>(lineEnd - p);
            int n = std::min(after, static_cast<int>(text.size()));
            if (n > 0 && n < after &&
                ByteTypeAt(ref_, static_cast<int>(p) + n, false) == kLeadByte) {
                n = std::min(after, static_cast<int>(text.size()) + 1);
                text += ' ';
            }
            ref_.erase(p, static_cast<size_t>(n));
            // Three records (selection, covered bytes, typed text): undo takes two steps.
            if (hadSelection && n > 0) seen_.insert(afterDelete);
        }
        ref_.insert(p, text);
    }

    // Drags the selection with the mouse to a random visible point and drops it
    // there, moved or (Ctrl) copied; the reference moves the bytes itself.
    void DragSelection() {
        if (!edit_->SelActive() || edit_->BoxSelMode()) return;
        const SelectionRange r = edit_->GetSelectionRange();
        const int line = edit_->SelEndLine(), col = edit_->SelEndCol();
        if (line < edit_->TopLine() || line >= edit_->TopLine() + edit_->LinesPerPage()) return;
        auto y = [&](int l) {
            return edit_->TopMargin() + (l - edit_->TopLine()) * edit_->LineHeight() + 2;
        };
        const int x = edit_->TextLeft() + edit_->ColumnToPixel(line, col) - edit_->HorzOffset() + 1;
        edit_->MouseDown(TLumEdit::mbLeft, 0, x, y(line));
        const ClientSize size = host_.GetClientSize();
        const int tx = edit_->TextLeft() + in_.Below(std::max(1, size.width - edit_->TextLeft()));
        const int ty = y(edit_->TopLine() + in_.Below(std::max(1, edit_->LinesPerPage())));
        edit_->MouseMove(0, tx, ty);
        const bool copy = in_.Below(3) == 0;
        if (copy) host_.keysDown.push_back(vk::kControl);
        const std::string before = ref_;
        std::string edgeCopy;
        if (edit_->DragActive()) {
            const size_t a = Offset(r.startLine, r.startCol);
            const size_t b = std::min(Offset(r.endLine, r.endCol), ref_.size());
            const size_t d = Offset(
                edit_->CaretLine(),
                std::min(
                    edit_->CaretCol(),
                    static_cast<int>(StripLineEnd(edit_->Lines().Get(edit_->CaretLine())).size())));
            const std::string text = ref_.substr(a, b - a);
            // The start of the line after a selection that ends with its line break
            // lies outside it.
            const bool endsWithBreak =
                text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
            if (!text.empty() && (d < a || d > b || (d == b && endsWithBreak))) {
                if (copy) {
                    ref_.insert(d, text);
                } else {
                    ref_.erase(a, b - a);
                    ref_.insert(SnapLeft(d < a ? d : d - (b - a)), text);
                }
            } else if (!text.empty() && copy && (d == a || d == b)) {
                // On an edge of the selection that word wrap shows as the end of the
                // display line before it, the drop lies outside the highlight and
                // copies; on the highlight's own edge it does nothing. Both are sound.
                std::string copied = ref_;
                copied.insert(d, text);
                edgeCopy = copied;
            }
        }
        edit_->MouseUp(TLumEdit::mbLeft, 0, tx, ty);
        host_.keysDown.clear();
        if (!edgeCopy.empty() && edit_->GetAllText() == edgeCopy) ref_ = edgeCopy;
        if (edit_->GetAllText() != ref_) return Fail("a drag gave another text than the reference");
        if (ref_ != before && in_.Below(2) == 0) {
            // One undo step takes the whole move back, one redo does it again.
            const std::string after = ref_;
            edit_->Undo();
            if (edit_->GetAllText() != before) return Fail("undo of a drag is not one step");
            edit_->Redo();
            if (edit_->GetAllText() != after) return Fail("redo of a drag differs");
        }
    }

    static int CountLineBreaks(const std::string& s) {
        int n = 0;
        for (size_t p = s.find("\r\n"); p != std::string::npos; p = s.find("\r\n", p + 2)) ++n;
        return n;
    }

    // A box: selected, then copied and pasted back as a box, or cut out. The box's
    // rows come from the editor; the checks are what must hold whatever they are.
    void BoxOperation() {
        const int lines = edit_->LineCount();
        edit_->SetBoxSelMode(true);
        edit_->BoxColumFix = in_.Below(2) == 0;
        edit_->SetSel(in_.Below(40), in_.Below(lines), in_.Below(lines), in_.Below(40));
        const std::string rows = edit_->GetSelText();
        const std::string before = ref_;
        const bool box = edit_->SelStartLine() != edit_->SelEndLine();
        if (box) {
            const int rowCount = std::abs(edit_->SelEndLine() - edit_->SelStartLine()) + 1;
            if (CountLineBreaks(rows) != rowCount) return Fail("a box row without its CR LF");
        }
        if (in_.Below(2) == 0) {
            edit_->CutToClipboard();
            const std::string now = edit_->GetAllText();
            // A box keeps every line break; within one line it is an ordinary range.
            const size_t removed =
                box ? rows.size() - 2 * static_cast<size_t>(CountLineBreaks(rows)) : rows.size();
            if (now.size() + removed != before.size() ||
                (box && CountLineBreaks(now) != CountLineBreaks(before)))
                return Fail("a box cut removed other bytes than its rows");
            ref_ = now;
        } else {
            edit_->MoveCaretTo(in_.Below(40), in_.Below(lines), 0);
            std::string block = rows.empty() ? RandomText(in_.Below(20)) : rows;
            edit_->InsertString(block);
            ref_ = edit_->GetAllText();
            if (edit_->InsertMode() && ref_.size() < before.size() + Normalize(block).size() -
                                                         2 * CountLineBreaks(Normalize(block)))
                return Fail("a box paste lost bytes");
        }
        edit_->SetBoxSelMode(false);
    }

    void Step() {
        int op = in_.Below(20);
        // Long runs would otherwise grow the text without bound and slow every check.
        if (ref_.size() > 4000 && (op == 5 || op == 16 || op == 17)) op = 15;
        lastOp_ = op;
        ops_ += std::to_string(op) + (edit_->InsertMode() ? "" : "o") + "[" +
                std::to_string(edit_->CaretLine()) + "," + std::to_string(edit_->CaretCol()) +
                (edit_->SelActive() ? " sel " + std::to_string(edit_->SelStartLine()) + "," +
                                          std::to_string(edit_->SelStartCol()) + "-" +
                                          std::to_string(edit_->SelEndLine()) + "," +
                                          std::to_string(edit_->SelEndCol())
                                    : std::string()) +
                "] ";
        switch (op) {
            case 0:
            case 1: {
                std::string t(1, static_cast<char>('a' + in_.Below(26)));
                TypeInRef(t);
                edit_->TypeText(t);
                break;
            }
            case 2: {
                std::string t = in_.Below(2) ? "\x82\xA0" : "\x93\xFA";
                TypeInRef(t);
                edit_->TypeText(t);
                break;
            }
            case 3:
                TypeInRef("\r\n");
                edit_->TypeText("\r\n");
                break;
            case 4:
                edit_->SetInsertMode(!edit_->InsertMode());
                return;
            case 5: {
                std::string t = RandomText(in_.Below(60));
                std::string n = Normalize(t);
                DeleteSelectionInRef();
                {
                    size_t p = (edit_->SelActive() || edit_->AllSelected())
                                   ? SnapLeft(Offset(edit_->GetSelectionRange().startLine,
                                                     edit_->GetSelectionRange().startCol))
                                   : Offset(edit_->CaretLine(), edit_->CaretCol());
                    ref_.insert(p, n);
                }
                edit_->InsertString(t);
                break;
            }
            case 6: {
                int l1 = in_.Below(edit_->LineCount() + 1), l2 = in_.Below(edit_->LineCount() + 1);
                edit_->SetSel(in_.Below(90), l1, l2, in_.Below(90));
                return;
            }
            case 7: {
                bool had = edit_->SelActive() || edit_->AllSelected();
                DeleteSelectionInRef();
                if (in_.Below(2))
                    edit_->CutToClipboard();
                else
                    edit_->DeleteSelection(true, false);
                if (!had) return;
                break;
            }
            case 8:
                DoUndo();
                return;
            case 9:
                DoRedo();
                return;
            case 10:
                edit_->SetWordWrap(!edit_->WordWrap());
                return;
            case 11:
                edit_->SetColumn(in_.Below(50));
                return;
            case 12:
                edit_->MoveCaretTo(in_.Below(100), in_.Below(edit_->LineCount() + 2), in_.Below(3));
                return;
            case 13: {
                // Forward deletion of one character at the caret.
                if (edit_->SelActive() || edit_->AllSelected()) {
                    DeleteSelectionInRef();
                } else {
                    size_t p = Offset(edit_->CaretLine(), edit_->CaretCol());
                    if (p < ref_.size()) {
                        // A lead byte right before a line break or the end is one byte;
                        // before a lone CR it pairs with it, as before any other byte.
                        size_t len = 1;
                        if (ref_.compare(p, 2, "\r\n") == 0)
                            len = 2;
                        else if (ByteTypeAt(ref_, static_cast<int>(p) + 1, false) == kLeadByte &&
                                 p + 1 < ref_.size() && ref_.compare(p + 1, 2, "\r\n") != 0)
                            len = 2;
                        ref_.erase(p, std::min(len, ref_.size() - p));
                    }
                }
                edit_->DeleteForward();
                break;
            }
            case 14: {
                if (edit_->SelActive() || edit_->AllSelected()) {
                    DeleteSelectionInRef();
                } else {
                    size_t p = Offset(edit_->CaretLine(), edit_->CaretCol());
                    if (p > 0) {
                        size_t len = 1;
                        if (p >= 2 && ref_.compare(p - 2, 2, "\r\n") == 0)
                            len = 2;
                        else if (ByteTypeAt(ref_, static_cast<int>(p), false) == kTrailByte)
                            len = 2;
                        ref_.erase(p - len, len);
                    }
                }
                edit_->DeleteBackward();
                break;
            }
            case 15:
                edit_->SelectAll();
                return;
            case 16: {
                std::string t = RandomText(in_.Below(12));
                TypeInRef(t);
                edit_->TypeText(t);
                break;
            }
            case 18:
                DragSelection();
                break;
            case 19:
                BoxOperation();
                break;
            case 17: {
                // Copy and paste back what is selected.
                edit_->CopyToClipboard();
                std::string clip;
                if (host_.GetClipboardText(clip)) {
                    std::string n = Normalize(clip);
                    DeleteSelectionInRef();
                    size_t p = (edit_->SelActive() || edit_->AllSelected())
                                   ? SnapLeft(Offset(edit_->GetSelectionRange().startLine,
                                                     edit_->GetSelectionRange().startCol))
                                   : Offset(edit_->CaretLine(), edit_->CaretCol());
                    ref_.insert(p, n);
                    edit_->PasteFromClipboard();
                } else {
                    return;
                }
                break;
            }
        }
        Changed();
    }

    // Undo and redo may chain unrelated records that share a position, so one step
    // can cover one or two user steps; the result must still be a text the session
    // has shown before, and undoing everything must give back the start.
    void DoUndo() {
        if (edit_->UndoList().empty()) return;
        edit_->Undo();
        ref_ = edit_->GetAllText();
        if (!seen_.count(ref_)) Fail("undo gave a text that was never there");
    }

    void DoRedo() {
        if (edit_->RedoList().empty()) return;
        edit_->Redo();
        ref_ = edit_->GetAllText();
        if (!seen_.count(ref_)) Fail("redo gave a text that was never there");
    }

    void UndoEverything() {
        int guard = 100000;
        while (!edit_->UndoList().empty() && --guard > 0) {
            edit_->Undo();
            if (getenv("ZENTABO_DRIVER_TRACE")) fprintf(stderr, "undo:%s\n", Dump().c_str());
        }
        ref_ = edit_->HistoryTruncated() ? edit_->GetAllText() : start_;
        Check("after undoing everything");
        if (!failure_.empty()) return;
        if (!edit_->HistoryTruncated()) {
            if (edit_->GetAllText() != start_) Fail("undoing everything lost the start");
            if (edit_->Modified()) Fail("undoing everything left Modified set");
        }
    }

    void Check(const std::string& where) {
        const TLumStrings& lines = edit_->Lines();
        const int count = lines.Count();
        if (count < 1) return Fail(where + ": empty store");
        std::string all = edit_->GetAllText();
        if (all != ref_) return Fail(where + ": text differs from the reference");
        // Readers that keep a copy of the text trust the generation to tell them.
        if (all != checkedText_ && edit_->TextGeneration() == checkedGeneration_)
            return Fail(where + ": the text changed but its generation did not");
        checkedText_ = all;
        checkedGeneration_ = edit_->TextGeneration();
        const int w = edit_->WrapWidth();
        const int cw = edit_->CharWidth();
        for (int i = 0; i < count; ++i) {
            const std::string_view s = lines.Get(i);
            const bool last = i == count - 1;
            if (last != HasEndMark(s))
                return Fail(where + ": end mark on line " + std::to_string(i));
            std::string content(s);
            if (last)
                content.pop_back();
            else if (s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0)
                content.resize(s.size() - 2);
            else if (!edit_->WordWrap())
                return Fail(where + ": a piece without word wrap on line " + std::to_string(i));
            else if (s.empty())
                return Fail(where + ": an empty piece on line " + std::to_string(i));
            const bool piece = !last && content.size() == s.size();
            if (piece && (s.back() == '\r' || s.back() == '\n' || s.back() == '\0'))
                return Fail(where + ": a piece ending with a marker byte on line " +
                            std::to_string(i));
            // Runs of CR, LF and NUL cannot be cut, so a piece may grow over them.
            const bool uncuttable =
                content.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
            if (edit_->WordWrap() && !uncuttable) {
                int width = host_.TextWidth(edit_->ExpandTabs(content));
                bool oneChar =
                    content.size() == 1 || (content.size() == 2 && IsLeadByte(content[0]));
                if (width > w && width > 10 * cw && !oneChar)
                    return Fail(where + ": line " + std::to_string(i) +
                                " wider than the wrap width");
            }
        }
        int cl = edit_->CaretLine(), cc = edit_->CaretCol();
        if (cl < 0 || cl >= count) return Fail(where + ": caret line outside the text");
        const std::string_view cs = lines.Get(cl);
        if (cc < 0 || cc > static_cast<int>(cs.size()))
            return Fail(where + ": caret column outside the line");
        const int csLength = static_cast<int>(StripLineEnd(cs).size());
        if (cc > 0 && cc < csLength && ByteTypeAt(cs, cc + 1, false) == kTrailByte)
            return Fail(where + ": caret on a trail byte");
    }

    ByteSource& in_;
    HeadlessHost host_;
    std::unique_ptr<TLumEdit> edit_;
    std::string ref_;
    std::string start_;
    std::set<std::string> seen_;
    std::string failure_;
    int lastOp_ = -1;
    std::string ops_;
    int checkEvery_ = 1;
    std::string checkedText_;
    uint64_t checkedGeneration_ = 0;
};

}  // namespace

DriverResult RunEditorModel(const uint8_t* data, size_t size, int checkEvery, int maxSteps) {
    ByteSource in(data, size);
    Driver driver(in, checkEvery < 1 ? 1 : checkEvery);
    return driver.Run(maxSteps < 0 ? 0 : maxSteps);
}

}  // namespace zentabo
