// The editor widget as a host: typed and committed text reach the editor as code
// page 932, characters it cannot hold are refused with a message, the caret keeps a
// show count, and the single-instance lock admits one holder.

#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <QTest>

#include "editor/LumEdit.h"
#include "qt/shell/AppPaths.h"
#include "qt/shell/SingleInstance.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

using namespace zentabo;

class LumEditWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void typedAndCommittedTextIsCp932() {
        LumEditWidget w;
        w.resize(300, 200);
        w.show();
        QStringList messages;
        w.SetMessageSink([&](const QString& m) { messages << m; });
        QTest::keyClicks(&w, QStringLiteral("ab"));
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本"));
        QApplication::sendEvent(&w, &commit);
        QCOMPARE(w.Edit().GetAllText(), std::string("ab\x93\xfa\x96\x7b"));
        QVERIFY(messages.isEmpty());

        // An emoji has no code page 932 form: the rest goes in, the user is told.
        QInputMethodEvent mixed;
        mixed.setCommitString(QStringLiteral("x\U0001F600y"));
        QApplication::sendEvent(&w, &mixed);
        QCOMPARE(w.Edit().GetAllText(), std::string("ab\x93\xfa\x96\x7bxy"));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(QStringLiteral("\U0001F600")));
    }

    void caretKeepsAShowCount() {
        LumEditWidget w;
        w.CreateCaret(2, 16);
        QVERIFY(!w.CaretVisible());
        w.ShowCaret();
        w.ShowCaret();
        w.HideCaret();
        QVERIFY(w.CaretVisible());
        w.HideCaret();
        QVERIFY(!w.CaretVisible());
        w.SetCaretPos(10, 20);
        QCOMPARE(w.CaretRect(), QRect(10, 20, 2, 16));
        w.DestroyCaret();
        w.ShowCaret();
        QVERIFY(!w.CaretVisible());
    }

    void scrollPixelsMovesTheImage() {
        LumEditWidget w;
        w.resize(100, 100);
        w.show();
        QImage& img = const_cast<QImage&>(w.BackingImage());
        img.setPixel(10, 50, qRgb(255, 0, 0));
        w.ScrollPixels(0, -20, Rect{0, 0, 80, 100});
        QCOMPARE(QColor(w.BackingImage().pixel(10, 30)), QColor(255, 0, 0));
        QVERIFY(QColor(w.BackingImage().pixel(10, 50)) != QColor(255, 0, 0));
    }

    void oneLockHolderAtATime() {
        QTemporaryDir dir;
        SingleInstanceLock first(QStringLiteral("ztabo"), dir.path());
        QVERIFY(first.Acquire());
        SingleInstanceLock second(QStringLiteral("ztabo"), dir.path());
        QVERIFY(!second.Acquire());
    }

    void pathsReplaceOrAddTheExtension() {
        QCOMPARE(ReplaceExtension(QStringLiteral("/opt/z/zentabo.exe"), QStringLiteral(".ini")),
                 QStringLiteral("/opt/z/zentabo.ini"));
        QCOMPARE(ReplaceExtension(QStringLiteral("/opt/z/zentabo"), QStringLiteral(".ztb")),
                 QStringLiteral("/opt/z/zentabo.ztb"));
        QCOMPARE(ReplaceExtension(QStringLiteral("/opt/z.d/zentabo"), QStringLiteral(".ini")),
                 QStringLiteral("/opt/z.d/zentabo.ini"));
        QTemporaryDir dir;
        const AppPaths p = ResolveAppPaths(dir.path());
        QCOMPARE(QFileInfo(p.SettingsPath).absolutePath(),
                 QFileInfo(dir.path()).absoluteFilePath());
    }
};

QTEST_MAIN(LumEditWidgetTest)
#include "LumEditWidgetTest.moc"
