#pragma once

// TLumEdit: the editor control's model and view state, written against EditorHost.
// The text lives in a TLumStrings as display lines; with WordWrap on, logical lines
// are physically split into pieces without a line-end marker.
//
// The implementation is split by concern: LumEditState.cpp (construction, properties,
// reset), LumEditText.cpp (whole-text operations, clipboard, messages), LumEditWrap.cpp
// (layout and word wrap), LumEditEditing.cpp (editing primitives), LumEditUndo.cpp
// (journal), LumEditViewport.cpp (metrics, scrolling arithmetic, repaint requests).

#include <climits>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditMessages.h"
#include "editor/UndoRecord.h"
#include "editor/ViewMessages.h"
#include "platform/EditorHost.h"
#include "store/LumStrings.h"

namespace zentabo {

enum TLineSizeUnit { uPercent, uPixel };
enum TDragMode : int { dmManual, dmAutomatic, dmOLEAuto };
enum TIMEReconvMode { imrAuto, imrManual };

// How ScrollCaretIntoView moves the view vertically.
enum ScrollKind { kScrollKeepMargin = 0, kScrollCentre = 1, kScrollSearchHit = 2 };

struct SelectionRange {
    int startCol = 0;
    int startLine = 0;
    int endLine = 0;
    int endCol = 0;
    bool present = false;
};

class TLumEdit {
public:
    explicit TLumEdit(EditorHost& host);
    ~TLumEdit();
    TLumEdit(const TLumEdit&) = delete;
    TLumEdit& operator=(const TLumEdit&) = delete;

    // ---- events (a handler is "assigned" when the function is set)
    std::function<void(TLumEdit& sender)> OnChange;
    std::function<void(TLumEdit& sender, bool modified)> OnChangeModify;
    std::function<void(TLumEdit& sender, bool RedoEnable)> OnChangeRedoMode;
    std::function<void(TLumEdit& sender, bool insmode)> OnChangeInsMode;
    std::function<void(TLumEdit& sender)> OnSelectionChange;
    std::function<void(TLumEdit& sender)> OnMoveCaret;
    std::function<void(TLumEdit& sender, const std::string& Str, const std::string& findchr,
                       int index, int& x, int& len)>
        OnFind;
    std::function<void(TLumEdit& sender, const std::string& findchr, int x, int y, int len,
                       int Count)>
        OnFindHit;
    std::function<void(TLumEdit& sender, const std::string& findchr)> OnFindNoHit;
    std::function<void(TLumEdit& sender, const std::string& findchr, const std::string& Changechr,
                       int x, int y, int len, int Count, bool& ChangeF, bool& kakuninF,
                       bool& AbortF)>
        OnFindChange;
    std::function<void(TLumEdit& sender, const std::string& findchr, const std::string& ChangeStr,
                       int Count)>
        OnFindChangeEnd;
    std::function<void(TLumEdit& sender, bool DeleteF)> OnCustomEdit;
    std::function<void(TLumEdit& sender, int c1, int c2, int x1, int x2)> OnUserDraw;
    // While the whole text is wrapped again: every few thousand logical lines, how far
    // it got, so the host can show that it is busy. Saying stop counts only in
    // ApplyViewSettings (see there).
    TaskProgress OnWrapProgress;
    // While LoadFile reads and lays out the file; saying stop ends the load with the
    // editor empty and LoadFile false (the caller puts back what was there).
    TaskProgress OnLoadProgress;
    // While a replace run without asking looks for its hits and replaces them: saying
    // stop ends the run with everything as it was before (a run that changed the text
    // takes its changes back) and OnFindChangeEnd not fired. A run whose changes grow
    // too large to take back fires OnReplaceCommit before the change that passes the
    // limit; its answers then no longer stop it, it reports on to the end.
    TaskProgress OnReplaceProgress;
    std::function<void(TLumEdit& sender)> OnReplaceCommit;

    // ---- properties read by the model
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool AutoWrap() const { return autoWrap_; }
    void SetAutoWrap(bool value);
    int Column() const { return column_; }
    void SetColumn(int value);
    int TabCount() const { return tabCount_; }
    void SetTabCount(int value);
    bool UndoRec = true;
    int UndoBuf() const { return undoBuf_; }
    void SetUndoBuf(int value);
    bool ReadOnly = false;
    bool AutoIndent = false;
    bool FreeCaretMode() const { return freeCaretMode_; }
    void SetFreeCaretMode(bool value);
    bool CaretScrollFix = false;
    bool CurSetMode() const { return curSetMode_; }
    void SetCurSetMode(bool value);
    bool BoxSelMode() const { return boxSelMode_; }
    void SetBoxSelMode(bool value);
    bool BoxColumFix = false;
    bool SingleByteMode = false;
    std::string QuotMarkStr = ">";
    bool ColorPrintF = true;
    bool ShowHTMLTagColor = false;
    std::string Version() const { return "TLumEdit Ver1.36"; }

    // ---- view properties (drawn by the view)
    bool ShowRuler() const { return showRuler_; }
    void SetShowRuler(bool value);
    bool ShowRulerCur() const { return showRulerCur_; }
    void SetShowRulerCur(bool value);
    int RulerCurWidth() const { return rulerCurWidth_; }
    void SetRulerCurWidth(int value);
    bool ShowEOF = true;
    bool ShowCR = true;
    bool ShowTAB = false;
    bool ShowDblSpace = true;
    bool ShowSglSpace = false;
    bool ShowUnderLine = false;
    bool ShowLineNumber = false;
    int LineNoColumn() const { return lineNoColumn_; }
    void SetLineNoColumn(int value);
    int TopMargin() const { return topMargin_; }
    void SetTopMargin(int value);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int value);
    int LineSpace() const { return lineSpace_; }
    void SetLineSpace(int value);
    TLineSizeUnit LineSpaceUnit() const { return lineSpaceUnit_; }
    void SetLineSpaceUnit(TLineSizeUnit value);
    int ScrollStep = 2;
    int WheelStep = 2;
    bool HorzScrollBar() const { return horzScrollBar_; }
    void SetHorzScrollBar(bool value);
    bool VertScrollBar() const { return vertScrollBar_; }
    void SetVertScrollBar(bool value);
    int VertScrollLimit() const { return vertScrollLimit_; }
    void SetVertScrollLimit(int value);
    bool WantTabs = true;
    TDragMode DragMode = dmAutomatic;
    TIMEReconvMode IMEReconvMode = imrAuto;
    TColor Color = 0xFFFFFF;
    const FontDescription& Font() const { return font_; }
    void SetFont(const FontDescription& font);
    TColor URLColor = 0xFF0000;
    TColor QuotMarkColor = 0x808080;
    TColor CREOFcolor = 0x808000;
    TColor SelColor = 0;
    TColor UlineColor = 0;
    TColor RulerColor = 0;
    TColor RulerCurColor = 0;
    int Width = 185;
    int Height = 89;
    bool TabStop = true;
    bool Ctl3D = true;
    bool ParentFont = false;
    bool ParentColor = false;
    bool ShowHint = false;
    bool ParentShowHint = false;

    // ---- model state
    const TLumStrings& Lines() const { return lines_; }
    int LineCount() const { return lines_.Count(); }
    int CaretLine() const { return caretLine_; }
    int CaretCol() const { return caretCol_; }
    int CaretX() const { return caretX_; }
    int CaretY() const { return (caretLine_ - topLine_) * lineHeight_; }
    int GoalCol() const { return goalCol_; }
    bool SelActive() const { return selActive_; }
    bool AllSelected() const { return allSelected_; }
    int SelStartLine() const { return selStartLine_; }
    int SelStartCol() const { return selStartCol_; }
    int SelEndLine() const { return selEndLine_; }
    int SelEndCol() const { return selEndCol_; }
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool value) { insertMode_ = value; }
    bool Modified() const { return modified_; }
    // After the text was written to its file: the flag drops without OnChangeModify, so
    // the page's undo state (which follows that event) stays as it is.
    void ClearModified() { modified_ = false; }
    // The text differs from its file without an edit to undo (a page restored from the
    // page store): undoing every edit leaves it modified.
    void MarkModified() {
        historyTruncated_ = true;
        modified_ = true;
    }
    // Moves on with every change of the text (and may move without one), so a reader
    // that keeps a copy of the text knows when its copy is stale without comparing.
    // No two editors ever share a value.
    uint64_t TextGeneration() const { return textGeneration_; }
    bool RedoAvailable() const { return redoAvailable_; }
    bool HistoryTruncated() const { return historyTruncated_; }
    int64_t UndoBytes() const { return undoBytes_; }
    const std::deque<UndoRecord>& UndoList() const { return undoList_; }
    const std::deque<UndoRecord>& RedoList() const { return redoList_; }

    // ---- view metrics
    int TopLine() const { return topLine_; }
    int MaxTopLine() const;
    int HorzOffset() const { return horzOffset_; }
    int LinesPerPage() const { return linesPerPage_; }
    int ColumnsPerPage() const { return columnsPerPage_; }
    int VertScrollLines() const { return vertScrollLines_; }
    int HorzStep() const { return horzStep_; }
    int CaretEdgeGap() const { return caretEdgeGap_; }
    int WidestLine() const { return widestLine_; }
    int LineHeight() const { return lineHeight_; }
    int FontHeight() const { return fontHeight_; }
    int CharWidth() const { return charWidth_; }
    int TextLeft() const { return textLeft_; }
    int TextAreaWidth() const { return textAreaWidth_; }
    int TextAreaHeight() const { return textAreaHeight_; }
    int WrapWidth() const;

    // ---- whole-text operations
    void ResetState();
    // progress: how far the layout of a large text got; it cannot stop it.
    void SetAllText(std::string text, const TaskProgress& progress = {});
    std::string GetAllText() const;
    bool LoadFile(const std::string& fileName);
    bool SaveFile(const std::string& fileName);
    void ClearAll();
    void SelectAll();
    void SetSel(int startCol, int startLine, int endLine, int endCol);
    std::string GetSelText() const;
    // The selected bytes, read in place where the store holds them in one piece, else
    // copied into storage. Valid until the text changes.
    std::string_view GetSelTextInPlace(std::string& storage) const;
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void InsertString(const std::string& text);
    int FreeCaretLimit();
    int CaretDisplayColumn();
    // The edit-control messages; pointers travel in wParam/lParam.
    intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam);

    // ---- layout and word wrap
    std::string ExpandTabs(std::string_view s) const;
    int WrapBreak(std::string_view s);
    // The lengths of text's display lines: every logical line cut by the word wrap when
    // wrap is on, whole when it is off, telling progress how far it got. False when
    // progress stopped it (only when stoppable).
    bool CutWholeText(std::string_view text, bool wrap, bool stoppable,
                      std::vector<uint32_t>& lengths, const TaskProgress& progress);
    void RewrapFrom(int caretPixelX, int firstLine, bool repaint, int lastLine);
    void ToLogicalPos(int& col, int& line) const;
    // insideBreak: the column may stand between the CR and the LF of the line's break,
    // where the journal puts back a byte whose removal joined the two.
    void ToDisplayPos(int& col, int& line, bool insideBreak = false) const;
    int LineStartOf(int line) const;
    int LineEndOf(int line) const;
    bool IsWrappedLine(int line) const;

    // ---- editing
    SelectionRange GetSelectionRange() const;
    std::string GetTextRange(int startCol, int startLine, int endLine, int endCol) const;
    void SelectFrom(int length, int col, int line);
    void DeleteSelection(bool repaint, bool box);
    // Clamps the caret for an insertion; a free caret past the line end pads text.
    void PlaceCaretForInsert(std::string& text);
    void InsertAtCaret(const std::string& text, bool repaint, bool box);
    // Inserts the bytes as they are, lone CR and LF included: for the editor's own text.
    void InsertBytesAtCaret(std::string text, bool repaint);
    void TypeText(const std::string& text);
    // True when the selected bytes alone would not fit the undo buffer.
    bool SelectionOutgrowsUndoBuffer() const;
    void DeleteForward();
    void DeleteBackward();
    void ReplaceRange(const std::string& text, int startCol, bool repaint, int endLine, int endCol,
                      int startLine);
    void UpdateAfterEdit(int caretCol, int firstLine, int lastChangedLine, int lastLine);
    std::string PadBlanks(int line, int col) const;
    void MoveCaretTo(int col, int line, int scrollKind);
    // Replaces the selection (or inserts at the caret) with text, as InsertString does,
    // but builds and wraps the new display lines in one pass and journals the change as
    // one record, so that a whole-text command on a large page costs about a load.
    void ReplaceSelection(std::string text);

    // ---- search and replace
    // The editor walks the lines and asks OnFind where the search text matches; it
    // never compares text itself.
    void SetFindText(const std::string& text);
    void FindFirst();
    void FindNext();
    void FindPrev();
    // False when OnReplaceProgress stopped the run before it changed anything.
    bool FindReplace(const std::string& findText, const std::string& replaceText, bool fromTop,
                     bool confirm, bool wholeText);
    // Paints the current hit like a selection, in color instead of SelColor.
    void HighlightHit(TColor color);
    void ResetFindStart();
    const std::string& SearchText() const { return searchText_; }
    const std::string& ChangeText() const { return changeText_; }
    int HitCount() const { return hitCount_; }
    int HitLine() const { return hitLine_; }
    int HitCol() const { return hitCol_; }
    int HitLength() const { return findHighlightLength_; }
    int SearchEndLine() const { return searchEndLine_; }
    int SearchEndCut() const { return searchEndCut_; }

    // ---- undo
    bool RecordUndo(uint8_t kind, const std::string& text, int line, int column);
    // What every change does to the journal before its record: marks the text
    // modified and empties redo; false when nothing is recorded, with undo emptied.
    bool BeginJournalledChange();
    void Undo();
    void Redo();

    // ---- caret, scrolling and keyboard
    // Key events: a handler may change key (or set it to 0 to suppress the editor's action).
    std::function<void(TLumEdit& sender, int& key)> OnKeyDown;
    std::function<void(TLumEdit& sender, int& key)> OnKeyUP;
    std::function<void(TLumEdit& sender, char& key)> OnKeyPress;
    std::function<void(TLumEdit& sender)> OnIMEChanging;
    std::function<void(TLumEdit& sender)> OnIMEChanged;
    // Key-down with a virtual key; Shift, Ctrl and the IME keys are read from the host.
    void KeyDown(int key);
    void KeyUp(int key);
    // Typed characters (code page 932) as the character message takes them: printable
    // single bytes and whole double-byte characters; controls and stray lead bytes are
    // dropped. Nothing is typed under ReadOnly or while Ctrl is held.
    void TypeChars(std::string_view cp932);
    // The input method's committed string: typed unless ReadOnly.
    void ImeResult(std::string_view cp932);
    void ImeStartComposition();
    void ImeEndComposition();
    bool IMEComposing() const { return imeComposing_; }
    // ---- input method text services (LumEditIme.cpp)
    std::function<void(TLumEdit& sender)> OnIMEReConvert;
    // What the input method may read around the caret, in UTF-16 units: the caret's
    // logical line, or the logical lines an offered selection spans, cut to a few
    // thousand characters around it.
    struct ImeSurrounding {
        std::u16string text;
        int cursor = 0;
        int anchor = 0;
    };
    ImeSurrounding ImeSurroundingText() const;
    // A stream selection the input method may take for reconversion: none while a
    // composition is open or in box mode.
    bool ImeOffersSelection() const;
    // The input method takes the offered selection to compose it again.
    void ImeReconvertRequest();
    // The input method deletes around the caret (UTF-16 units from the caret); taking
    // exactly the offered selection, or nothing, is how it asks for a reconversion.
    void ImeDeleteSurrounding(int start, int length);
    // A committed string with the range it replaces, relative to the caret in UTF-16
    // units; the offered selection counts as removed first, as in Qt's own editors.
    void ImeCommit(std::string_view cp932, int replaceStart, int replaceLength);
    // WM_VSCROLL: answers the applied delta.
    int VScroll(int code, int thumbPos);
    void HScroll(int code, int thumbPos);
    void MouseWheel(int delta);
    // WM_SIZE: the client size changed.
    void Resize();
    void FocusIn();
    void FocusOut();
    // Measures again and lays the text out for the view settings. After
    // HoldWrapsUntilApply it wraps the whole text once, or not at all when the settings
    // that shape the pieces are those the text is wrapped for. False: OnWrapProgress
    // stopped that wrap; the text keeps its layout, and the caller applies again the
    // settings it was made for (which then wraps nothing).
    bool ApplyViewSettings();
    // Holds back the whole-text re-wraps that the font, column, tab and wrap setters
    // start, until the next ApplyViewSettings, which then wraps once.
    void HoldWrapsUntilApply();
    // Whole-text re-wraps so far: applying settings costs one.
    int WholeTextWraps() const { return wholeTextWraps_; }
    void SetColor(TColor value);
    int VertScrollScale() const;
    int HorzScrollScale() const;
    int ScrollRepeat() const { return scrollRepeat_; }
    // The view's messages (scrolling, wheel, size, focus, keys, caret position);
    // Perform hands them here.
    intptr_t PerformView(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    // The word class of a character code (a double-byte code is lead x 256 + trail).
    static int CharClass(int code);

    // ---- viewport
    bool ScrollCaretIntoView(int col, int line, int kind, bool setGoal, bool collapse);
    void UpdateLayout();
    void TakeMetrics();
    void PlaceCaret();
    void UpdateVertRange();
    void UpdateHorzRange();
    // Pixel x of the first col bytes of a display line (tabs expanded), not scrolled.
    int ColumnToPixel(int line, int col);
    // The byte column of a display line at pixel x (text-relative), never inside a
    // double-byte character; with pad the line is thought filled with blanks.
    int PixelToColumn(int line, int x, bool pad);

    // ---- painting and metrics
    std::function<void(TLumEdit& sender)> OnPaint;
    std::function<void(TLumEdit& sender, int L1, int L2, int dx1, int dy1, int dx2, int dy2)>
        OnUserClientDraw;
    int DigitWidth() const { return digitWidth_; }
    int GutterWidth() const { return gutterWidth_; }
    int MinTextLeft() const { return minTextLeft_; }
    int CRMarkTop() const { return crMarkTop_; }
    int CRMarkBottom() const { return crMarkBottom_; }
    int SpaceWidth() const { return spaceWidth_; }
    int DblSpaceWidth() const { return dblSpaceWidth_; }
    int DblSpaceHeight() const { return dblSpaceHeight_; }
    int RulerLimit() const { return rulerLimit_; }
    // The font the editor draws with: Font's face and height, no styles.
    FontDescription EditorFontDescription() const;
    // Full repaint of the client area, then OnPaint.
    void Paint();
    // kind 0: TopLine..; 1: caret row - 1..; 2: caret row..; 3: max(a, TopLine)..;
    // 4: the caret row; 5: max(a, TopLine)..min(b, last visible row).
    void RepaintRange(int kind, int a = 0, int b = 0);
    // One display line as the selection state says (unselected, stream selection, all).
    void DrawLine(int line);
    void DrawRow(int line);
    void DrawSegment(int line, int from, bool selected, int to);
    void ExtendSelectionTo(int col, int line, bool fromMouse);
    void DrawCaretUnderline(int line, bool draw);
    // Erases the underline where it is and draws it under the caret row when allowed.
    void MoveCaretUnderline();
    void SetGutterWidth();
    // Widens or narrows the gutter for the line count; true when TextLeft changed.
    bool AdaptGutter();
    void DrawGutter(int firstLine, int lastLine);
    // The top band: fill, ruler, OnUserDraw, ruler cursor (after a full repaint or a
    // horizontal scroll).
    void DrawTopBand();
    void DrawRuler(int lastColumn);
    void DrawRulerCursor(bool first);

    // ---- box selection painting
    // The byte columns [start, end) a box covers on a display line; end never passes
    // the line's text and neither edge cuts a double-byte character.
    struct BoxSpan {
        int start = 0;
        int end = 0;
    };
    BoxSpan BoxColumns(int line);
    // The text-relative pixel x of the box's moving edge.
    int BoxEndX();
    // Where the mouse is (client x) when a mouse selection extends the box.
    void SetBoxMouseX(int clientX) { boxMouseX_ = clientX; }

    // ---- mouse (client pixels; shift is a set of kShift* bits)
    enum TMouseButton { mbLeft, mbRight, mbMiddle };
    static constexpr int kShiftShift = 1;
    static constexpr int kShiftAlt = 2;
    static constexpr int kShiftCtrl = 4;
    std::function<void(TLumEdit& sender, TMouseButton button, int shift, int x, int y)> OnMouseDown;
    std::function<void(TLumEdit& sender, int shift, int x, int y)> OnMouseMove;
    std::function<void(TLumEdit& sender, TMouseButton button, int shift, int x, int y)> OnMouseUp;
    std::function<void(TLumEdit& sender)> OnDblclick;
    std::function<void(TLumEdit& sender)> OnClick;
    std::function<void(TLumEdit& sender, const std::string& SelectStr, bool& CanDrag)>
        OnManualStartDrag;
    void MouseDown(TMouseButton button, int shift, int x, int y);
    void MouseMove(int shift, int x, int y);
    void MouseUp(TMouseButton button, int shift, int x, int y);
    void DblClick();
    // The 40 ms timer: auto-scroll while a mouse selection is outside the text area.
    void TimerTick();
    // Ctrl went down or up: a drag shows whether it moves or copies.
    void UpdateDragCursor();
    // Inserts text at a client point (the X11 primary selection's middle click).
    void InsertAtPoint(int x, int y, const std::string& text);
    // Alt+Shift with the arrow keys: box mode for the selection being made.
    void BeginTemporaryBox();
    // The focus went elsewhere with the button still down: the selection made so far
    // stays, a drag ends without a drop.
    void CancelMouse();
    bool MouseSelecting() const { return mouseSelecting_; }
    bool DragActive() const { return dragActive_; }
    int AutoScrollDirection() const { return autoScrollDir_; }

    // ---- drag and drop with other programs (dmOLEAuto; LumEditOleDrag.cpp)
    std::function<void(TLumEdit& sender)> OnOLEDropText;
    // The dropped files' names joined with "|".
    std::function<void(TLumEdit& sender, const std::string& DropFiles)> OnOLEDropFiles;
    // Text dragged over the editor: the caret marks the drop point, the edges scroll.
    void OleDragOver(int x, int y);
    void OleDragLeave();
    // Text dropped at the caret: onto the drag's own source it moves (a copy with
    // Ctrl), from elsewhere it is inserted. False when nothing changed.
    bool OleDropText(const std::string& text, bool ontoSource);
    enum TOleDragResult { odCancelled, odCopied, odMoved };
    // The source's drag is over: a move elsewhere cuts the selection, a copy clears
    // it, a cancelled or refused drag keeps it.
    void EndOleDrag(TOleDragResult result);

private:
    friend class EditorTestAccess;

    // caret, scrolling and keyboard
    int ScrollView(int request, bool fromKey);
    void MoveCaretRows(int rows);
    void AfterCaretMove(int oldCol, int oldLine);
    void ExtendSelectionToCaret();
    void BringCaretBack();
    bool ShiftHeld();
    int GoalX();
    int CharLenAt(int line, int col) const;
    int CodeAt(std::string_view s, int col) const;
    int WordEnd(int line, int col) const;
    int WordStart(int line, int col) const;
    void StepToNextLine();
    void CharRight(bool word);
    void CharLeft(bool word);
    void LineStart();
    void LineEnd();
    void TextStart();
    void TextEnd();
    void LineDown();
    void LineUp();
    void PageDown();
    void PageUp();
    void NewLine();
    void InsertTab();
    void DeleteWordForward();
    void DeleteWordBackward();
    void DeleteRangeToCaret(int col, int line);
    bool keyHandling_ = false;
    bool scrolling_ = false;
    bool caretFollow_ = true;
    int16_t scrollRepeat_ = 0;
    int lastScrollDelta_ = 0;
    int caretFollowCount_ = 0;
    int goalX_ = 0;
    int goalXCol_ = -1;
    int goalXLine_ = -1;
    bool imeComposing_ = false;
    bool imeReconverting_ = false;  // from a reconversion request to the composition's end
    struct ImeContext;
    bool HasStreamSelection() const;
    ImeContext ImeContextAt(bool offerSelection) const;
    void ImePositionAt(const ImeContext& c, int units, int& line, int& col) const;

    // helpers shared between the concern files
    static std::string NormalizeInput(std::string_view text);
    // Puts the selection on the clipboard; false when nothing was selected or it failed.
    bool CopySelection();
    int ContentLength(int line) const;
    // The display line ends its logical line: it ends with CR LF or is the last one.
    bool EndsLine(int line) const;
    int LastLine() const { return lines_.Count() - 1; }
    int ClampCol(int line, int col) const;
    // As ClampCol, but FreeCaretMode keeps a column beyond the line's text.
    int CaretColumnOn(int line, int col) const;
    void NormalizePos(int& line, int& col, bool snapToChar = true) const;
    // Both ends normalized, the start first.
    void OrderRange(int& startLine, int& startCol, int& endLine, int& endCol) const;
    void WalkForward(int line, int col, int length, int& endLine, int& endCol) const;
    std::string RangeText(int startCol, int startLine, int endLine, int endCol) const;
    void FireChange();
    static uint64_t NextTextGeneration();
    void SetModified(bool value);
    void CollapseSelectionToCaret();
    void ClearSelection();
    void SplitEntry(std::string_view entry, std::vector<std::string>& out);
    // How many bytes of rest (an entry or what is left of it) its first piece takes:
    // rest.size() when the rest is the last piece.
    std::size_t FirstPieceLength(std::string_view rest);
    // The lengths of the pieces SplitEntry would make of entry.
    void CutEntry(std::string_view entry, std::vector<uint32_t>& lengths);
    // Loads the file wrapped as it is read (LumEditWrapLoad.cpp); false when the store
    // could not do that and holds the file unwrapped.
    bool LoadWrapped(const std::string& fileName);
    // Every entry replaced by the pieces of text that lengths cut.
    void ReplaceStore(std::string&& text, std::vector<uint32_t>& lengths);
    void Refresh();
    // False: OnWrapProgress stopped it where it may (wrapStoppable_), nothing changed.
    bool RewrapWholeText();
    // What the pieces of a wrapped text depend on.
    struct WrapShape {
        int width, charWidth, areaWidth, tabCount;
        std::string fontName;
        int fontHeight, fontStyle;
        bool singleByte;
        bool operator==(const WrapShape&) const = default;
    };
    WrapShape CurrentWrapShape() const;
    void NoteWholeLayout();
    void InsertNoRecord(const std::string& text, bool caretAfter);
    // Splits the entries first..last (widened to the neighbours a CR LF spans) again
    // after every CR LF and, without word wrap, joins an entry that lost its break
    // with the next; the caret and lastInsertedLine_ stay on their bytes.
    void MendLineEnds(int first, int last);
    bool LineEndsBroken(int first, int last) const;
    // The caret stands between the CR and the LF of its line's break.
    bool CaretInsideBreak() const;
    // exact: the positions come from the journal and are taken byte for byte, even
    // where an inserted lone lead byte changed how the bytes pair up.
    std::string DeleteRangeNoRecord(int startCol, int startLine, int endLine, int endCol,
                                    bool& removedLines, bool exact = false);
    // The bulk replacement (LumEditReplaceRange.cpp): the range from (startCol,
    // startLine) to (endCol, endLine), display positions, becomes text, which is
    // released once its lines are built; answers the bytes taken out. The caret ends
    // behind the new text. exact: positions from the journal, taken byte for byte.
    std::string ReplaceRangeInBulk(int startCol, int startLine, int endLine, int endCol,
                                   std::string&& text, bool exact);
    bool LoneLeadPairsAcross(const SelectionRange& r) const;
    void JournalReplacement(UndoRecord record);
    void ApplyReplaceRecord(std::deque<UndoRecord>& from, std::deque<UndoRecord>& to,
                            bool fromUndo);
    void ShowReplacedLines(int firstLine, int oldCaretLine);
    void ApplyFront(std::deque<UndoRecord>& from, std::deque<UndoRecord>& to, bool fromUndo);
    void MoveRecord(std::deque<UndoRecord>& from, std::deque<UndoRecord>& to, bool fromUndo,
                    uint8_t newKind, std::string text);
    int ApplyDeleteAt(const UndoRecord& r);
    int ApplyInsertAt(const UndoRecord& r, bool caretAfter);
    std::string ApplyBoxPieces(const std::string& payload, bool insert, int& firstLine);
    void RecordToDisplay(int& col, int& line) const;
    void RepaintLines(int firstLine, int lastLine, int fromX);
    void RepaintAll();
    void RedrawWholeView();
    bool FollowRewrappedCaret(int oldCaretLine);
    bool ScrollPositionIntoView(int x, int line, int kind, int margin);
    void KeepCaretVisibleHorizontally();
    void ShowError(const char* text);

    EditorHost& host_;
    TLumStrings lines_;

    bool wordWrap_ = true;
    bool holdWraps_ = false;
    // The shape the text was wrapped for when the wraps were held; stale: a stopped
    // wrap left the text in that shape while the settings changed.
    WrapShape heldShape_{};
    bool shapeStale_ = false;
    bool wrapStoppable_ = false;
    int wholeTextWraps_ = 0;
    // The wrap width the whole text was last wrapped at; a resize that keeps it
    // (a scroll bar shown again) does not wrap again.
    int wrappedWidth_ = -1;
    bool autoWrap_ = false;
    int column_ = 72;
    int tabCount_ = 6;
    int undoBuf_ = 0xF8000;
    bool freeCaretMode_ = false;
    bool curSetMode_ = true;
    bool boxSelMode_ = false;
    bool showRuler_ = false;
    bool showRulerCur_ = false;
    int rulerCurWidth_ = 5;
    int lineNoColumn_ = 5;
    int topMargin_ = 4;
    int leftMargin_ = 10;
    int lineSpace_ = 10;
    TLineSizeUnit lineSpaceUnit_ = uPercent;
    bool horzScrollBar_ = false;
    bool vertScrollBar_ = true;
    int vertScrollLimit_ = 20;
    FontDescription font_{"FixedSys", 14, 0x000000, kStyleNone};

    int caretLine_ = 0;
    int caretCol_ = 0;
    int caretX_ = 0;
    int goalCol_ = 0;
    bool selActive_ = false;
    bool allSelected_ = false;
    int selStartLine_ = 0;
    int selStartCol_ = 0;
    int selEndLine_ = 0;
    int selEndCol_ = 0;
    int prevEndLine_ = 0;
    int prevEndCol_ = 0;
    int shiftStartLine_ = 0;
    int shiftStartCol_ = 0;
    bool insertMode_ = true;
    bool modified_ = false;
    uint64_t textGeneration_ = 0;

    std::deque<UndoRecord> undoList_;
    std::deque<UndoRecord> redoList_;
    int64_t undoBytes_ = 0;
    bool historyTruncated_ = false;
    bool redoAvailable_ = false;
    int findHighlightLength_ = 0;

    // ---- search and replace state (findHighlightLength_ above is HitLength)
    void BuildFindWindow(int line, int col);
    bool AskFind(int& x, int& len);
    bool SearchRangeTooShort() const;
    bool SeekForwardMatch(int& x, int& len);
    void ForwardStep(bool replace);
    void MarkReplaceHit(int line, int col, int len);
    void BackwardStep();
    bool LastMatchInLine(int& x, int& len);
    void SnapHitToCharacters(int line, int& col, int& len) const;
    void TakeHit(int line, int col, int len);
    void SkipBehindHit();
    void RemoveHitHighlight();
    void ReplaceHit();
    void ReplaceHitDeferred(int endLine, int endCol, std::string& deleted);
    void NoteRangeEnd();
    void RestoreRangeEnd();
    // Notes display lines first..last as touched by a replacement whose re-wrap waits.
    void NoteDeferredRewrap(int first, int last);
    void FinishDeferredRewrap();

    // ---- a replace run without asking, in two passes (LumEditReplacePlan.cpp): the
    // hits are found on the unchanged text, where the run can still stop, and then
    // replaced. tail: the bytes of the hit's line from the hit on, which the
    // replacements before it leave as they are.
    struct PlannedHit {
        int line, col, len, tail;
    };
    struct ReplacePlan {
        std::vector<PlannedHit> hits;
        int lineCount = 0;
        // False: the pass stopped at a hit that the run must find on the changed text.
        bool complete = false;
    };
    enum class ReplacePhase { kNone, kScan, kApply, kRest };
    // Progress is told every this many + 1 display lines searched.
    static constexpr int kReplacePollMask = 0x3FFF;
    void SetFindRange(bool wholeText, bool fromTop, int& line, int& col);
    void PlanReplaceRun(int line, int col, ReplacePlan& plan);
    bool ReplacementKeepsSeams(std::string_view inserted) const;
    bool SeamKept(int line, int col, int endLine, int endCol, bool emptyReplacement) const;
    void ApplyReplacePlan(const ReplacePlan& plan);
    void PollReplaceProgress();
    int replacePollLines_ = kReplacePollMask;  // display lines searched between polls, - 1
    size_t replacePollHits_ = 0xFFF;           // hits found or replaced between polls, - 1

    // ---- taking a stopped replace run back (LumEditReplaceRevert.cpp). While the run
    // can be taken back, its journal records are kept whole, not cut to the undo
    // budget, and the redo records it cleared are kept aside; taking it back applies
    // its records in reverse and puts the view where it was.
    struct RunRevert {
        bool active = false;     // the run's changes can still be taken back
        bool committed = false;  // OnReplaceCommit fired
        size_t undoCount = 0;    // records before the run
        int64_t undoBytes = 0;
        bool historyTruncated = false;
        bool modified = false;
        bool redoAvailable = false;
        bool redoKept = false;
        std::deque<UndoRecord> redo;
        int64_t cost = 0;  // bytes the run's records hold, with their upkeep
        int caretLine = 0, caretCol = 0, caretX = 0, goalCol = 0;
        int topLine = 0, horzOffset = 0;
        bool selActive = false, allSelected = false;
        int selStartLine = 0, selStartCol = 0, selEndLine = 0, selEndCol = 0;
        int prevEndLine = 0, prevEndCol = 0, shiftStartLine = 0, shiftStartCol = 0;
        int hitLine = 0, hitCol = 0, hitLength = 0, lastHitLength = 0;
    };
    void BeginRevertibleRun();
    // Before the run replaces a hit: a change that could not be taken back commits
    // the run first.
    void KeepRunRevertible(size_t removed, size_t inserted);
    void CommitRun();
    void EndRevertibleRun();
    void RevertRun();
    bool RunRevertible() const { return revert_.active; }
    RunRevert revert_;
    // The most the records of a run that can be taken back may hold.
    int64_t runRevertLimit_ = int64_t{256} << 20;
    ReplacePhase replacePhase_ = ReplacePhase::kNone;
    size_t replaceApplied_ = 0;
    size_t replacePlanned_ = 0;
    double replaceFraction_ = 0;
    double replaceScanEnd_ = 1;  // the share of the range the first pass covered
    std::string searchText_;
    std::string changeText_;
    std::string findWindow_;
    int searchLine_ = 0;
    int searchCol_ = 0;
    int searchEndLine_ = 0;
    int searchEndCut_ = 0;
    int firstLineLength_ = 0;
    bool searchForward_ = false;
    bool restartAtCaret_ = true;
    // Where the caret stood when the search state last took it in: a caret placed
    // there again (focus, a repaint) leaves the search where it was.
    int findCaretLine_ = -1;
    int findCaretCol_ = -1;
    bool reachedEnd_ = false;
    int hitCount_ = 0;
    int hitLine_ = 0;
    int hitCol_ = 0;
    int lastHitLength_ = 0;  // kept when the highlight goes, for the next step's start
    bool confirmReplace_ = false;
    bool abortReplace_ = false;
    // A replace run limited to a selection keeps its end as a logical line and the
    // bytes behind the end up to that line's end: both survive re-wrapping.
    bool rangeIsWholeText_ = true;
    int rangeEndLogical_ = 0;
    int64_t rangeEndTail_ = 0;
    // Replacements made without asking are re-wrapped once, at the end of the run:
    // the display lines each one touched, in text order, overlapping runs merged.
    bool rewrapDeferred_ = false;
    std::vector<std::pair<int, int>> deferredRanges_;

    int topLine_ = 0;
    int horzOffset_ = 0;
    int fontHeight_ = 0;
    int charWidth_ = 0;
    int lineHeight_ = 0;
    int gutterWidth_ = 0;
    int textLeft_ = 10;
    int textAreaWidth_ = 0;
    int textAreaHeight_ = 0;
    int linesPerPage_ = 0;
    int columnsPerPage_ = 0;
    int vertScrollLines_ = 1;
    int horzStep_ = 1;
    int caretEdgeGap_ = 10;
    int widestLine_ = 0;
    int lastVertRangeMax_ = -1;
    int notifiedCol_ = 0;
    // The last entry the latest insertion wrote, so a re-wrap can cover all of it.
    int lastInsertedLine_ = 0;
    int notifiedLine_ = 0;
    int notifiedX_ = 0;

    // ---- painting and metrics
    struct TabMark {
        int col;    // byte column of the TAB in the display line
        int start;  // pixel width of the expanded text before it
        int width;  // pixel width of its blanks
    };
    struct ExpandedLine {
        std::string text;  // tabs expanded, marker stripped, NUL bytes as blanks
        std::vector<TabMark> tabs;
        std::vector<size_t> nuls;  // offsets in text of the blanks that stand for NULs
    };
    struct DrawStep {
        explicit DrawStep(TLumEdit& e);
        ~DrawStep();
        TLumEdit& edit;
    };
    void TakeViewMetrics();
    void ResetCanvas();
    ExpandedLine ExpandForDrawing(std::string_view text) const;
    TColor LineColor(int line);
    int RowTop(int line) const { return topMargin_ + (line - topLine_) * lineHeight_; }
    int LastVisibleRow() const;
    void DrawCrArrow(int a, int y, TColor pen, const Rect& clip);
    void DrawMarks(std::string_view text, int x0, const std::vector<TabMark>& tabs, int fromCol,
                   int toCol, const Rect& r, bool selected);
    void DrawDottedBox(int x1, int y1, int x2, int y2, TColor pen, const Rect& clip);
    // Boxes on the NUL bytes among text[from, to) of ex; x0 is the pixel x of from.
    void DrawNulMarks(const ExpandedLine& ex, size_t from, size_t to, int x0, const Rect& r,
                      bool selected);
    void ClippedLine(int x1, int y1, int x2, int y2, TColor pen, const Rect& clip);
    void DrawRuns(int line, std::string_view raw, int x0, const Rect& r);
    void FillBelowText();
    void UpdateHorzThumb();
    int digitWidth_ = 0;
    int minTextLeft_ = 10;
    int crMarkTop_ = 0;
    int crMarkBottom_ = 0;
    int spaceWidth_ = 0;
    int dblSpaceWidth_ = 0;
    int dblSpaceHeight_ = 0;
    int rulerLimit_ = 0;
    int lastRulerX_ = INT_MIN;  // none drawn since the band was filled
    int underlineRow_ = -1;
    int drawDepth_ = 0;
    // The run left open at the start of runCacheLine_, valid for one drawing step.
    int runCacheLine_ = -1;
    unsigned char runCacheOpen_ = 0;
    // The first display line of the logical line holding startCacheLine_.
    int startCacheLine_ = -1;
    int startCacheValue_ = 0;
    int LogicalStart(int line);

    // ---- box selection painting
    BoxSpan BoxColumnsBetween(int line, int x0, int x1);
    void DrawBoxRow(int line, int x0, int x1);
    void ExtendBox(int previousLine, bool fromMouse);
    // The moving edge as last recorded, valid while the selection end is still there;
    // an end set another way (SetSel, a search hit) takes its own column's x.
    int boxEndX_ = 0;
    int boxEndLine_ = -1;
    int boxEndCol_ = -1;
    int boxMouseX_ = 0;

    // ---- box selection in the model (LumEditBox.cpp)
    bool IsBoxSelection() const;
    // One row per display line from firstLine to lastLine, each ending with CR LF.
    std::string BoxTextBetween(int firstLine, int lastLine) const;
    void DeleteBox(bool repaint);
    void InsertBox(const std::string& text, bool repaint);
    void AppendLineForBox(std::vector<std::string>& pieces);
    // The byte column at pixel x, counting the blanks a short line would need.
    int BoxColumnAt(int line, int x);
    // The byte column of a row's text at pixel x (no blanks beyond it).
    int ColumnAtRowPixel(int line, int x);

    // ---- mouse selection and drag (LumEditMouse.cpp, LumEditDrag.cpp)
    bool PointToCaret(int x, int y);
    bool InSelection(int line, int col);
    void LeftButtonDown(int shift, int x, int y);
    void ExtendByMouse(int x, int y);
    // The auto-scroll direction for a point at or beyond the text area's edges.
    int EdgeDirection(int x, int y) const;
    void StartSelectionDrag();
    void EndMouseSelection();
    // True when the text changed.
    bool DropOnSource(const std::string& text);
    // Where a position ends up once the selection is deleted: logical positions when
    // wrapping (the deletion re-wraps), display positions otherwise.
    struct DropPoint {
        int line = 0;
        int col = 0;
    };
    DropPoint BoxDropAfterDelete(int line, int col);
    // Records made while this is not 0 carry it; undo and redo take them as one step.
    uint32_t undoGroup_ = 0;
    uint32_t lastUndoGroup_ = 0;
    void EndTemporaryBox();
    // Alt+Shift with an arrow key starts a box selection.
    void TemporaryBoxForKey(int key);
    bool mouseSelecting_ = false;
    bool dragActive_ = false;
    bool dblClickFlag_ = false;
    bool leftPressed_ = false;
    int autoScrollDir_ = 0;
    bool savedCaretScrollFix_ = false;
    int dragStartEndLine_ = 0;
    int dragStartEndCol_ = 0;
    int dragCursor_ = 0;
    // Box mode switched on by Alt+Shift for one selection, off again once it is gone.
    bool temporaryBox_ = false;
};

}  // namespace zentabo
