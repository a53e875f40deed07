#include "qt/shell/BusyProgress.h"

#include <QApplication>
#include <QProgressBar>
#include <QProgressDialog>
#include <algorithm>

namespace zentabo {

namespace {
constexpr int kSteps = 1000;

BusyProgress::StepAnswer& TestAnswer() {
    static BusyProgress::StepAnswer answer;
    return answer;
}
}  // namespace

void BusyProgress::SetStepAnswerForTests(StepAnswer answer) {
    TestAnswer() = std::move(answer);
}

BusyProgress::BusyProgress(QWidget* parent, QString label, bool busyAtOnce, Stop stop)
    : parent_(parent), label_(std::move(label)), stop_(stop) {
    ++running_;
    clock_.start();
    if (busyAtOnce) SetBusyCursor();
}

BusyProgress::~BusyProgress() {
    Finish();
}

void BusyProgress::Finish() {
    // The task's pages are whole again from here on, for the snapshot's timer too.
    if (!finished_) --running_;
    finished_ = true;
    dialog_.reset();
    bar_ = nullptr;
    if (cursorSet_) QApplication::restoreOverrideCursor();
    cursorSet_ = false;
}

void BusyProgress::EndCancel() {
    stop_ = Stop::No;
    if (dialog_) dialog_->setCancelButtonText(QString());
}

void BusyProgress::SetBusyCursor() {
    if (cursorSet_) return;
    cursorSet_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

bool BusyProgress::Step(double fraction) {
    const bool cancellable = stop_ == Stop::Cancellable;
    if (cancellable && TestAnswer()) {
        cancelled_ = cancelled_ || !TestAnswer()(label_, fraction);
        return !cancelled_;
    }
    if (cancelled_) return false;
    if (finished_) return true;
    if (!dialog_) {
        if (clock_.elapsed() < kShowAfterMs) return true;
        SetBusyCursor();
        // A layout cannot be left half done, so only a task that can stop gets the button.
        const QString cancelText = cancellable ? QStringLiteral("キャンセル") : QString();
        dialog_ = std::make_unique<QProgressDialog>(label_, cancelText, 0, kSteps, parent_);
        dialog_->setWindowTitle(parent_ ? parent_->windowTitle() : QString());
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        // Moved through the bar itself: the dialog's own setValue lets every event
        // through while it is modal, socket notifiers (a termination signal, another
        // start) included.
        bar_ = new QProgressBar;
        bar_->setRange(0, kSteps);
        dialog_->setBar(bar_);
        dialog_->show();
    }
    bar_->setValue(std::clamp(static_cast<int>(fraction * kSteps), 0, kSteps));
    // The dialog is application modal: input let through reaches only its button. A
    // task that cannot stop lets no input and no socket (another instance handing over
    // files) through, so nothing starts under it.
    QCoreApplication::processEvents(cancellable ? QEventLoop::AllEvents
                                                : QEventLoop::ExcludeUserInputEvents |
                                                      QEventLoop::ExcludeSocketNotifiers);
    cancelled_ = cancellable && dialog_->wasCanceled();
    return !cancelled_;
}

}  // namespace zentabo
