#include "qt/widget/Composition.h"

#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QPainter>
#include <QTextCharFormat>
#include <QTextLine>
#include <QTextOption>
#include <algorithm>

namespace zentabo {

void Composition::Set(const QInputMethodEvent& e) {
    text_ = e.preeditString();
    formats_.clear();
    cursor_ = static_cast<int>(text_.size());
    cursorShown_ = true;
    for (const QInputMethodEvent::Attribute& a : e.attributes()) {
        if (a.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat f = qvariant_cast<QTextFormat>(a.value).toCharFormat();
            if (f.isValid() && a.length > 0) formats_.append({a.start, a.length, f});
        } else if (a.type == QInputMethodEvent::Cursor) {
            cursor_ = std::clamp(a.start, 0, static_cast<int>(text_.size()));
            cursorShown_ = a.length != 0;
        }
    }
    // An input method that sends no attributes still gets its text marked as unfinished.
    if (formats_.isEmpty() && !text_.isEmpty()) {
        QTextCharFormat underline;
        underline.setUnderlineStyle(QTextCharFormat::DashUnderline);
        formats_.append({0, static_cast<int>(text_.size()), underline});
    }
}

void Composition::Clear() {
    text_.clear();
    formats_.clear();
    cursor_ = 0;
}

std::unique_ptr<QTextLayout> Composition::Lay(const QFont& font, const Place& place) const {
    auto layout = std::make_unique<QTextLayout>(text_, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAnywhere);
    layout->setTextOption(option);
    layout->setFormats(formats_);
    const int row = std::max(1, place.rowHeight);
    // Too little room left of the edge for one full-width character: start a row lower.
    QPoint at = place.caret;
    const int wide = QFontMetrics(font).horizontalAdvance(QChar(0x3042));
    if (place.area.right() + 1 - at.x() < wide) at = QPoint(place.area.left(), at.y() + row);
    at.setX(std::max(at.x(), place.area.left()));
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(std::max(1, place.area.right() + 1 - at.x()));
        line.setPosition(at);
        at = QPoint(place.area.left(), at.y() + row);
    }
    layout->endLayout();
    // Rows below the text area move up, whole rows at a time, but never above its top.
    const int below = Bounds(*layout).bottom() - place.area.bottom();
    const int room = place.caret.y() - place.area.top();
    const int up = std::min((below + row - 1) / row * row, room / row * row);
    if (below > 0 && up > 0) {
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            line.setPosition(line.position() - QPointF(0, up));
        }
    }
    return layout;
}

void Composition::Paint(QPainter& p, const QTextLayout& layout, const QColor& text,
                        const QColor& background) const {
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        p.fillRect(QRectF(line.position(), QSizeF(line.naturalTextWidth(), line.height())),
                   background);
    }
    p.setPen(text);
    layout.draw(&p, QPointF(0, 0));
    if (cursorShown_) layout.drawCursor(&p, QPointF(0, 0), cursor_, 2);
}

QRect Composition::CursorRect(const QTextLayout& layout) const {
    const QTextLine line = layout.lineForTextPosition(cursor_);
    if (!line.isValid()) return {};
    const int x = static_cast<int>(line.cursorToX(cursor_));
    return QRect(x, static_cast<int>(line.y()), 2, static_cast<int>(line.height()));
}

QRect Composition::Bounds(const QTextLayout& layout) {
    QRectF all;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        all |= QRectF(line.position(), QSizeF(line.naturalTextWidth(), line.height()));
    }
    return all.toAlignedRect();
}

}  // namespace zentabo
