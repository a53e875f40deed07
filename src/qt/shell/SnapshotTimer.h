#pragma once

// Writes the page store while the program runs, so a crash, a kill or a power cut
// loses only the last few seconds of typing. A one-second tick compares the pages
// with the last look (cheap: generations, captions, file names); once they have been
// quiet for the set time, or changed for 30 seconds without a pause, it captures
// them and a worker thread writes the file. A failure shows one line in the status
// bar and is tried again; the previous good file stays as it was. While a load, a
// save or a layout shows its progress dialog the tick does nothing: the pages are
// not in a state to be kept then.

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/PageStoreSnapshots.h"

class QLabel;

namespace zentabo {

class TMainForm;

class SnapshotTimer : public QObject {
    Q_OBJECT
public:
    SnapshotTimer(TMainForm& form, const std::string& pageStorePath, WriteFaultInjector fault = {});
    ~SnapshotTimer() override;

    // The store was read at start; from now on the pages' changes are followed.
    void Begin(bool readCompletely);
    // The close writes the store: no snapshot runs during it or lands after it.
    StoreWriteOutcome WriteNow(const PageStoreSnapshots::WriteFunction& write);
    // The pages are gone (the window closed): nothing more is written.
    void Stop();

    // One tick now. Tests call it themselves, with their own clock.
    void Tick();
    using NowFunction = std::function<SnapshotSchedule::Clock::time_point()>;
    void SetClockForTests(NowFunction now) { now_ = std::move(now); }
    // Waits for a running snapshot and delivers its outcome (tests).
    void Settle();
    QLabel* Notice() const { return notice_; }
    int SnapshotsWritten() const { return written_; }

private:
    void TakeSnapshot();
    void Finished(const StoreWriteOutcome& outcome);
    void ShowKept(const StoreWriteOutcome& outcome);

    TMainForm& form_;
    PageStoreSnapshots store_;
    SnapshotSchedule schedule_;
    StoreState lastState_;
    NowFunction now_ = [] { return SnapshotSchedule::Clock::now(); };
    QTimer tick_;
    QLabel* notice_ = nullptr;
    bool failing_ = false;
    bool stopped_ = false;
    int written_ = 0;
};

}  // namespace zentabo
