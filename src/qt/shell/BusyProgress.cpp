#include "qt/shell/BusyProgress.h"

#include <QApplication>
#include <QProgressDialog>
#include <algorithm>

namespace zentabo {

namespace {
constexpr int kSteps = 1000;
}

BusyProgress::BusyProgress(QWidget* parent, QString label, bool busyAtOnce)
    : parent_(parent), label_(std::move(label)) {
    clock_.start();
    if (busyAtOnce) SetBusyCursor();
}

BusyProgress::~BusyProgress() {
    dialog_.reset();
    if (cursorSet_) QApplication::restoreOverrideCursor();
}

void BusyProgress::SetBusyCursor() {
    if (cursorSet_) return;
    cursorSet_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void BusyProgress::Step(double fraction) {
    if (!dialog_) {
        if (clock_.elapsed() < kShowAfterMs) return;
        SetBusyCursor();
        // No cancel button: a half-done layout cannot be left behind.
        dialog_ = std::make_unique<QProgressDialog>(label_, QString(), 0, kSteps, parent_);
        dialog_->setWindowTitle(parent_ ? parent_->windowTitle() : QString());
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    dialog_->setValue(std::clamp(static_cast<int>(fraction * kSteps), 0, kSteps));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace zentabo
