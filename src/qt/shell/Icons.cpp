#include "qt/shell/Icons.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace zentabo {

namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 90, 200);
const QColor kFolder(230, 180, 60);

void Sheet(QPainter& p, const QRectF& r) {
    p.setPen(kInk);
    p.setBrush(kPaper);
    QPolygonF page;
    page << r.topLeft() << QPointF(r.right() - 3, r.top()) << QPointF(r.right(), r.top() + 3)
         << r.bottomRight() << r.bottomLeft();
    p.drawPolygon(page);
}

void Lines(QPainter& p, qreal x1, qreal x2, qreal y, int count) {
    p.setPen(QColor(120, 120, 120));
    for (int i = 0; i < count; ++i) p.drawLine(QPointF(x1, y + 2 * i), QPointF(x2, y + 2 * i));
}

void Disk(QPainter& p, const QColor& body) {
    p.setPen(kInk);
    p.setBrush(body);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 1.5, 9, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void Arrow(QPainter& p, bool left) {
    p.setPen(QPen(kBlue, 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    if (left) {
        path.moveTo(4, 7);
        path.cubicTo(9, 2, 15, 5, 13, 12);
    } else {
        path.moveTo(12, 7);
        path.cubicTo(7, 2, 1, 5, 3, 12);
    }
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    QPolygonF head;
    if (left)
        head << QPointF(1, 7) << QPointF(7, 3) << QPointF(7, 10);
    else
        head << QPointF(15, 7) << QPointF(9, 3) << QPointF(9, 10);
    p.drawPolygon(head);
}

// A magnifying glass: the find and replace commands.
void Lens(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(210, 230, 250));
    p.drawEllipse(QRectF(1.5, 3.5, 8, 8));
    p.setPen(QPen(kInk, 2.5));
    p.drawLine(QPointF(9, 11), QPointF(14, 15));
}

const QColor kBlock(30, 90, 200);
const QColor kInline(20, 130, 60);
const QColor kAttribute(200, 110, 20);

// An element's name written into the image, squeezed to fit when it is long.
void Label(QPainter& p, const QString& text, const QColor& color, bool bold, bool italic) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleStrategy(QFont::PreferAntialias);
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(f);
    p.setPen(color);
    const qreal width = QFontMetricsF(f).horizontalAdvance(text);
    const qreal scale = width > 15 ? 15 / width : 1;
    p.translate(8, 0);
    p.scale(scale, 1);
    p.drawText(QRectF(-8 / scale, 0, 16 / scale, 16), Qt::AlignCenter, text);
    p.restore();
}

// Rows of a list: a marker (bullet, number or indent) before each line.
void ListRows(QPainter& p, int kind) {
    for (int i = 0; i < 3; ++i) {
        const int y = 3 + 5 * i;
        p.setPen(Qt::NoPen);
        p.setBrush(kBlock);
        if (kind == 0) {
            p.drawEllipse(QRectF(1, y - 1.5, 3, 3));
        } else if (kind == 1) {
            p.setPen(kBlock);
            p.setFont([] {
                QFont f(QStringLiteral("DejaVu Sans"));
                f.setPixelSize(6);
                return f;
            }());
            p.drawText(QRectF(0, y - 3, 5, 6), Qt::AlignCenter, QString::number(i + 1));
        }
        if (kind == 2 && i % 2 == 0) {
            // A term: a short strong line; its definition below is indented.
            p.setPen(QPen(kBlock, 2));
            p.drawLine(1, y, 10, y);
            continue;
        }
        p.setPen(QColor(90, 90, 90));
        p.drawLine(kind == 2 ? 5 : 6, y, 15, y);
    }
}

void Grid(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(QRectF(0.5, 2.5, 15, 11));
    p.setBrush(QColor(200, 215, 240));
    p.drawRect(QRectF(0.5, 2.5, 15, 3));
    p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
    p.drawLine(QPointF(0.5, 9.5), QPointF(15.5, 9.5));
}

void LineBreak(QPainter& p) {
    p.setPen(QPen(kInline, 1.5));
    p.drawLine(QPointF(13, 2), QPointF(13, 10));
    p.drawLine(QPointF(13, 10), QPointF(4, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(kInline);
    p.drawPolygon(QPolygonF() << QPointF(1, 10) << QPointF(5, 6.5) << QPointF(5, 13.5));
}

QPixmap Draw(IconId id) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (id) {
        case IconId::NewPage:
            Sheet(p, QRectF(2.5, 0.5, 10, 14));
            p.setPen(QPen(QColor(230, 160, 0), 2));
            p.drawLine(12, 10, 12, 15);
            p.drawLine(10, 12, 15, 12);
            break;
        case IconId::Open:
            p.setPen(kInk);
            p.setBrush(kFolder.darker(115));
            p.drawRect(QRectF(0.5, 3.5, 13, 10));
            p.setBrush(kFolder);
            p.drawPolygon(QPolygonF() << QPointF(2.5, 6.5) << QPointF(15.5, 6.5)
                                      << QPointF(13.5, 13.5) << QPointF(0.5, 13.5));
            break;
        case IconId::Save:
            Disk(p, kBlue);
            break;
        case IconId::SaveAs:
            Disk(p, QColor(40, 150, 70));
            break;
        case IconId::Print:
            p.setPen(kInk);
            p.setBrush(kPaper);
            p.drawRect(QRectF(4.5, 0.5, 7, 6));
            p.setBrush(QColor(170, 170, 170));
            p.drawRect(QRectF(0.5, 6.5, 15, 6));
            p.setBrush(kPaper);
            p.drawRect(QRectF(3.5, 10.5, 9, 5));
            break;
        case IconId::Cut:
            p.setPen(QPen(kInk, 1.5));
            p.drawLine(QPointF(4, 1), QPointF(11, 10));
            p.drawLine(QPointF(12, 1), QPointF(5, 10));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(1.5, 10.5, 4, 4));
            p.drawEllipse(QRectF(10.5, 10.5, 4, 4));
            break;
        case IconId::Copy:
            Sheet(p, QRectF(0.5, 0.5, 9, 11));
            Sheet(p, QRectF(5.5, 4.5, 9, 11));
            Lines(p, 7.5, 12.5, 8.5, 3);
            break;
        case IconId::Paste:
            p.setPen(kInk);
            p.setBrush(QColor(180, 130, 70));
            p.drawRect(QRectF(1.5, 2.5, 11, 13));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(4.5, 0.5, 5, 3));
            Sheet(p, QRectF(7.5, 6.5, 8, 9));
            break;
        case IconId::CopyAll:
            Sheet(p, QRectF(2.5, 0.5, 11, 15));
            Lines(p, 4.5, 11.5, 3.5, 6);
            p.setPen(QPen(kBlue, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(3.5, 2.5, 9, 11));
            break;
        case IconId::Undo:
            Arrow(p, true);
            break;
        case IconId::Redo:
            Arrow(p, false);
            break;
        case IconId::Find:
            Lens(p);
            break;
        case IconId::Replace:
            Lens(p);
            p.setPen(QPen(QColor(200, 60, 40), 1.5));
            p.drawLine(QPointF(9, 1.5), QPointF(15, 1.5));
            p.drawLine(QPointF(12.5, 0), QPointF(15, 1.5));
            break;
        case IconId::TagDiv:
            p.setPen(QPen(kBlock, 1, Qt::DotLine));
            p.drawRect(QRectF(0.5, 1.5, 15, 13));
            Label(p, QStringLiteral("div"), kBlock, true, false);
            break;
        case IconId::TagH1:
        case IconId::TagH2:
        case IconId::TagH3:
        case IconId::TagH4:
            Label(p,
                  QStringLiteral("H%1").arg(static_cast<int>(id) - static_cast<int>(IconId::TagH1) +
                                            1),
                  kBlock, true, false);
            break;
        case IconId::TagP:
            Label(p, QStringLiteral("¶"), kBlock, true, false);
            break;
        case IconId::TagPre:
            Label(p, QStringLiteral("pre"), kBlock, false, false);
            break;
        case IconId::TagBlockquote:
            Label(p, QStringLiteral("“”"), kBlock, true, false);
            break;
        case IconId::TagSpan:
            Label(p, QStringLiteral("span"), kInline, false, false);
            break;
        case IconId::TagEm:
            Label(p, QStringLiteral("em"), kInline, false, true);
            break;
        case IconId::TagStrong:
            Label(p, QStringLiteral("B"), kInline, true, false);
            break;
        case IconId::TagBr:
            LineBreak(p);
            break;
        case IconId::TagA:
            Label(p, QStringLiteral("a"), kBlue, true, false);
            p.setPen(QPen(kBlue, 1));
            p.drawLine(4, 14, 12, 14);
            break;
        case IconId::TagCite:
            Label(p, QStringLiteral("cite"), kInline, false, true);
            break;
        case IconId::TagUl:
            ListRows(p, 0);
            break;
        case IconId::TagOl:
            ListRows(p, 1);
            break;
        case IconId::TagDl:
            ListRows(p, 2);
            break;
        case IconId::TagTable:
            Grid(p);
            break;
        case IconId::TagClass:
            Label(p, QStringLiteral(".cl"), kAttribute, true, false);
            break;
        case IconId::TagStyle:
            Label(p, QStringLiteral("{ }"), kAttribute, true, false);
            break;
        case IconId::XhtmlCheck:
            Label(p, QStringLiteral("</>"), kBlock, true, false);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(QColor(30, 150, 60), 2));
            p.drawPolyline(QPolygonF() << QPointF(8, 12) << QPointF(10.5, 14.5) << QPointF(15, 9));
            break;
        case IconId::Browser:
            // A globe: the page as the browser shows it.
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(kBlue, 1));
            p.setBrush(QColor(210, 230, 250));
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(5, 1.5, 6, 13));
            p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
            p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
            break;
        case IconId::None:
            break;
    }
    return pm;
}

}  // namespace

QIcon ActionIcon(IconId id) {
    return id == IconId::None ? QIcon() : QIcon(Draw(id));
}

QIcon TabImage(int index) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    // A sheet with a green check: kept in the page store; a grey empty sheet: only
    // the name and file name are kept.
    Sheet(p, QRectF(2.5, 0.5, 10, 14));
    if (index == 0) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(20, 150, 40), 2.5));
        p.drawLine(QPointF(4, 8), QPointF(7, 12));
        p.drawLine(QPointF(7, 12), QPointF(14, 3));
    } else {
        p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
        p.drawLine(QPointF(4, 5), QPointF(11, 5));
        p.drawLine(QPointF(4, 9), QPointF(11, 9));
    }
    return QIcon(pm);
}

}  // namespace zentabo
