#pragma once

// The editor's scroll bars. A disabled bar shows no thumb, as the platform's own bars
// do: there is nothing to scroll, so a thumb would only show a position that means
// nothing. The wheel over a bar is the editor's, so it scrolls the editor's step.

#include <QScrollBar>

namespace zentabo {

class EditorScrollBar : public QScrollBar {
public:
    explicit EditorScrollBar(Qt::Orientation orientation, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
};

}  // namespace zentabo
