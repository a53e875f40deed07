#include "qt/shell/PageControl.h"

#include <QApplication>
#include <QMouseEvent>

namespace zentabo {

PageTabBar::PageTabBar(QWidget* parent) : QTabBar(parent) {
    setMovable(false);  // reordering follows our own rules, not QTabBar's
    setAcceptDrops(false);
    SetMultiLine(true);
}

void PageTabBar::SetMultiLine(bool on) {
    multiLine_ = on;
    setUsesScrollButtons(!on);
    setElideMode(on ? Qt::ElideRight : Qt::ElideNone);
    setExpanding(false);
}

void PageTabBar::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::RightButton) {
        popupPoint_ = pos;
        // Right-clicking does not change the active page; the menu opens through
        // the context-menu event.
        e->accept();
        return;
    }
    QTabBar::mousePressEvent(e);  // a left press activates the tab first
    dragging_ = false;
    dragTab_ = -1;
    if (e->button() == Qt::LeftButton) {
        const int tab = tabAt(pos);
        if (tab > 0) {
            dragTab_ = tab;
            pressPoint_ = pos;
        }
    }
}

void PageTabBar::mouseMoveEvent(QMouseEvent* e) {
    if (dragTab_ > 0 && (e->buttons() & Qt::LeftButton)) {
        const QPoint pos = e->position().toPoint();
        if (!dragging_ && (pos - pressPoint_).manhattanLength() >= kDragThreshold) dragging_ = true;
        if (dragging_) {
            const int over = tabAt(pos);
            setCursor(over > 0 ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        }
        e->accept();
        return;
    }
    QTabBar::mouseMoveEvent(e);
}

void PageTabBar::mouseReleaseEvent(QMouseEvent* e) {
    if (dragTab_ > 0 && e->button() == Qt::LeftButton) {
        const int from = dragTab_;
        const bool wasDragging = dragging_;
        dragTab_ = -1;
        dragging_ = false;
        unsetCursor();
        if (wasDragging) {
            const int to = tabAt(e->position().toPoint());
            // Nothing moves onto the first tab or onto the empty part of the row.
            if (to > 0 && to != from) {
                moveTab(from, to);
                setCurrentIndex(to);
                emit TabDropped(from, to);
            }
            e->accept();
            return;
        }
    }
    QTabBar::mouseReleaseEvent(e);
}

PageControl::PageControl(QWidget* parent) : QTabWidget(parent), bar_(new PageTabBar(this)) {
    setTabBar(bar_);
    setDocumentMode(false);
    setIconSize(QSize(16, 16));
}

}  // namespace zentabo
