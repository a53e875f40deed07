#pragma once

// Keeps the pages when the program is ended from outside: a desktop session that
// logs out, or a termination signal (SIGTERM, SIGHUP, SIGINT). Each writes the page
// store and the settings as a close does, and a signal then ends the program.

#include <QObject>

class QSocketNotifier;

namespace zentabo {

class TMainForm;

class SessionGuard : public QObject {
    Q_OBJECT
public:
    explicit SessionGuard(TMainForm* form);
    ~SessionGuard() override;

private:
    void OnSignal();

    TMainForm* form_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zentabo
