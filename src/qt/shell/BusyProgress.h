#pragma once

// Feedback for a long task on the user-interface thread: a busy cursor, and a
// progress dialog once the task has taken half a second. The task reports how far
// it got; in between, the dialog is painted, but user input waits, except for the
// dialog's cancel button when the task can be stopped.

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>

class QProgressBar;
class QProgressDialog;
class QWidget;

namespace zentabo {

class BusyProgress {
public:
    enum class Stop { No, Cancellable };
    // busyAtOnce: the task is known to be long, so the cursor changes at once.
    // Cancellable: the dialog has a cancel button; the task leaves everything as it
    // was when Step says stop.
    BusyProgress(QWidget* parent, QString label, bool busyAtOnce, Stop stop = Stop::No);
    ~BusyProgress();
    BusyProgress(const BusyProgress&) = delete;
    BusyProgress& operator=(const BusyProgress&) = delete;

    // fraction: 0 to 1 of the whole task. False: the user cancelled, stop now.
    bool Step(double fraction);
    bool Cancelled() const { return cancelled_; }
    // The task has reached a part it must finish: the cancel button goes, and user
    // input waits again.
    void EndCancel();
    // The task is over before its own last words (a message box): the dialog and the
    // busy cursor go now; later steps show nothing.
    void Finish();

    // Some task is under way: its pages are not to be read by anything the event
    // loop runs meanwhile (the progress dialog lets timers fire).
    static bool Running() { return running_ > 0; }

    // Marks a task that may ask the user something (and so run the event loop)
    // before or between its progress steps, such as opening a page.
    class Scope {
    public:
        Scope() { ++running_; }
        ~Scope() { --running_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

    static constexpr int kShowAfterMs = 500;

    // Tests answer every step of a cancellable task themselves (false: cancel) instead
    // of waiting for the dialog; an empty answer puts the dialog back.
    using StepAnswer = std::function<bool(const QString& label, double fraction)>;
    static void SetStepAnswerForTests(StepAnswer answer);

private:
    void SetBusyCursor();

    static inline int running_ = 0;

    QWidget* parent_;
    QString label_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
    QProgressBar* bar_ = nullptr;  // the dialog's
    Stop stop_;
    bool cursorSet_ = false;
    bool cancelled_ = false;
    bool finished_ = false;
};

}  // namespace zentabo
