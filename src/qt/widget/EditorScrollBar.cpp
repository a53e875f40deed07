#include "qt/widget/EditorScrollBar.h"

#include <QCoreApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

namespace zentabo {

EditorScrollBar::EditorScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

void EditorScrollBar::paintEvent(QPaintEvent* e) {
    if (isEnabled()) {
        QScrollBar::paintEvent(e);
        return;
    }
    QPainter p(this);
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    opt.subControls = QStyle::SC_All;
    opt.subControls &= ~QStyle::SC_ScrollBarSlider;
    style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, this);
}

bool EditorScrollBar::event(QEvent* e) {
    // QScrollBar scrolls its own step here, before any wheelEvent; the editor under the
    // bar takes the wheel instead.
    QWidget* editor = parentWidget();
    if (e->type() == QEvent::Wheel && editor) {
        const auto* w = static_cast<QWheelEvent*>(e);
        QWheelEvent forwarded(mapTo(editor, w->position()), w->globalPosition(), w->pixelDelta(),
                              w->angleDelta(), w->buttons(), w->modifiers(), w->phase(),
                              w->inverted(), w->source());
        QCoreApplication::sendEvent(editor, &forwarded);
        e->setAccepted(forwarded.isAccepted());
        return true;
    }
    return QScrollBar::event(e);
}

}  // namespace zentabo
