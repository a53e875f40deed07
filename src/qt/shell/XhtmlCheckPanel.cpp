#include "qt/shell/XhtmlCheckPanel.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

#include "qt/shell/EditSheet.h"

namespace zentabo {

class XhtmlProblemModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Set(std::vector<XhtmlProblem> problems) {
        beginResetModel();
        problems_ = std::move(problems);
        checked_ = true;
        endResetModel();
    }
    const std::vector<XhtmlProblem>& Problems() const { return problems_; }

    int rowCount(const QModelIndex& parent) const override {
        if (parent.isValid()) return 0;
        if (problems_.empty()) return checked_ ? 1 : 0;
        return static_cast<int>(problems_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole) return {};
        if (problems_.empty()) {
            if (role != Qt::DisplayRole || index.column() != 2) return {};
            return QStringLiteral("問題はありません。");
        }
        const XhtmlProblem& p = problems_[static_cast<std::size_t>(index.row())];
        if (role == Qt::TextAlignmentRole)
            return index.column() < 2 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        switch (index.column()) {
            case 0:
                return p.line + 1;
            case 1:
                return p.column + 1;
            default:
                return QString::fromStdString(p.message);
        }
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
        static const char* const kTitles[] = {"行", "桁", "内容"};
        return QString::fromUtf8(kTitles[section]);
    }

private:
    std::vector<XhtmlProblem> problems_;
    bool checked_ = false;
};

XhtmlCheckPanel::XhtmlCheckPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("XHTML 検査"), parent),
      model_(new XhtmlProblemModel(this)),
      view_(new QTableView(this)) {
    setObjectName(QStringLiteral("XhtmlCheckPanel"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    view_->setObjectName(QStringLiteral("XhtmlProblemList"));
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setShowGrid(false);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    // Fixed row heights: the view never measures rows, whatever their number.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->setColumnWidth(0, 60);
    view_->setColumnWidth(1, 50);
    setWidget(view_);
    // activated comes from a double click and from Enter alike.
    connect(view_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { Activate(index.row()); });
}

void XhtmlCheckPanel::ShowProblems(TEditSheet* page, std::vector<XhtmlProblem> problems) {
    page_ = page;
    model_->Set(std::move(problems));
}

const std::vector<XhtmlProblem>& XhtmlCheckPanel::Problems() const {
    return model_->Problems();
}

int XhtmlCheckPanel::CurrentRow() const {
    const QModelIndex i = view_->currentIndex();
    return i.isValid() ? i.row() : -1;
}

bool XhtmlCheckPanel::Step(int direction) {
    const int count = static_cast<int>(Problems().size());
    if (count == 0) return false;
    int row = CurrentRow();
    if (row < 0)
        row = direction > 0 ? 0 : count - 1;
    else
        row = ((row + direction) % count + count) % count;
    view_->setCurrentIndex(model_->index(row, 0));
    Activate(row);
    return true;
}

void XhtmlCheckPanel::Activate(int row) {
    if (row < 0 || row >= static_cast<int>(Problems().size()) || !page_) return;
    emit ProblemActivated(page_, Problems()[static_cast<std::size_t>(row)]);
}

}  // namespace zentabo
