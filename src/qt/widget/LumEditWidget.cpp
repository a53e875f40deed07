#include "qt/widget/LumEditWidget.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "editor/LumEdit.h"
#include "qt/widget/Cp932Text.h"
#include "qt/widget/EditorFont.h"
#include "qt/widget/EditorScrollBar.h"
#include "qt/widget/KeyMapping.h"
#include "qt/widget/QtColor.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

QRect ToQRect(const Rect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

// A scroll bar's action as the scroll request code the editor takes.
int ScrollCodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return SB_LINEUP;
        case QAbstractSlider::SliderSingleStepAdd:
            return SB_LINEDOWN;
        case QAbstractSlider::SliderPageStepSub:
            return SB_PAGEUP;
        case QAbstractSlider::SliderPageStepAdd:
            return SB_PAGEDOWN;
        case QAbstractSlider::SliderToMinimum:
            return SB_TOP;
        case QAbstractSlider::SliderToMaximum:
            return SB_BOTTOM;
        case QAbstractSlider::SliderMove:
            return SB_THUMBTRACK;
        default:
            return SB_ENDSCROLL;
    }
}

}  // namespace

LumEditWidget::LumEditWidget(QWidget* parent)
    : QWidget(parent),
      canvas_(fonts_),
      vbar_(new EditorScrollBar(Qt::Vertical, this)),
      hbar_(new EditorScrollBar(Qt::Horizontal, this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setMouseTracking(true);  // the pointer shape follows the gutter and the text
    hbar_->hide();
    editorTimer_.setInterval(40);
    connect(&editorTimer_, &QTimer::timeout, this, [this] { edit_->TimerTick(); });
    blinkTimer_.setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
    connect(&blinkTimer_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        if (CaretVisible()) update(CaretRect());
    });
    connect(vbar_, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(ScrollBarKind::Vertical, action); });
    connect(hbar_, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(ScrollBarKind::Horizontal, action); });
    ResizeBackingImage();
    edit_ = std::make_unique<TLumEdit>(*this);
}

void LumEditWidget::OnScrollAction(ScrollBarKind bar, int action) {
    QScrollBar* b = ScrollBar(bar);
    const int code = ScrollCodeOf(action);
    // The bar has already moved its slider; the editor decides where it really goes.
    const int wanted = b->sliderPosition();
    {
        const QSignalBlocker block(b);
        b->setSliderPosition(b->value());
    }
    if (bar == ScrollBarKind::Vertical)
        edit_->VScroll(code, wanted);
    else
        edit_->HScroll(code, wanted);
}

LumEditWidget::~LumEditWidget() {
    edit_.reset();
}

int LumEditWidget::PointsToPixels(int points) const {
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    return std::max(1, qRound(points * dpi / 72.0));
}

QScrollBar* LumEditWidget::ScrollBar(ScrollBarKind kind) const {
    return kind == ScrollBarKind::Vertical ? vbar_ : hbar_;
}

FontMetrics LumEditWidget::CreateEditorFont(const FontDescription& font) {
    measurer_ = &fonts_.Get(font);
    canvas_.SetFont(font);
    return measurer_->Font().metrics;
}

int LumEditWidget::TextWidth(std::string_view cp932) {
    return measurer_ ? measurer_->Width(cp932) : 0;
}

void LumEditWidget::Invalidate(const Rect& r, bool erase) {
    const QRect area = ToQRect(r).intersected(rect());
    if (erase && !area.isEmpty()) canvas_.FillRect(r, edit_ ? edit_->Color : 0xFFFFFF);
    needsPaint_ = true;
    update(area);
}

void LumEditWidget::PixelsDrawn() {
    if (!painting_) update();
}

void LumEditWidget::ScrollPixels(int dx, int dy, const Rect& clip) {
    const QRect area = ToQRect(clip).intersected(rect());
    if (area.isEmpty()) return;
    const double scale = backing_.devicePixelRatio();
    if (dx * scale != std::round(dx * scale) || dy * scale != std::round(dy * scale)) {
        // Rows stand on whole image pixels: moved by a fraction of one they would no
        // longer meet the rows drawn afresh, so the area is drawn anew instead.
        Invalidate({area.left(), area.top(), area.right() + 1, area.bottom() + 1}, false);
        return;
    }
    const QRect pixels = DevicePixels(area);
    QImage copy = backing_.copy(pixels);
    copy.setDevicePixelRatio(1);
    {
        // Through an unscaled view, so that the move is one of whole image pixels.
        QImage view(backing_.bits(), backing_.width(), backing_.height(), backing_.bytesPerLine(),
                    backing_.format());
        QPainter p(&view);
        p.setClipRect(pixels);
        p.drawImage(pixels.topLeft() + QPoint(qRound(dx * scale), qRound(dy * scale)), copy);
    }
    // The strip the move uncovered is drawn anew by the editor.
    QRegion uncovered(area);
    uncovered -= area.translated(dx, dy);
    for (const QRect& r : uncovered)
        Invalidate({r.left(), r.top(), r.right() + 1, r.bottom() + 1}, true);
    update(area);
}

QSize LumEditWidget::ClientArea() const {
    return {std::max(0, width() - (vbarShown_ ? vbar_->sizeHint().width() : 0)),
            std::max(0, height() - (hbarShown_ ? hbar_->sizeHint().height() : 0))};
}

ClientSize LumEditWidget::GetClientSize() {
    const QSize client = ClientArea();
    return {client.width(), client.height()};
}

void LumEditWidget::CreateCaret(int width, int height) {
    if (caretCreated_) update(CaretRect());
    caretCreated_ = true;
    caretShown_ = 0;  // a new caret starts hidden
    caretSize_ = QSize(std::max(1, width), std::max(1, height));
}

void LumEditWidget::SetCaretPos(int x, int y) {
    if (CaretVisible()) update(CaretRect());
    caretPos_ = QPoint(x, y);
    blinkOn_ = true;
    if (CaretVisible()) update(CaretRect());
    QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void LumEditWidget::ShowCaret() {
    if (!caretCreated_) return;
    ++caretShown_;
    if (caretShown_ == 1) {
        blinkOn_ = true;
        blinkTimer_.start();
        update(CaretRect());
    }
}

void LumEditWidget::HideCaret() {
    if (!caretCreated_) return;
    if (caretShown_ == 1) update(CaretRect());
    --caretShown_;
    if (caretShown_ <= 0) blinkTimer_.stop();
}

void LumEditWidget::DestroyCaret() {
    if (CaretVisible()) update(CaretRect());
    caretCreated_ = false;
    caretShown_ = 0;
    blinkTimer_.stop();
}

void LumEditWidget::SetScrollRange(ScrollBarKind bar, int minPos, int maxPos) {
    QScrollBar* b = ScrollBar(bar);
    const QSignalBlocker block(b);
    b->setRange(minPos, std::max(minPos, maxPos));
    // The thumb's length shows the visible rows against the whole text.
    if (bar == ScrollBarKind::Vertical && edit_)
        b->setPageStep(std::max(1, edit_->LinesPerPage() / std::max(1, edit_->VertScrollScale())));
}

void LumEditWidget::SetScrollPos(ScrollBarKind bar, int pos) {
    QScrollBar* b = ScrollBar(bar);
    const QSignalBlocker block(b);
    b->setValue(pos);
}

void LumEditWidget::EnableScrollBar(ScrollBarKind bar, bool enabled) {
    ScrollBar(bar)->setEnabled(enabled);
}

void LumEditWidget::ShowScrollBar(ScrollBarKind bar, bool shown) {
    (bar == ScrollBarKind::Vertical ? vbarShown_ : hbarShown_) = shown;
    ScrollBar(bar)->setVisible(shown);
    LayoutScrollBars();
    // The client area changed; the editor lays out again once the caller is done.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (edit_) edit_->Resize();
        },
        Qt::QueuedConnection);
}

int LumEditWidget::ScrollBarSize(ScrollBarKind bar) {
    return bar == ScrollBarKind::Vertical ? vbar_->sizeHint().width() : hbar_->sizeHint().height();
}

void LumEditWidget::SetTimerEnabled(bool enabled) {
    if (enabled)
        editorTimer_.start();
    else
        editorTimer_.stop();
}

bool LumEditWidget::IsKeyDown(int virtualKey) {
    // Inside a key event its own modifiers count; they are what the user pressed with
    // this key, even when the event was synthesized.
    const Qt::KeyboardModifiers m =
        inKeyEvent_ ? eventModifiers_ : QGuiApplication::keyboardModifiers();
    if (virtualKey == vk::kConvert || virtualKey == vk::kNonConvert)
        return std::find(imeKeysDown_.begin(), imeKeysDown_.end(), virtualKey) !=
               imeKeysDown_.end();
    switch (virtualKey) {
        case 0x10:
            return m & Qt::ShiftModifier;
        case 0x11:
            return m & Qt::ControlModifier;
        case 0x12:
            return m & Qt::AltModifier;
        default:
            return false;
    }
}

void LumEditWidget::ShowMessage(const std::string& text) {
    Message(FromCp932(text));
}

void LumEditWidget::Message(const QString& text) {
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::information(window(), QApplication::applicationDisplayName(), text);
}

bool LumEditWidget::GetClipboardText(std::string& text) {
    const ClipboardText got = clipboard_.GetText();
    if (!got.ok()) return false;
    text = got.bytes;
    // Told once the paste is done, so the message never stands before the text it is about.
    if (!got.unmappable.empty()) {
        QMetaObject::invokeMethod(
            this, [this, left = got.unmappable] { TellUnmappable(left, UnmappableUse::Paste); },
            Qt::QueuedConnection);
    }
    return true;
}

ClipboardWrite LumEditWidget::SetClipboardText(std::string_view text) {
    return clipboard_.SetText(text) == ClipboardStatus::Ok ? ClipboardWrite::Ok
                                                           : ClipboardWrite::OtherFailure;
}

void LumEditWidget::InsertTypedText(const QString& text) {
    if (text.isEmpty()) return;
    const TypedText t = EncodeTypedText(text);
    if (!t.bytes.empty()) edit_->TypeChars(t.bytes);
    if (!edit_->ReadOnly) TellUnmappable(t.unmappable, UnmappableUse::Input);
}

void LumEditWidget::TellUnmappable(const std::vector<UnmappableChar>& unmappable,
                                   UnmappableUse use) {
    if (unmappable.empty()) return;
    const char32_t first = unmappable.front().codePoint;
    const QString what = use == UnmappableUse::Paste ? QStringLiteral("貼り付けられませんでした")
                                                     : QStringLiteral("入力できませんでした");
    Message(QStringLiteral("コードページ 932 で表せない文字 %1 個（最初は「%2」）は%3。")
                .arg(unmappable.size())
                .arg(QString::fromUcs4(&first, 1), what));
}

void LumEditWidget::paintEvent(QPaintEvent* e) {
    // Moved to a screen of another scale: the image follows and is drawn anew.
    if (backing_.devicePixelRatio() != devicePixelRatioF()) {
        ResizeBackingImage();
        needsPaint_ = true;
    }
    if (needsPaint_ && edit_) {
        // The editor repaints its whole client area into the backing image.
        needsPaint_ = false;
        painting_ = true;
        edit_->Paint();
        painting_ = false;
    }
    QPainter p(this);
    if (backing_.devicePixelRatio() == 1.0)
        p.drawImage(e->rect(), backing_, e->rect());
    else
        p.drawImage(QPointF(0, 0), backing_);  // clipped to the event's region
    // The corner between two shown scroll bars.
    if (vbarShown_ && hbarShown_)
        p.fillRect(QRect(vbar_->x(), hbar_->y(), vbar_->width(), hbar_->height()),
                   palette().window());
    RefreshInputMethodState();
    if (const std::unique_ptr<QTextLayout> layout = LayComposition()) {
        // The composition is drawn over the text at the caret, never stored.
        const QSize client = ClientArea();
        p.setClipRect(QRect(QPoint(edit_->TextLeft(), edit_->TopMargin()),
                            QPoint(client.width() - 1, client.height() - 1)));
        composition_.Paint(p, *layout, QColor::fromRgb(ToQRgb(edit_->Font().color)),
                           QColor::fromRgb(ToQRgb(edit_->Color)));
    } else if (CaretVisible() && blinkOn_) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(CaretRect(), Qt::white);
    }
}

QRect LumEditWidget::DevicePixels(const QRect& r) const {
    const double scale = backing_.devicePixelRatio();
    auto dev = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    return QRect(QPoint(dev(r.left()), dev(r.top())),
                 QPoint(dev(r.right() + 1) - 1, dev(r.bottom() + 1) - 1))
        .intersected(backing_.rect());
}

std::unique_ptr<QTextLayout> LumEditWidget::LayComposition() const {
    if (composition_.IsEmpty() || !measurer_ || !edit_) return nullptr;
    const QSize client = ClientArea();
    const QRect area(QPoint(edit_->TextLeft(), edit_->TopMargin()),
                     QPoint(client.width() - 1, client.height() - 1));
    return composition_.Lay(measurer_->Font().font, {caretPos_, area, edit_->LineHeight()});
}

QRect LumEditWidget::PreeditRect() const {
    const std::unique_ptr<QTextLayout> layout = LayComposition();
    return layout ? Composition::Bounds(*layout) : QRect();
}

void LumEditWidget::ResizeBackingImage() {
    // The image holds the screen's own pixels; the editor draws in the widget's.
    const double scale = devicePixelRatioF();
    const QSize size = this->size().expandedTo(QSize(1, 1));
    QImage image(QSize(static_cast<int>(std::lround(size.width() * scale)),
                       static_cast<int>(std::lround(size.height() * scale))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(ToQRgb(edit_ ? edit_->Color : 0xFFFFFF));
    {
        QPainter p(&image);
        p.drawImage(0, 0, backing_);
    }
    backing_ = std::move(image);
    canvas_.SetImage(&backing_);
}

void LumEditWidget::LayoutScrollBars() {
    const int vw = vbar_->sizeHint().width();
    const int hh = hbar_->sizeHint().height();
    vbar_->setGeometry(width() - vw, 0, vw, height() - (hbarShown_ ? hh : 0));
    hbar_->setGeometry(0, height() - hh, width() - (vbarShown_ ? vw : 0), hh);
}

void LumEditWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ResizeBackingImage();
    LayoutScrollBars();
    if (edit_) edit_->Resize();
    needsPaint_ = true;
    update();
}

void LumEditWidget::keyPressEvent(QKeyEvent* e) {
    // Text keys reach the editor during a composition only when no input method
    // takes them any longer: what it showed goes in first.
    if (!e->text().isEmpty() && edit_->IMEComposing()) CompleteComposition();
    const VirtualKeyPress k = MapKeyEvent(*e);
    // Alt combinations belong to menus and the window, as system keys do. Alt+Shift
    // with Up or Down starts a box selection (Shift+Left/Right then widens it); with
    // Left and Right Alt keeps cycling the pages.
    const bool boxKeys = k.shift && (k.key == vk::kUp || k.key == vk::kDown);
    if (k.alt && !k.ctrl && !boxKeys) {
        if (k.key == vk::kMenu && edit_->CaretScrollFix)
            edit_->ScrollCaretIntoView(edit_->CaretCol(), edit_->CaretLine(), kScrollKeepMargin,
                                       true, false);
        QWidget::keyPressEvent(e);
        return;
    }
    if ((k.key == vk::kConvert || k.key == vk::kNonConvert) &&
        std::find(imeKeysDown_.begin(), imeKeysDown_.end(), k.key) == imeKeysDown_.end())
        imeKeysDown_.push_back(k.key);
    eventModifiers_ = e->modifiers();
    inKeyEvent_ = true;
    if (k.key != 0) edit_->KeyDown(k.key);
    if (edit_->DragActive()) edit_->UpdateDragCursor();
    // The text the key types follows as the character message would.
    const TypedText typed = TypedTextOf(*e);
    if (!typed.bytes.empty()) edit_->TypeChars(typed.bytes);
    inKeyEvent_ = false;
    if (!edit_->ReadOnly) TellUnmappable(typed.unmappable, UnmappableUse::Input);
    e->accept();
}

void LumEditWidget::keyReleaseEvent(QKeyEvent* e) {
    const VirtualKeyPress k = MapKeyEvent(*e);
    std::erase(imeKeysDown_, k.key);
    if (e->isAutoRepeat()) {
        // A held key repeats as press and release pairs; only the real release ends
        // the repeat count of scrolling.
        e->accept();
        return;
    }
    eventModifiers_ = e->modifiers();
    inKeyEvent_ = true;
    edit_->KeyUp(k.key);
    if (edit_->DragActive()) edit_->UpdateDragCursor();
    inKeyEvent_ = false;
    if (k.key == vk::kShift) OfferPrimarySelection();
    e->accept();
}

void LumEditWidget::wheelEvent(QWheelEvent* e) {
    wheelRest_ += e->angleDelta().y();
    const int whole = wheelRest_ / 120 * 120;
    wheelRest_ -= whole;
    if (whole != 0) edit_->MouseWheel(whole);
    e->accept();
}

void LumEditWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    edit_->FocusIn();
}

void LumEditWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    imeKeysDown_.clear();
    edit_->CancelMouse();
    // A composition left behind would stand over the text with no input method behind
    // it; the input method commits it on the focus change when it completes at all.
    DropStaleComposition();
    edit_->FocusOut();
}

bool LumEditWidget::focusNextPrevChild(bool next) {
    // With WantTabs the Tab key is text here, not a move to the next control.
    if (edit_->WantTabs) return false;
    return QWidget::focusNextPrevChild(next);
}

}  // namespace zentabo
