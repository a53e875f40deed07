#pragma once

// The input method's composition as the editor shows it over its text: the preedit
// with the attributes the input method sent (clause underlines, the converting
// clause's highlight, the cursor inside the composition), laid out from the caret and
// wrapped within the text area, so that no part hides under the scroll bar or runs
// past the window's edge.

#include <QList>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <memory>

class QInputMethodEvent;
class QPainter;

namespace zentabo {

class Composition {
public:
    // Where the composition may stand, in widget pixels.
    struct Place {
        QPoint caret;   // top-left of the caret's cell
        QRect area;     // the text area: right of the gutter, below the top band
        int rowHeight;  // the editor's line height
    };

    // Takes the preedit and its attributes; every event carries them whole.
    void Set(const QInputMethodEvent& e);
    void Clear();
    bool IsEmpty() const { return text_.isEmpty(); }
    const QString& Text() const { return text_; }

    // The composition laid out in font at place; painting and the cursor query share it.
    std::unique_ptr<QTextLayout> Lay(const QFont& font, const Place& place) const;

    // Draws over the editor's text, opaque in the editor's colours.
    void Paint(QPainter& p, const QTextLayout& layout, const QColor& text,
               const QColor& background) const;
    // The cursor inside the composition: where the input method's candidates go.
    QRect CursorRect(const QTextLayout& layout) const;
    // All the rows the composition covers.
    static QRect Bounds(const QTextLayout& layout);

private:
    QString text_;
    QList<QTextLayout::FormatRange> formats_;
    int cursor_ = 0;
    bool cursorShown_ = true;
};

}  // namespace zentabo
