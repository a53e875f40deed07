#pragma once

// The editor widget: a QWidget that hosts one TLumEdit and is its EditorHost. The
// editor draws into a backing image of the client area through a QtCanvas, in the
// widget's device-independent pixels while the image holds the screen's own pixels
// (its device pixel ratio); paintEvent copies the image to the screen and draws the blinking caret
// and the input method's preedit on top, never into the image.

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "platform/EditorHost.h"
#include "qt/widget/Composition.h"
#include "qt/widget/Cp932Clipboard.h"
#include "qt/widget/FontCache.h"
#include "qt/widget/QtCanvas.h"
#include "store/Cp932Codec.h"

class QDrag;
class QDropEvent;
class QMenu;
class QMimeData;
class QScrollBar;

namespace zentabo {

class TLumEdit;
enum TDragMode : int;

class LumEditWidget : public QWidget, public EditorHost {
    Q_OBJECT
public:
    explicit LumEditWidget(QWidget* parent = nullptr);
    ~LumEditWidget() override;

    TLumEdit& Edit() { return *edit_; }

    // Font sizes are chosen in points; the editor's font description is in pixels.
    int PointsToPixels(int points) const;

    // Typed text (as the character message) and the input method's committed text:
    // converted to code page 932 and given to the editor. Characters code page 932
    // cannot hold are left out and the user is told how many and which first; a paste
    // is told the same way.
    void InsertTypedText(const QString& text);
    // replaceStart and replaceLength: the input method's range around the caret
    // (LumEditWidgetIme.cpp).
    void InsertCommitText(const QString& text, int replaceStart = 0, int replaceLength = 0);
    const QString& Preedit() const { return composition_.Text(); }
    // Where the composition shows, in widget pixels; empty without one.
    QRect PreeditRect() const;

    // Replaces the message box (tests).
    void SetMessageSink(std::function<void(const QString&)> sink) {
        messageSink_ = std::move(sink);
    }

    bool CaretVisible() const { return caretShown_ > 0 && caretCreated_; }
    QRect CaretRect() const { return QRect(caretPos_, caretSize_); }
    const QImage& BackingImage() const { return backing_; }
    QScrollBar* ScrollBar(ScrollBarKind kind) const;

    // EditorHost
    FontMetrics CreateEditorFont(const FontDescription& font) override;
    int TextWidth(std::string_view cp932) override;
    // The measurer only sums fixed advances (TextMeasurer::Width).
    bool MeasuresOnAnyThread() const override { return true; }
    Canvas& GetCanvas() override { return canvas_; }
    void Invalidate(const Rect& r, bool erase) override;
    void ScrollPixels(int dx, int dy, const Rect& clip) override;
    void PixelsDrawn() override;
    ClientSize GetClientSize() override;
    bool HasFocus() override { return hasFocus(); }
    void CreateCaret(int width, int height) override;
    void SetCaretPos(int x, int y) override;
    void ShowCaret() override;
    void HideCaret() override;
    void DestroyCaret() override;
    void SetScrollRange(ScrollBarKind bar, int minPos, int maxPos) override;
    void SetScrollPos(ScrollBarKind bar, int pos) override;
    void EnableScrollBar(ScrollBarKind bar, bool enabled) override;
    void ShowScrollBar(ScrollBarKind bar, bool shown) override;
    int ScrollBarSize(ScrollBarKind bar) override;
    void SetTimerEnabled(bool enabled) override;
    bool IsKeyDown(int virtualKey) override;
    void SetCompositionWindow(int x, int y) override;
    void ShowMessage(const std::string& text) override;
    bool GetClipboardText(std::string& text) override;
    ClipboardWrite SetClipboardText(std::string_view text) override;

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // ---- mouse (LumEditWidgetMouse.cpp)
    // The editor's context menu (its PopupMenu); without one a custom context menu
    // policy is asked through customContextMenuRequested.
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    void CompleteComposition() override;
    void TakeFocus() override;
    void ShowPopupMenu(int x, int y) override;
    void SetDragCursor(int cursor) override;

    // ---- drag and drop with other programs (LumEditWidgetOle.cpp)
    // dmOLEAuto drags the selection out as text and takes dropped text and files.
    void SetDragMode(TDragMode mode);
    // The editor whose selection is being dragged out, or none.
    static LumEditWidget* OleDragSource();
    // What a drag out of the editor offers: Unicode text for every program and the
    // exact code page 932 bytes for the program's own editors.
    static QMimeData* OleDragData(const std::string& cp932);
    static const char* const kCp932MimeType;

protected:
    // Runs the drag out and answers what the drop did (tests stand in for the
    // platform's drag here).
    virtual Qt::DropAction ExecOleDrag(QDrag& drag);
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void LayoutScrollBars();
    void ResizeBackingImage();
    QSize ClientArea() const;
    std::unique_ptr<QTextLayout> LayComposition() const;
    // ---- input method (LumEditWidgetIme.cpp)
    // Tells the input method what it reads around the caret, when that changed.
    void RefreshInputMethodState();
    // Closes a composition the input method no longer drives.
    void DropStaleComposition();
    std::array<int, 11> imState_{};
    mutable bool imHeard_ = false;  // the input method read the text since it changed
    // The backing image's pixels under a rectangle of the widget.
    QRect DevicePixels(const QRect& r) const;
    void Message(const QString& text);
    enum class UnmappableUse { Input, Paste };
    // Once per typed, committed or pasted text: how many characters were left out and
    // which came first.
    void TellUnmappable(const std::vector<UnmappableChar>& chars, UnmappableUse use);
    void OnScrollAction(ScrollBarKind bar, int action);
    // ---- mouse
    // Runs an editor call with the event's modifiers as the key state.
    template <typename F>
    void WithModifiers(Qt::KeyboardModifiers m, F&& call);
    void PointerShapeAt(int x);
    void OfferPrimarySelection();
    void PastePrimaryAt(int x, int y);
    QMenu* popupMenu_ = nullptr;
    std::string offeredPrimary_;
    // ---- drag and drop with other programs
    // A press inside the selection waits for the pointer to travel before the drag.
    void ArmOleDrag(const QPoint& press);
    bool StartOleDragAfter(const QPoint& pos);
    void RunOleDrag();
    Qt::DropAction AnswerDragOver(QDropEvent& e);
    void DropText(QDropEvent& e, Qt::DropAction action);
    bool oleDragArmed_ = false;
    QPoint oleDragPress_;
    bool dropShowsCaret_ = false;  // the caret shows for a drag over the unfocused editor

    FontCache fonts_;
    QImage backing_;
    QtCanvas canvas_;
    Cp932Clipboard clipboard_;
    const TextMeasurer* measurer_ = nullptr;
    QScrollBar* vbar_;
    QScrollBar* hbar_;
    bool vbarShown_ = true;
    bool hbarShown_ = false;
    QTimer editorTimer_;  // the editor's 40 ms timer
    QTimer blinkTimer_;
    bool blinkOn_ = true;
    bool caretCreated_ = false;
    int caretShown_ = 0;  // show count, as the system caret keeps it
    QPoint caretPos_;
    QSize caretSize_;
    QPoint compositionPos_;
    Composition composition_;
    // Modifiers of the key event being handled; the key table reads them as key state.
    Qt::KeyboardModifiers eventModifiers_;
    bool inKeyEvent_ = false;
    std::vector<int> imeKeysDown_;  // Convert and NonConvert, by virtual key
    int wheelRest_ = 0;             // wheel delta short of a whole notch
    std::function<void(const QString&)> messageSink_;
    bool needsPaint_ = true;  // a repaint request waits for the next paintEvent
    bool painting_ = false;
    std::unique_ptr<TLumEdit> edit_;  // last: it calls back into this host when built
};

template <typename F>
void LumEditWidget::WithModifiers(Qt::KeyboardModifiers m, F&& call) {
    const bool outer = inKeyEvent_;
    const Qt::KeyboardModifiers saved = eventModifiers_;
    eventModifiers_ = m;
    inKeyEvent_ = true;
    call();
    inKeyEvent_ = outer;
    eventModifiers_ = saved;
}

}  // namespace zentabo
