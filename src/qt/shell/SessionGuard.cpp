#include "qt/shell/SessionGuard.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>

#include "qt/shell/MainForm.h"

namespace zentabo {

namespace {

// A signal handler may only write to a descriptor; the event loop reads the other end.
int g_signalPipe[2] = {-1, -1};

constexpr int kRecheckMs = 100;

void HandleSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[0], &byte, 1);
}

}  // namespace

SessionGuard::SessionGuard(TMainForm* form) : QObject(form), form_(form) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app) {
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { form_->SaveSession(); });
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { form_->SaveSession(); });
    }
    if (g_signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) == 0) {
        notifier_ = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SessionGuard::OnSignal);
        struct sigaction sa = {};
        sa.sa_handler = HandleSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int sig : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(sig, &sa, nullptr);
    }
}

SessionGuard::~SessionGuard() {
    if (notifier_) {
        for (int sig : {SIGTERM, SIGHUP, SIGINT}) ::signal(sig, SIG_DFL);
        ::close(g_signalPipe[0]);
        ::close(g_signalPipe[1]);
        g_signalPipe[0] = g_signalPipe[1] = -1;
    }
}

void SessionGuard::OnSignal() {
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[1], &byte, 1);
    if (ending_) return;
    ending_ = true;
    EndWhenIdle();
}

void SessionGuard::EndWhenIdle() {
    // A page half read from a file or the page store is not what the user has.
    if (form_->PagesInFlux()) {
        QTimer::singleShot(kRecheckMs, this, &SessionGuard::EndWhenIdle);
        return;
    }
    form_->SaveSession();
    ended_ = true;
    QCoreApplication::quit();
}

}  // namespace zentabo
