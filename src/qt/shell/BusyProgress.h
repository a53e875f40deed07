#pragma once

// Feedback for a long task on the user-interface thread: a busy cursor, and a
// progress dialog once the task has taken half a second. The task reports how far
// it got; in between, the dialog is painted, but user input waits.

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace zentabo {

class BusyProgress {
public:
    // busyAtOnce: the task is known to be long, so the cursor changes at once.
    BusyProgress(QWidget* parent, QString label, bool busyAtOnce);
    ~BusyProgress();
    BusyProgress(const BusyProgress&) = delete;
    BusyProgress& operator=(const BusyProgress&) = delete;

    // fraction: 0 to 1 of the whole task.
    void Step(double fraction);

    static constexpr int kShowAfterMs = 500;

private:
    void SetBusyCursor();

    QWidget* parent_;
    QString label_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
    bool cursorSet_ = false;
};

}  // namespace zentabo
