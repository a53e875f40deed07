#pragma once

// Keeps the pages when the program is ended from outside: a desktop session that
// logs out, or a termination signal (SIGTERM, SIGHUP, SIGINT). Each writes the page
// store and the settings as a close does, and a signal then ends the program. A
// signal that comes while the stored pages are read, or while a page is loaded or
// saved, waits until that is done.

#include <QObject>

class QSocketNotifier;

namespace zentabo {

class TMainForm;

class SessionGuard : public QObject {
    Q_OBJECT
public:
    explicit SessionGuard(TMainForm* form);
    ~SessionGuard() override;

    // A signal has ended the session before the event loop ran: there is none to
    // quit, and the program must not start one.
    bool Ended() const { return ended_; }

private:
    void OnSignal();
    void EndWhenIdle();

    TMainForm* form_;
    bool ending_ = false;
    bool ended_ = false;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zentabo
