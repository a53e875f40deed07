#pragma once

// The dock panel "XHTML 検査": one row per problem of the last check (line, column
// from 1, message), or "問題はありません。" when there was none. Activating a row
// (double click, Enter) or stepping to the next or previous one asks the window to
// go there.

#include <QDockWidget>
#include <QPointer>
#include <vector>

#include "commands/XhtmlCheck.h"

class QTableView;

namespace zentabo {

class TEditSheet;
class XhtmlProblemModel;

class XhtmlCheckPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit XhtmlCheckPanel(QWidget* parent = nullptr);

    // The rows of a check of `page`. The model is reset, never filled row by row, so
    // even the longest list shows at once.
    void ShowProblems(TEditSheet* page, std::vector<XhtmlProblem> problems);

    const std::vector<XhtmlProblem>& Problems() const;
    int CurrentRow() const;
    QTableView* View() const { return view_; }

    // Makes the next (+1) or previous (-1) problem current, wrapping around, and
    // activates it. False when there is none.
    bool Step(int direction);

signals:
    void ProblemActivated(TEditSheet* page, const XhtmlProblem& problem);

private:
    void Activate(int row);

    XhtmlProblemModel* model_;
    QTableView* view_;
    QPointer<TEditSheet> page_;
};

}  // namespace zentabo
