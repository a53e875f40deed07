#include "qt/shell/SnapshotTimer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>

#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/MainForm.h"
#include "qt/widget/Cp932Text.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

constexpr int kTickMs = 1000;
constexpr int kKeptNoticeMs = 60000;

class FormSource : public CaptureSource {
public:
    explicit FormSource(TMainForm& form) : form_(form) {}
    int PageCount() const override { return form_.PageCount(); }
    std::uint64_t TextGeneration(int i) const override {
        return form_.Page(i)->Edit().TextGeneration();
    }
    std::string Caption(int i) const override { return ToCp932(form_.PageCaption(i)); }
    std::string FileName(int i) const override { return form_.Page(i)->FileName(); }
    bool SaveMode(int i) const override { return form_.Page(i)->SaveMode(); }
    std::string Text(int i) const override { return form_.Page(i)->Edit().GetAllText(); }

private:
    TMainForm& form_;
};

QString Shown(const std::string& path) {
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
}

}  // namespace

SnapshotTimer::SnapshotTimer(TMainForm& form, const std::string& pageStorePath,
                             WriteFaultInjector fault)
    : QObject(&form), form_(form), store_(pageStorePath, std::move(fault)) {
    notice_ = new QLabel(form.statusBar());
    notice_->setObjectName(QStringLiteral("SnapshotNotice"));
    notice_->hide();
    form.statusBar()->addWidget(notice_, 1);
    // Whatever is on disk before the pages are read belongs to us.
    store_.Loaded(true);
    tick_.setInterval(kTickMs);
    connect(&tick_, &QTimer::timeout, this, &SnapshotTimer::Tick);
}

SnapshotTimer::~SnapshotTimer() {
    // The worker posts its outcome to this object: it must be done first.
    store_.WaitForSnapshot();
}

void SnapshotTimer::Begin(bool readCompletely) {
    store_.Loaded(readCompletely);
    lastState_ = StateOf(FormSource(form_));
    tick_.start();
}

StoreWriteOutcome SnapshotTimer::WriteNow(const PageStoreSnapshots::WriteFunction& write) {
    const StoreWriteOutcome outcome = store_.WriteNow(write);
    ShowKept(outcome);
    return outcome;
}

void SnapshotTimer::Stop() {
    stopped_ = true;
    tick_.stop();
    store_.WaitForSnapshot();
}

void SnapshotTimer::Tick() {
    // A load, save or layout lets the event loop run from its progress dialog: a
    // page may be half read, or about to be removed by a cancel. The changes are
    // seen, and a due snapshot taken, at the first tick after it. The close's own
    // write of the store shows such a dialog too.
    if (stopped_ || BusyProgress::Running()) return;
    const auto now = now_();
    StoreState state = StateOf(FormSource(form_));
    if (state != lastState_) {
        schedule_.Changed(now);
        lastState_ = std::move(state);
    }
    schedule_.SetQuiet(std::chrono::seconds(form_.Settings().SnapshotSeconds));
    // A snapshot still being written: this one is simply due again at the next tick.
    if (schedule_.Due(now) && !store_.Writing()) TakeSnapshot();
}

void SnapshotTimer::TakeSnapshot() {
    std::vector<PageImage> pages = store_.Capture().Take(FormSource(form_));
    QPointer<SnapshotTimer> self(this);
    const bool started = store_.StartSnapshot(std::move(pages), [self](const StoreWriteOutcome& o) {
        QMetaObject::invokeMethod(
            self.data(),
            [self, o] {
                if (self) self->Finished(o);
            },
            Qt::QueuedConnection);
    });
    if (started) schedule_.Started();
}

void SnapshotTimer::Settle() {
    store_.WaitForSnapshot();
    QCoreApplication::sendPostedEvents(this);
}

void SnapshotTimer::Finished(const StoreWriteOutcome& outcome) {
    if (!outcome.status) {
        schedule_.Failed(now_());
        if (!failing_) {
            // One message for the whole run of failures, not one per attempt.
            failing_ = true;
            notice_->setText(
                QStringLiteral("ページを自動保存できません。保存を試み続けます（前回の保存は"
                               "そのまま残っています）: %1")
                    .arg(QString::fromLocal8Bit(outcome.status.error.c_str())));
            notice_->show();
        }
        return;
    }
    ++written_;
    if (failing_) {
        failing_ = false;
        notice_->hide();
    }
    ShowKept(outcome);
}

void SnapshotTimer::ShowKept(const StoreWriteOutcome& outcome) {
    if (outcome.keptPath.empty()) return;
    notice_->setText(
        outcome.replacedByOther
            ? QStringLiteral("ページファイルが他のプログラムに書き換えられていたため、%1 "
                             "として残しました。")
                  .arg(Shown(outcome.keptPath))
            : QStringLiteral("読み切れなかったページファイルを %1 として残しました。")
                  .arg(Shown(outcome.keptPath)));
    notice_->show();
    QTimer::singleShot(kKeptNoticeMs, notice_, [this] {
        if (!failing_) notice_->hide();
    });
}

}  // namespace zentabo
