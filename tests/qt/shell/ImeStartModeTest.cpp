// The IME start mode of new pages: "OFFにする" switches the input method off but
// never takes Japanese input away from the page.

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "qt/shell/MainForm.h"
#include "qt/shell/ShellTestSupport.h"
#include "qt/widget/LumEditWidget.h"

using namespace zentabo;

class ImeStartModeTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QStringList messages_;

private slots:
    void offStillTakesJapaneseInput() {
        for (const char* mode : {"1", "2"}) {
            QFile ini(dir_.filePath(QStringLiteral("ImeStartModeTest.ini")));
            QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ini.write(QByteArray("[Window]\r\nImeMode=") + mode + "\r\n");
            ini.close();
            auto form = std::make_unique<TMainForm>(dir_.path(), testing::Quiet(&messages_));
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            form->Page(0)->EditWidget()->setFocus();
            QVERIFY(form->Page(0)->EditWidget()->testAttribute(Qt::WA_InputMethodEnabled));
            QVERIFY(form->Page(0)->EditWidget()->inputMethodQuery(Qt::ImEnabled).toBool());
            QVERIFY(form->close());
        }
    }
};

QTEST_MAIN(ImeStartModeTest)
#include "ImeStartModeTest.moc"
