#include "platform/qt/LumEditWidget.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "editor/LumEdit.h"
#include "platform/qt/EditorFont.h"
#include "platform/qt/QtColor.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

QString FromCp932(std::string_view s) {
    return QString::fromStdU16String(Cp932ToUtf16(s));
}

QRect ToQRect(const Rect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

}  // namespace

LumEditWidget::LumEditWidget(QWidget* parent)
    : QWidget(parent),
      canvas_(fonts_),
      vbar_(new QScrollBar(Qt::Vertical, this)),
      hbar_(new QScrollBar(Qt::Horizontal, this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    hbar_->hide();
    editorTimer_.setInterval(40);
    blinkTimer_.setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
    connect(&blinkTimer_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        if (CaretVisible()) update(CaretRect());
    });
    ResizeBackingImage();
    edit_ = std::make_unique<TLumEdit>(*this);
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
    const QRect rect = ToQRect(r).intersected(backing_.rect());
    if (erase && !rect.isEmpty()) {
        QPainter p(&backing_);
        p.fillRect(rect, QColor::fromRgb(ToQRgb(edit_ ? edit_->Color : 0xFFFFFF)));
    }
    needsPaint_ = true;
    update(rect);
}

void LumEditWidget::PixelsDrawn() {
    if (!painting_) update();
}

void LumEditWidget::ScrollPixels(int dx, int dy, const Rect& clip) {
    const QRect area = ToQRect(clip).intersected(backing_.rect());
    if (area.isEmpty()) return;
    const QImage copy = backing_.copy(area);
    QPainter p(&backing_);
    p.setClipRect(area);
    p.drawImage(area.topLeft() + QPoint(dx, dy), copy);
    p.end();
    // The strip the move uncovered is drawn anew by the editor.
    QRegion uncovered(area);
    uncovered -= area.translated(dx, dy);
    for (const QRect& r : uncovered)
        Invalidate({r.left(), r.top(), r.right() + 1, r.bottom() + 1}, true);
    update(area);
}

ClientSize LumEditWidget::GetClientSize() {
    return {width() - (vbarShown_ ? vbar_->sizeHint().width() : 0),
            height() - (hbarShown_ ? hbar_->sizeHint().height() : 0)};
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
    const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
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

void LumEditWidget::SetCompositionWindow(int x, int y) {
    compositionPos_ = QPoint(x, y);
    QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
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
    return true;
}

ClipboardWrite LumEditWidget::SetClipboardText(std::string_view text) {
    return clipboard_.SetText(text) == ClipboardStatus::Ok ? ClipboardWrite::Ok
                                                           : ClipboardWrite::OtherFailure;
}

void LumEditWidget::InsertTypedText(const QString& text) {
    if (text.isEmpty()) return;
    const Cp932EncodeResult r = Utf16ToCp932(text.toStdU16String());
    if (!r.bytes.empty()) edit_->TypeText(r.bytes);
    if (!r.ok()) {
        QString chars;
        for (const UnmappableChar& u : r.unmappable) chars += QString::fromUcs4(&u.codePoint, 1);
        Message(QStringLiteral(
                    "「%1」はShift_JIS（コードページ932）で表せない文字のため、入力できません。")
                    .arg(chars));
    }
}

void LumEditWidget::paintEvent(QPaintEvent* e) {
    if (needsPaint_ && edit_) {
        // The editor repaints its whole client area into the backing image.
        needsPaint_ = false;
        painting_ = true;
        edit_->Paint();
        painting_ = false;
    }
    QPainter p(this);
    p.drawImage(e->rect(), backing_, e->rect());
    // The corner between two shown scroll bars.
    if (vbarShown_ && hbarShown_)
        p.fillRect(QRect(vbar_->x(), hbar_->y(), vbar_->width(), hbar_->height()),
                   palette().window());
    if (!preedit_.isEmpty() && measurer_) {
        // The composition is drawn over the text at the caret, never stored.
        const QFont font = measurer_->Font().font;
        const QFontMetrics fm(font);
        const QRect r(caretPos_, QSize(fm.horizontalAdvance(preedit_), caretSize_.height()));
        p.fillRect(r, Qt::white);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, preedit_);
        p.drawLine(r.bottomLeft(), r.bottomRight());
    } else if (CaretVisible() && blinkOn_) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(CaretRect(), Qt::white);
    }
}

void LumEditWidget::ResizeBackingImage() {
    const QSize size = this->size().expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_RGB32);
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
    if (edit_) edit_->UpdateLayout();
    needsPaint_ = true;
    update();
}

void LumEditWidget::keyPressEvent(QKeyEvent* e) {
    const QString text = e->text();
    // Printable text only: control characters belong to the editor's key handling.
    const bool printable =
        !text.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
    if (printable) {
        InsertTypedText(text);
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void LumEditWidget::inputMethodEvent(QInputMethodEvent* e) {
    if (!e->commitString().isEmpty()) InsertTypedText(e->commitString());
    if (preedit_ != e->preeditString()) {
        preedit_ = e->preeditString();
        update();
    }
    e->accept();
}

QVariant LumEditWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return testAttribute(Qt::WA_InputMethodEnabled);
        case Qt::ImCursorRectangle:
            return QRect(caretPos_, caretSize_.isValid() ? caretSize_ : QSize(1, 16));
        case Qt::ImFont:
            return measurer_ ? measurer_->Font().font : font();
        case Qt::ImSurroundingText: {
            const int line = edit_->CaretLine();
            std::string s = edit_->Lines().Get(line);
            while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == '\0'))
                s.pop_back();
            return FromCp932(s);
        }
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition: {
            const std::string s = edit_->Lines().Get(edit_->CaretLine());
            const int col = std::min<int>(edit_->CaretCol(), s.size());
            return static_cast<int>(Cp932ToUtf16(std::string_view(s).substr(0, col)).size());
        }
        default:
            return QWidget::inputMethodQuery(query);
    }
}

void LumEditWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    SetTimerEnabled(true);
}

void LumEditWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    SetTimerEnabled(false);
}

bool LumEditWidget::focusNextPrevChild(bool) {
    // Tab is text here, not a move to the next control.
    return false;
}

}  // namespace zentabo
