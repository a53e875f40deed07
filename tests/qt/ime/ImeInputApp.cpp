// The editor widget alone in a window titled "imetest", for typing into it through a
// real input method (run_ime_test.sh drives it). Every input-method event is logged;
// on SIGTERM, SIGINT or after --timeout seconds the stored text is printed as code
// page 932 hex ("RESULT editor hex=...") and the program ends.

#include <QApplication>
#include <QInputMethodEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <csignal>
#include <cstdio>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

void Say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Logs what the input method sends before the widget handles it.
class LoggingEditWidget : public zentabo::LumEditWidget {
protected:
    void inputMethodEvent(QInputMethodEvent* e) override {
        Say(QStringLiteral("IME preedit=\"%1\" commit=\"%2\"")
                .arg(e->preeditString(), e->commitString()));
        LumEditWidget::inputMethodEvent(e);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    int timeoutSec = 30;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--timeout")) timeoutSec = args[i + 1].toInt();

    QWidget win;
    win.setWindowTitle(QStringLiteral("imetest"));
    auto* layout = new QVBoxLayout(&win);
    auto* editor = new LoggingEditWidget;
    editor->SetMessageSink([](const QString& m) { Say(QStringLiteral("MESSAGE ") + m); });
    layout->addWidget(editor);
    win.resize(480, 240);
    win.show();
    win.activateWindow();
    editor->setFocus();
    Say(QStringLiteral("READY pid=%1 QT_IM_MODULE=%2")
            .arg(QCoreApplication::applicationPid())
            .arg(QString::fromLocal8Bit(qgetenv("QT_IM_MODULE"))));

    bool finished = false;
    auto finish = [&] {
        if (finished) return;
        finished = true;
        const std::string bytes = editor->Edit().GetAllText();
        Say(QStringLiteral("RESULT editor hex=\"%1\"")
                .arg(QString::fromLatin1(QByteArray::fromStdString(bytes).toHex(' '))));
        app.quit();
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (g_stop) {
            poll.stop();
            finish();
        }
    });
    poll.start(50);
    QTimer::singleShot(timeoutSec * 1000, finish);
    return app.exec();
}
