#include "qt/shell/PageControl.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zentabo {

namespace {

constexpr int kIconSize = 16;

}  // namespace

PageTabBar::PageTabBar(QWidget* parent)
    : QWidget(parent), scrollLeft_(new QToolButton(this)), scrollRight_(new QToolButton(this)) {
    setMouseTracking(true);  // hot-tracking tabs
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    for (QToolButton* b : {scrollLeft_, scrollRight_}) {
        b->setAutoRepeat(true);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
    }
    scrollLeft_->setArrowType(Qt::LeftArrow);
    scrollRight_->setArrowType(Qt::RightArrow);
    connect(scrollLeft_, &QToolButton::clicked, this, [this] { Scroll(-1); });
    connect(scrollRight_, &QToolButton::clicked, this, [this] { Scroll(1); });
    Relayout();
}

int PageTabBar::insertTab(int index, const QIcon& icon, const QString& text) {
    index = std::clamp(index, 0, count());
    Tab tab{text, icon, QRect(), QSize()};
    tab.size = TabSize(tab);
    tabs_.insert(index, tab);
    if (current_ >= index) ++current_;
    Relayout();
    // The first tab becomes the current one, as in any tab control.
    if (current_ < 0) setCurrentIndex(index);
    return index;
}

void PageTabBar::removeTab(int index) {
    if (index < 0 || index >= count()) return;
    tabs_.remove(index);
    hover_ = -1;
    const int old = current_;
    if (current_ > index || current_ == count()) --current_;
    Relayout();
    // Removing the current tab selects the one that took its place.
    if (old == index || current_ != old) {
        ScrollToCurrent();
        emit currentChanged(current_);
    }
}

void PageTabBar::moveTab(int from, int to) {
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to) return;
    tabs_.move(from, to);
    if (current_ == from)
        current_ = to;
    else if (from < current_ && to >= current_)
        --current_;
    else if (from > current_ && to <= current_)
        ++current_;
    Relayout();
    emit tabMoved(from, to);
}

QString PageTabBar::tabText(int index) const {
    return index >= 0 && index < count() ? tabs_[index].text : QString();
}

void PageTabBar::setTabText(int index, const QString& text) {
    if (index < 0 || index >= count()) return;
    tabs_[index].text = text;
    tabs_[index].size = TabSize(tabs_[index]);
    Relayout();
}

QIcon PageTabBar::tabIcon(int index) const {
    return index >= 0 && index < count() ? tabs_[index].icon : QIcon();
}

void PageTabBar::setTabIcon(int index, const QIcon& icon) {
    if (index < 0 || index >= count()) return;
    tabs_[index].icon = icon;
    const QSize size = TabSize(tabs_[index]);
    if (size == tabs_[index].size) {
        update();
        return;
    }
    tabs_[index].size = size;
    Relayout();
}

void PageTabBar::setCurrentIndex(int index) {
    if (index < 0 || index >= count() || index == current_) return;
    current_ = index;
    if (multiLine_)
        Relayout();
    else
        ScrollToCurrent();
    update();
    emit currentChanged(index);
}

void PageTabBar::SetMultiLine(bool on) {
    if (multiLine_ == on) return;
    multiLine_ = on;
    firstShown_ = 0;
    Relayout();
    ScrollToCurrent();
}

QSize PageTabBar::TabSize(const Tab& tab) const {
    QStyleOptionTab opt;
    opt.initFrom(this);
    opt.shape = QTabBar::RoundedNorth;
    opt.text = tab.text;
    opt.icon = tab.icon;
    opt.iconSize = QSize(kIconSize, kIconSize);
    const QFontMetrics fm = fontMetrics();
    const int hframe = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &opt, this);
    const int vframe = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &opt, this);
    const int iconWidth = tab.icon.isNull() ? 0 : kIconSize + 4;
    const QSize content(fm.size(Qt::TextShowMnemonic, tab.text).width() + iconWidth + hframe,
                        std::max(fm.height(), kIconSize) + vframe);
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &opt, content, this);
}

void PageTabBar::MeasureTabs() {
    for (Tab& t : tabs_) t.size = TabSize(t);
}

int PageTabBar::RowHeight() const {
    return TabSize(Tab{QStringLiteral("Xg"), QIcon(), QRect(), QSize()}).height();
}

void PageTabBar::Relayout() {
    const int w = std::max(width(), 1);
    if (multiLine_)
        LayOutRows(w);
    else
        LayOutOneRow(w);
    const int h = rows_ * RowHeight();
    if (height() != h || minimumHeight() != h) setFixedHeight(h);
    update();
}

void PageTabBar::LayOutRows(int width) {
    overflow_ = false;
    scrollLeft_->hide();
    scrollRight_->hide();
    const int rowHeight = RowHeight();
    int x = 0;
    int row = 0;
    for (Tab& t : tabs_) {
        const int tw = std::min(t.size.width(), width);
        if (x > 0 && x + tw > width) {
            ++row;
            x = 0;
        }
        t.rect = QRect(x, row, tw, rowHeight);  // y holds the row until all are known
        x += tw;
    }
    rows_ = row + 1;
    // As in every multi-row tab control, the row holding the current tab moves next to
    // the page, the others keeping their order around it.
    const int currentRow = current_ >= 0 && current_ < count() ? tabs_[current_].rect.y() : row;
    for (Tab& t : tabs_)
        t.rect.moveTop(((t.rect.y() + rows_ - 1 - currentRow) % rows_) * rowHeight);
}

void PageTabBar::LayOutOneRow(int width) {
    const int rowHeight = RowHeight();
    int x = 0;
    for (Tab& t : tabs_) {
        const int tw = t.size.width();
        t.rect = QRect(x, 0, tw, rowHeight);
        x += tw;
    }
    rows_ = 1;
    overflow_ = x > width;
    scrollLeft_->setVisible(overflow_);
    scrollRight_->setVisible(overflow_);
    if (!overflow_) {
        firstShown_ = 0;
        return;
    }
    const int bw = std::min(rowHeight, width / 4);
    scrollLeft_->setGeometry(width - 2 * bw, 0, bw, rowHeight);
    scrollRight_->setGeometry(width - bw, 0, bw, rowHeight);
    Scroll(0);  // keeps the first shown tab within range for the new width
}

int PageTabBar::VisibleWidth() const {
    return overflow_ ? scrollLeft_->x() : width();
}

int PageTabBar::ScrollOffset() const {
    if (!overflow_ || tabs_.isEmpty()) return 0;
    return tabs_[std::clamp(firstShown_, 0, count() - 1)].rect.x();
}

void PageTabBar::Scroll(int step) {
    if (!overflow_ || tabs_.isEmpty()) return;
    // The last first tab that still leaves no empty space at the right.
    const int end = tabs_.last().rect.right() + 1;
    int lastFirst = count() - 1;
    while (lastFirst > 0 && end - tabs_[lastFirst - 1].rect.x() <= VisibleWidth()) --lastFirst;
    firstShown_ = std::clamp(firstShown_ + step, 0, lastFirst);
    scrollLeft_->setEnabled(firstShown_ > 0);
    scrollRight_->setEnabled(firstShown_ < lastFirst);
    update();
}

void PageTabBar::ScrollToCurrent() {
    if (!overflow_ || current_ < 0) return;
    if (current_ < firstShown_) firstShown_ = current_;
    while (firstShown_ < current_ &&
           tabs_[current_].rect.right() + 1 - ScrollOffset() > VisibleWidth())
        ++firstShown_;
    Scroll(0);
}

QRect PageTabBar::tabRect(int index) const {
    if (index < 0 || index >= count()) return QRect();
    const QRect r = tabs_[index].rect.translated(-ScrollOffset(), 0);
    if (overflow_ && (r.right() < 0 || r.left() >= VisibleWidth())) return QRect();
    return r;
}

int PageTabBar::tabAt(const QPoint& pos) const {
    if (overflow_ && pos.x() >= VisibleWidth()) return -1;
    for (int i = 0; i < count(); ++i) {
        if (tabRect(i).contains(pos)) return i;
    }
    return -1;
}

QSize PageTabBar::sizeHint() const {
    // Never wider than the window offers: the rows (or the scrolling) take what is there.
    return QSize(4 * RowHeight(), rows_ * RowHeight());
}

QSize PageTabBar::minimumSizeHint() const {
    return QSize(2 * RowHeight(), rows_ * RowHeight());
}

void PageTabBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setClipRect(QRect(0, 0, VisibleWidth(), height()));
    auto option = [this](int i) {
        QStyleOptionTab opt;
        opt.initFrom(this);
        opt.shape = QTabBar::RoundedNorth;
        opt.rect = tabRect(i);
        opt.text = tabs_[i].text;
        opt.icon = tabs_[i].icon;
        opt.iconSize = QSize(kIconSize, kIconSize);
        opt.row = tabs_[i].rect.y() / std::max(1, RowHeight());
        const bool first = i == 0 || tabs_[i - 1].rect.y() != tabs_[i].rect.y();
        const bool last = i == count() - 1 || tabs_[i + 1].rect.y() != tabs_[i].rect.y();
        opt.position = first && last ? QStyleOptionTab::OnlyOneTab
                       : first       ? QStyleOptionTab::Beginning
                       : last        ? QStyleOptionTab::End
                                     : QStyleOptionTab::Middle;
        if (i + 1 == current_ && !last)
            opt.selectedPosition = QStyleOptionTab::NextIsSelected;
        else if (i - 1 == current_ && !first)
            opt.selectedPosition = QStyleOptionTab::PreviousIsSelected;
        opt.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        if (i == current_) opt.state |= QStyle::State_Selected;
        if (i == hover_) opt.state |= QStyle::State_MouseOver;
        return opt;
    };
    // The current tab last, so that it overlaps its neighbours.
    for (int i = 0; i < count(); ++i) {
        if (i == current_ || tabRect(i).isEmpty()) continue;
        const QStyleOptionTab opt = option(i);
        style()->drawControl(QStyle::CE_TabBarTab, &opt, &p, this);
    }
    if (current_ >= 0 && !tabRect(current_).isEmpty()) {
        const QStyleOptionTab opt = option(current_);
        style()->drawControl(QStyle::CE_TabBarTab, &opt, &p, this);
    }
}

void PageTabBar::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Relayout();
    ScrollToCurrent();
}

void PageTabBar::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
        MeasureTabs();
        Relayout();
    }
}

void PageTabBar::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    hover_ = -1;
    update();
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
    dragging_ = false;
    dragTab_ = -1;
    if (e->button() != Qt::LeftButton) return;
    const int tab = tabAt(pos);
    if (tab < 0) return;
    setCurrentIndex(tab);  // a left press activates the tab first
    if (tab > 0) {
        dragTab_ = tab;
        pressPoint_ = pos;
    }
    e->accept();
}

void PageTabBar::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const int over = tabAt(pos);
    if (over != hover_) {
        hover_ = over;
        update();
    }
    if (dragTab_ > 0 && (e->buttons() & Qt::LeftButton)) {
        if (!dragging_ && (pos - pressPoint_).manhattanLength() >= kDragThreshold) dragging_ = true;
        if (dragging_) setCursor(over > 0 ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        e->accept();
    }
}

void PageTabBar::mouseReleaseEvent(QMouseEvent* e) {
    if (dragTab_ <= 0 || e->button() != Qt::LeftButton) return;
    const int from = dragTab_;
    const bool wasDragging = dragging_;
    dragTab_ = -1;
    dragging_ = false;
    unsetCursor();
    if (!wasDragging) return;
    const int to = tabAt(e->position().toPoint());
    // Nothing moves onto the first tab or onto the empty part of the row.
    if (to > 0 && to != from) {
        moveTab(from, to);
        setCurrentIndex(to);
        emit TabDropped(from, to);
    }
    e->accept();
}

PageControl::PageControl(QWidget* parent)
    : QWidget(parent), bar_(new PageTabBar(this)), stack_(new QStackedWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar_);
    layout->addWidget(stack_, 1);
    stack_->setFrameShape(QFrame::StyledPanel);
    connect(bar_, &PageTabBar::currentChanged, this, [this](int index) {
        stack_->setCurrentIndex(index);
        emit currentChanged(index);
    });
    connect(bar_, &PageTabBar::tabMoved, this, [this](int from, int to) {
        QWidget* page = stack_->widget(from);
        stack_->removeWidget(page);
        stack_->insertWidget(to, page);
        stack_->setCurrentIndex(bar_->currentIndex());
    });
}

int PageControl::count() const {
    return bar_->count();
}

QWidget* PageControl::widget(int index) const {
    return stack_->widget(index);
}

QWidget* PageControl::currentWidget() const {
    return widget(bar_->currentIndex());
}

int PageControl::currentIndex() const {
    return bar_->currentIndex();
}

void PageControl::setCurrentIndex(int index) {
    bar_->setCurrentIndex(index);
}

int PageControl::indexOf(const QWidget* page) const {
    return stack_->indexOf(page);
}

int PageControl::addTab(QWidget* page, const QIcon& icon, const QString& text) {
    stack_->addWidget(page);
    return bar_->insertTab(bar_->count(), icon, text);
}

void PageControl::removeTab(int index) {
    QWidget* page = widget(index);
    if (!page) return;
    stack_->removeWidget(page);
    bar_->removeTab(index);
}

QString PageControl::tabText(int index) const {
    return bar_->tabText(index);
}

void PageControl::setTabText(int index, const QString& text) {
    bar_->setTabText(index, text);
}

void PageControl::setTabIcon(int index, const QIcon& icon) {
    bar_->setTabIcon(index, icon);
}

}  // namespace zentabo
