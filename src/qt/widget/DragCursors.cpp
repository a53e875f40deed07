#include "qt/widget/DragCursors.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace zentabo {

namespace {

// An arrow with a dotted page below it; copy adds a plus in a box.
QCursor DrawDragCursor(bool copy) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QPolygon arrow({{0, 0}, {0, 15}, {4, 11}, {7, 17}, {9, 16}, {6, 10}, {11, 10}});
    p.setPen(Qt::white);
    p.setBrush(Qt::black);
    p.drawPolygon(arrow);
    QPen dotted(Qt::black, 1, Qt::DotLine);
    p.setPen(dotted);
    p.setBrush(Qt::white);
    p.drawRect(8, 18, 12, 9);
    if (copy) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(18, 22, 9, 9);
        p.drawLine(20, 26, 25, 26);
        p.drawLine(22, 24, 22, 29);
    }
    p.end();
    return QCursor(pixmap, 0, 0);
}

}  // namespace

const QCursor& DragCursor(int index) {
    static const QCursor move = DrawDragCursor(false);  // "DragCur1"
    static const QCursor copy = DrawDragCursor(true);   // "DragCur2"
    return index == 2 ? copy : move;
}

}  // namespace zentabo
