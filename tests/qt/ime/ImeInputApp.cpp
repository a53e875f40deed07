// The editor widget in a window titled "imetest", with a line edit below it to take
// the focus away, for typing into it through a real input method (run_ime_test.sh
// drives it). Every input-method event and every change in the answers to the
// surrounding-text queries is logged; on SIGTERM, SIGINT or after --timeout seconds
// the stored text is printed as code page 932 hex with the composition state and the
// caret ("RESULT editor hex=..."), then once more after one undo ("UNDO editor
// hex=..."), and the program ends.
//
// Options: --text UTF8 (the text to start with, "\n" for line breaks), --select
// SC,SL,EL,EC (SetSel: from SC,SL to EL,EC, the caret at the end), --overwrite,
// --wrap COLUMN, --box (box mode for the selection), --line-numbers, --ime-open 0|1
// (switch the input method as a new page does), --timeout SECONDS.

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <csignal>
#include <cstdio>
#include <map>

#include "editor/LumEdit.h"
#include "qt/services/InputMethodSwitch.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

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

QString Hex(const std::string& bytes) {
    return QString::fromLatin1(QByteArray::fromStdString(bytes).toHex(' '));
}

// Logs what the input method sends before the widget handles it, and what it reads.
class LoggingEditWidget : public zentabo::LumEditWidget {
public:
    QVariant inputMethodQuery(Qt::InputMethodQuery q) const override {
        const QVariant v = LumEditWidget::inputMethodQuery(q);
        if (q == Qt::ImSurroundingText || q == Qt::ImCursorPosition || q == Qt::ImAnchorPosition ||
            q == Qt::ImCurrentSelection) {
            const QString s = v.toString();
            if (last_[q] != s) {
                last_[q] = s;
                Say(QStringLiteral("QUERY %1=\"%2\"").arg(static_cast<int>(q)).arg(s));
            }
        }
        return v;
    }

protected:
    void inputMethodEvent(QInputMethodEvent* e) override {
        Say(QStringLiteral("IME preedit=\"%1\" commit=\"%2\" replace=(%3,%4) attributes=%5")
                .arg(e->preeditString(), e->commitString())
                .arg(e->replacementStart())
                .arg(e->replacementLength())
                .arg(e->attributes().size()));
        LumEditWidget::inputMethodEvent(e);
    }

private:
    mutable std::map<int, QString> last_;
};

std::string ToCp932(const QString& s) {
    return zentabo::Utf16ToCp932(s.toStdU16String()).bytes;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    int timeoutSec = 30;
    QWidget win;
    win.setWindowTitle(QStringLiteral("imetest"));
    auto* layout = new QVBoxLayout(&win);
    auto* editor = new LoggingEditWidget;
    editor->SetMessageSink([](const QString& m) { Say(QStringLiteral("MESSAGE ") + m); });
    layout->addWidget(editor);
    // Somewhere else to click, so that the editor loses the focus.
    auto* other = new QLineEdit;
    layout->addWidget(other);
    win.resize(480, 240);
    zentabo::TLumEdit& edit = editor->Edit();

    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("--timeout")) {
            timeoutSec = next.toInt();
            ++i;
        } else if (a == QLatin1String("--text")) {
            edit.SetAllText(ToCp932(QString(next).replace(QLatin1String("\\n"), "\r\n")));
            ++i;
        } else if (a == QLatin1String("--wrap")) {
            edit.SetColumn(next.toInt());
            edit.SetWordWrap(true);
            ++i;
        } else if (a == QLatin1String("--select")) {
            const QStringList n = next.split(QLatin1Char(','));
            if (n.size() == 4) edit.SetSel(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt());
            ++i;
        } else if (a == QLatin1String("--ime-open")) {
            zentabo::SwitchInputMethod(editor, next == QLatin1String("1"));
            ++i;
        } else if (a == QLatin1String("--overwrite")) {
            edit.SetInsertMode(false);
        } else if (a == QLatin1String("--box")) {
            edit.SetBoxSelMode(true);
        } else if (a == QLatin1String("--line-numbers")) {
            edit.ShowLineNumber = true;
            edit.ApplyViewSettings();
        }
    }
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
        Say(QStringLiteral("RESULT editor hex=\"%1\" composing=%2 caret=%3,%4 other=\"%5\"")
                .arg(Hex(edit.GetAllText()))
                .arg(edit.IMEComposing())
                .arg(edit.CaretLine())
                .arg(edit.CaretCol())
                .arg(other->text()));
        edit.Undo();
        Say(QStringLiteral("UNDO editor hex=\"%1\"").arg(Hex(edit.GetAllText())));
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
