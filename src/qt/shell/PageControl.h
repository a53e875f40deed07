#pragma once

// The tab control that holds the pages. Its tab row lays the tabs out in as many rows
// as the width needs (multi-line) or in one row that scrolls with two buttons; either
// way it never asks for more width than the window has. It remembers where the last
// right click fell (the tab menu acts on that tab) and lets the user drag any tab but
// the first to another place that is not the first.

#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

class QStackedWidget;
class QToolButton;

namespace zentabo {

class PageTabBar : public QWidget {
    Q_OBJECT
public:
    explicit PageTabBar(QWidget* parent = nullptr);

    int count() const { return static_cast<int>(tabs_.size()); }
    int insertTab(int index, const QIcon& icon, const QString& text);
    void removeTab(int index);
    void moveTab(int from, int to);
    QString tabText(int index) const;
    void setTabText(int index, const QString& text);
    QIcon tabIcon(int index) const;
    void setTabIcon(int index, const QIcon& icon);
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    // In the bar's coordinates; empty for a tab scrolled out of view.
    QRect tabRect(int index) const;
    int tabAt(const QPoint& pos) const;
    int RowCount() const { return rows_; }

    QPoint PopupPoint() const { return popupPoint_; }
    // The tab under the last right click, -1 when it fell on no tab.
    int PopupTab() const { return tabAt(popupPoint_); }

    void SetMultiLine(bool on);
    bool MultiLine() const { return multiLine_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The pixels the mouse must travel with the button down before a drag begins.
    static constexpr int kDragThreshold = 5;

signals:
    void currentChanged(int index);
    void tabMoved(int from, int to);
    void TabDropped(int from, int to);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    struct Tab {
        QString text;
        QIcon icon;
        QRect rect;  // laid out, before the one-row scrolling
        QSize size;  // measured once: styling a thousand tabs on every change is slow
    };

    QSize TabSize(const Tab& tab) const;
    void MeasureTabs();
    int RowHeight() const;
    void Relayout();
    void LayOutRows(int width);
    void LayOutOneRow(int width);
    void ScrollToCurrent();
    void Scroll(int step);
    int ScrollOffset() const;
    int VisibleWidth() const;

    QVector<Tab> tabs_;
    int current_ = -1;
    int hover_ = -1;
    int rows_ = 1;
    bool multiLine_ = true;
    // One-row mode: the first tab shown at the left edge.
    int firstShown_ = 0;
    bool overflow_ = false;
    QToolButton* scrollLeft_;
    QToolButton* scrollRight_;

    QPoint popupPoint_{-1, -1};
    QPoint pressPoint_;
    int dragTab_ = -1;
    bool dragging_ = false;
};

// The tab row above a stack of pages, with the calls of a tab widget the window uses.
class PageControl : public QWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);
    PageTabBar* Bar() const { return bar_; }

    int count() const;
    QWidget* widget(int index) const;
    QWidget* currentWidget() const;
    int currentIndex() const;
    void setCurrentIndex(int index);
    int indexOf(const QWidget* page) const;
    // Appends the page; returns its index.
    int addTab(QWidget* page, const QIcon& icon, const QString& text);
    // Takes the page out of the control without deleting it.
    void removeTab(int index);
    QString tabText(int index) const;
    void setTabText(int index, const QString& text);
    void setTabIcon(int index, const QIcon& icon);

signals:
    void currentChanged(int index);

private:
    PageTabBar* bar_;
    QStackedWidget* stack_;
};

}  // namespace zentabo
