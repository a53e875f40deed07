#pragma once

// The tab control that holds the pages. Its tab bar remembers where the last right
// click fell (the tab menu acts on that tab) and lets the user drag any tab but the
// first to another place that is not the first.

#include <QPoint>
#include <QTabBar>
#include <QTabWidget>

namespace zentabo {

class PageTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit PageTabBar(QWidget* parent = nullptr);

    QPoint PopupPoint() const { return popupPoint_; }
    // The tab under the last right click, -1 when it fell on no tab.
    int PopupTab() const { return tabAt(popupPoint_); }

    // Qt has no tabs in several rows; with multi-line on every tab is squeezed into
    // view, with it off the row scrolls as a single line does.
    void SetMultiLine(bool on);
    bool MultiLine() const { return multiLine_; }

    // The pixels the mouse must travel with the button down before a drag begins.
    static constexpr int kDragThreshold = 5;

signals:
    void TabDropped(int from, int to);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPoint popupPoint_{-1, -1};
    QPoint pressPoint_;
    int dragTab_ = -1;
    bool dragging_ = false;
    bool multiLine_ = true;
};

class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);
    PageTabBar* Bar() const { return bar_; }

private:
    PageTabBar* bar_;
};

}  // namespace zentabo
