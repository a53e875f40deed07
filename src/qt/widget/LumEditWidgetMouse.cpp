// The editor widget's mouse: presses, moves, releases and double clicks go to the
// editor in device-independent pixels; the pointer shape follows the area under it;
// the X11 primary selection is offered and pasted with the middle button.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <cmath>

#include "editor/LumEdit.h"
#include "qt/widget/DragCursors.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

int ShiftOf(Qt::KeyboardModifiers m) {
    int shift = 0;
    if (m & Qt::ShiftModifier) shift |= TLumEdit::kShiftShift;
    if (m & Qt::AltModifier) shift |= TLumEdit::kShiftAlt;
    if (m & Qt::ControlModifier) shift |= TLumEdit::kShiftCtrl;
    return shift;
}

TLumEdit::TMouseButton ButtonOf(Qt::MouseButton b) {
    if (b == Qt::RightButton) return TLumEdit::mbRight;
    if (b == Qt::MiddleButton) return TLumEdit::mbMiddle;
    return TLumEdit::mbLeft;
}

bool EditorButton(Qt::MouseButton b) {
    return b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton;
}

// Device-independent pixels, as the editor lays out; a fraction belongs to the
// pixel it lies in.
QPoint EditorPoint(const QMouseEvent* e) {
    const QPointF p = e->position();
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

}  // namespace

void LumEditWidget::TakeFocus() {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
}

void LumEditWidget::ShowPopupMenu(int x, int y) {
    if (popupMenu_)
        popupMenu_->popup(mapToGlobal(QPoint(x, y)));
    else if (contextMenuPolicy() == Qt::CustomContextMenu)
        emit customContextMenuRequested(QPoint(x, y));
}

void LumEditWidget::SetDragCursor(int cursor) {
    if (cursor == 1 || cursor == 2)
        setCursor(DragCursor(cursor));
    else
        PointerShapeAt(mapFromGlobal(QCursor::pos()).x());
}

void LumEditWidget::PointerShapeAt(int x) {
    if (edit_->DragActive()) return;
    const Qt::CursorShape shape = x < edit_->TextLeft() - 4 ? Qt::ArrowCursor : Qt::IBeamCursor;
    if (cursor().shape() != shape) setCursor(shape);
}

bool LumEditWidget::event(QEvent* e) {
    // A right press already showed the menu; the context-menu event that follows it
    // would show it twice. The menu key's event passes on.
    if (e->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Mouse) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void LumEditWidget::mousePressEvent(QMouseEvent* e) {
    if (!EditorButton(e->button())) {
        QWidget::mousePressEvent(e);
        return;
    }
    const QPoint p = EditorPoint(e);
    WithModifiers(e->modifiers(), [&] {
        edit_->MouseDown(ButtonOf(e->button()), ShiftOf(e->modifiers()), p.x(), p.y());
    });
    if (e->button() == Qt::LeftButton) ArmOleDrag(p);
    if (e->button() == Qt::MiddleButton) PastePrimaryAt(p.x(), p.y());
    e->accept();
}

void LumEditWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = EditorPoint(e);
    if (StartOleDragAfter(p)) {
        e->accept();
        return;
    }
    WithModifiers(e->modifiers(), [&] { edit_->MouseMove(ShiftOf(e->modifiers()), p.x(), p.y()); });
    PointerShapeAt(p.x());
    e->accept();
}

void LumEditWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!EditorButton(e->button())) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    const QPoint p = EditorPoint(e);
    if (e->button() == Qt::LeftButton) oleDragArmed_ = false;
    WithModifiers(e->modifiers(), [&] {
        edit_->MouseUp(ButtonOf(e->button()), ShiftOf(e->modifiers()), p.x(), p.y());
    });
    PointerShapeAt(p.x());
    if (e->button() == Qt::LeftButton) OfferPrimarySelection();
    e->accept();
}

void LumEditWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        // Other buttons count each press on its own.
        mousePressEvent(e);
        return;
    }
    // The double click stands in for the second press, which the editor then skips.
    const QPoint p = EditorPoint(e);
    WithModifiers(e->modifiers(), [&] {
        edit_->DblClick();
        edit_->MouseDown(TLumEdit::mbLeft, ShiftOf(e->modifiers()), p.x(), p.y());
    });
    e->accept();
}

void LumEditWidget::OfferPrimarySelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || !clipboard->supportsSelection()) return;
    if (!edit_->SelActive() && !edit_->AllSelected()) return;
    std::string text = edit_->GetSelText();
    if (text.empty() || (text == offeredPrimary_ && clipboard->ownsSelection())) return;
    clipboard->setText(QString::fromStdU16String(Cp932ToUtf16(text)), QClipboard::Selection);
    offeredPrimary_ = std::move(text);
}

void LumEditWidget::PastePrimaryAt(int x, int y) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || !clipboard->supportsSelection() || edit_->ReadOnly) return;
    const QString text = clipboard->text(QClipboard::Selection);
    if (text.isEmpty()) return;
    const Cp932EncodeResult encoded = Utf16ToCp932(text.toStdU16String());
    edit_->InsertAtPoint(x, y, encoded.bytes);
    if (!encoded.unmappable.empty()) TellUnmappable(encoded.unmappable, UnmappableUse::Paste);
}

}  // namespace zentabo
