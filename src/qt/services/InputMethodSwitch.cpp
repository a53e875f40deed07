#include "qt/services/InputMethodSwitch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zentabo {

namespace {

constexpr char kFcitx5[] = "org.fcitx.Fcitx5";

// fcitx5 learns of the focus over the bus too; its input context for the window
// may be created only after the focus arrived, so the switch waits a moment.
constexpr int kSettleMs = 250;

bool ReadyForSwitch(const QWidget* w) {
    return w->hasFocus() && w->window()->isActiveWindow();
}

void SendLater(QWidget* editor, bool open) {
    QTimer::singleShot(kSettleMs, editor, [w = QPointer<QWidget>(editor), open] {
        if (w && ReadyForSwitch(w)) SendInputMethodSwitch(open);
    });
}

// Waits for the editor's first focus in an active window, then switches once.
class SwitchOnFocus : public QObject {
public:
    SwitchOnFocus(QWidget* editor, bool open) : QObject(editor), open_(open) {
        editor->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        auto* w = static_cast<QWidget*>(watched);
        if (e->type() == QEvent::FocusIn && w->window()->isActiveWindow()) {
            SendLater(w, open_);
            deleteLater();
        }
        return false;
    }

private:
    bool open_;
};

}  // namespace

bool SendInputMethodSwitch(bool open) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    // Asking whether it runs starts nothing; calling a name nobody owns could.
    const QDBusConnectionInterface* names = bus.interface();
    if (!names || !names->isServiceRegistered(QString::fromLatin1(kFcitx5)).value()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kFcitx5), QStringLiteral("/controller"),
        QStringLiteral("org.fcitx.Fcitx.Controller1"),
        open ? QStringLiteral("Activate") : QStringLiteral("Deactivate"));
    call.setAutoStartService(false);
    return bus.send(call);
}

void SwitchInputMethod(QWidget* editor, bool open) {
    if (!editor) return;
    if (ReadyForSwitch(editor))
        SendLater(editor, open);
    else
        new SwitchOnFocus(editor, open);
}

}  // namespace zentabo
