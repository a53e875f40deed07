// The snapshot timer on a real main window: when it writes the page store, driven
// through its clock seam and direct ticks (no waiting), and what it writes.

#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "app/FakePages.h"
#include "app/FileIo.h"
#include "app/PageStore.h"
#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/EditSheet.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/SnapshotTimer.h"

using namespace zentabo;
using namespace std::chrono_literals;

namespace {

// The texts of a page-store file, in page order.
std::vector<std::string> TextsIn(const std::string& path) {
    testing::FakeHost host;
    LoadPageStore(host, path);
    std::vector<std::string> texts;
    for (const auto& p : host.pages) texts.push_back(p->text);
    return texts;
}

using Texts = std::vector<std::string>;

// Holds the worker at its first write until released.
struct WriteGate {
    std::mutex m;
    std::condition_variable cv;
    bool closed = false;
    bool Pass(WriteStep step) {
        if (step != WriteStep::Write) return false;
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [this] { return !closed; });
        return false;
    }
    void Set(bool value) {
        {
            std::lock_guard<std::mutex> lock(m);
            closed = value;
        }
        cv.notify_all();
    }
};

}  // namespace

class SnapshotTimerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<SnapshotTimer> timer_;
    SnapshotSchedule::Clock::time_point now_{};
    WriteGate gate_;
    // The UTF-8 question of an open: the test's own answer, in place of a dialog.
    std::function<bool()> askYesNo_ = [] { return false; };

    std::string StorePath() const {
        return dir_.filePath(QStringLiteral("snap.ztb")).toStdString();
    }
    TLumEdit& Edit(int page = 0) { return form_->Page(page)->Edit(); }
    // Time moves on by `by`, then the timer looks at the pages, and a snapshot it
    // started is finished before the test goes on.
    void After(std::chrono::milliseconds by) {
        now_ += by;
        timer_->Tick();
        if (!gate_.closed) timer_->Settle();
    }
    int Written() const { return timer_->SnapshotsWritten(); }

private slots:
    void init() {
        QFile::remove(QString::fromStdString(StorePath()));
        ShellDialogs dialogs = StandardDialogs();
        dialogs.askYesNo = [this](QWidget*, const QString&) { return askYesNo_(); };
        form_ = std::make_unique<TMainForm>(dir_.path(), dialogs);
        form_->show();
        form_->Settings().SnapshotSeconds = 5;
        // The window's own timer writes elsewhere; this one is the one under test.
        timer_ = std::make_unique<SnapshotTimer>(*form_, StorePath(),
                                                 [this](WriteStep s) { return gate_.Pass(s); });
        timer_->SetClockForTests([this] { return now_; });
        Edit().SetAllText("first");
        timer_->Begin(true);
    }
    void cleanup() {
        gate_.Set(false);
        BusyProgress::SetStepAnswerForTests({});
        askYesNo_ = [] { return false; };
        timer_.reset();
        form_->close();
        form_.reset();
    }

    // Nothing is written while nothing changes; a change is written once the pages
    // have been quiet for the set time, and only once.
    void writesAfterTheQuietTimeOnly() {
        After(1h);
        QCOMPARE(Written(), 0);
        QVERIFY(!QFile::exists(QString::fromStdString(StorePath())));

        Edit().TypeText("x");
        After(1s);  // the tick that sees the change
        After(4s);
        QCOMPARE(Written(), 0);
        After(1s);
        QCOMPARE(Written(), 1);
        QCOMPARE(TextsIn(StorePath()), Texts{"xfirst"});
        After(1min);
        QCOMPARE(Written(), 1);
    }

    // Typing without a pause is still written, 30 seconds after the first tick
    // that saw it, with the text as it was then; and again 30 seconds later.
    void writesEveryThirtySecondsWhileChangesGoOn() {
        Edit().TypeText("a");
        After(1s);  // seen
        for (int s = 1; s < 30; ++s) {
            Edit().TypeText("a");
            After(1s);
        }
        QCOMPARE(Written(), 0);
        Edit().TypeText("b");
        After(1s);
        QCOMPARE(Written(), 1);
        QCOMPARE(TextsIn(StorePath()), Texts{std::string(30, 'a') + "bfirst"});
        for (int s = 0; s < 30; ++s) {
            Edit().TypeText("c");
            After(1s);
        }
        QCOMPARE(Written(), 1);
        Edit().TypeText("c");
        After(1s);
        QCOMPARE(Written(), 2);
    }

    // A snapshot falling due while the previous one is still being written is not
    // started, and not lost: it is written as soon as the first one is done, with
    // the newer text.
    void aDueSnapshotWaitsForTheOneBeingWritten() {
        gate_.Set(true);
        Edit().TypeText("1");
        After(1s);
        After(5s);  // started, held at its first write
        Edit().TypeText("2");
        After(1s);
        After(5s);
        After(5s);
        gate_.Set(false);
        timer_->Settle();
        QCOMPARE(Written(), 1);
        QCOMPARE(TextsIn(StorePath()), Texts{"1first"});
        After(1s);
        QCOMPARE(Written(), 2);
        QCOMPARE(TextsIn(StorePath()), Texts{"12first"});
    }

    void zeroSecondsWritesNothing() {
        form_->Settings().SnapshotSeconds = 0;
        for (int s = 0; s < 120; ++s) {
            Edit().TypeText("z");
            After(1s);
        }
        After(1h);
        QCOMPARE(Written(), 0);
        QVERIFY(!QFile::exists(QString::fromStdString(StorePath())));
    }

    // A file being opened lets ticks through its progress steps. None of them may
    // write the half-read page, nor a page that the load's cancel removes; the
    // change waiting before the load is written after it.
    void noSnapshotWhileAFileIsBeingOpened() {
        const QString file = dir_.filePath(QStringLiteral("big.txt"));
        // Past the reader's 16 MB step, so that the load reports progress while
        // reading and again while building the lines.
        std::string content;
        for (int i = 0; i < 1700000; ++i) content += "line " + std::to_string(i) + "\r\n";
        QVERIFY(WriteFileAtomically(file.toStdString(), content).ok);
        Edit().TypeText("x");
        After(1s);
        After(3s);

        bool letThrough = false;
        int steps = 0;
        BusyProgress::SetStepAnswerForTests([&](const QString&, double) {
            ++steps;
            After(10s);
            return letThrough || steps < 3;
        });
        form_->AddPage(QStringLiteral("big.txt"), file.toStdString());  // cancelled
        QCOMPARE(steps, 3);
        QCOMPARE(form_->PageCount(), 1);
        QCOMPARE(Written(), 0);
        After(1s);
        QCOMPARE(Written(), 1);
        QCOMPARE(TextsIn(StorePath()), Texts{"xfirst"});

        letThrough = true;
        steps = 0;
        form_->AddPage(QStringLiteral("big.txt"), file.toStdString());
        QVERIFY(steps >= 3);
        QCOMPARE(form_->PageCount(), 2);
        QCOMPARE(Written(), 1);
        After(1s);
        After(5s);
        QCOMPARE(Written(), 2);
        QCOMPARE(TextsIn(StorePath()), (Texts{"xfirst", content}));
    }

    // While the UTF-8 question is open the new page is still empty: a snapshot then
    // would restore an empty page under the file's name after a crash.
    void noSnapshotWhileTheUtf8QuestionIsOpen() {
        const QString file = dir_.filePath(QStringLiteral("utf8.txt"));
        QVERIFY(WriteFileAtomically(file.toStdString(), "\xe6\x97\xa5\xe6\x9c\xac").ok);
        Edit().TypeText("x");
        askYesNo_ = [this] {
            After(10s);
            After(10s);
            return true;
        };
        form_->AddPage(QStringLiteral("utf8.txt"), file.toStdString());
        QCOMPARE(Written(), 0);
        After(1s);
        After(5s);
        QCOMPARE(Written(), 1);
        Texts shown;
        for (int i = 0; i < form_->PageCount(); ++i) shown.push_back(Edit(i).GetAllText());
        QCOMPARE(shown.back(), std::string("\x93\xfa\x96\x7b"));
        QCOMPARE(TextsIn(StorePath()), shown);
    }
};

QTEST_MAIN(SnapshotTimerTest)
#include "SnapshotTimerTest.moc"
