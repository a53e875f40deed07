// What the program sets on the application object at start: window titles exactly as
// written, and Qt's own buttons in Japanese.

#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "qt/shell/AppSetup.h"

using namespace zentabo;

class AppSetupTest : public QObject {
    Q_OBJECT

    bool translated_ = false;

private slots:
    void initTestCase() { translated_ = SetUpApplication(*qApp); }

    void noDisplayNameIsAppendedToTitles() {
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Zentabo"));
        // Qt appends the display name to every window title only when one was set;
        // an unset display name follows the application name.
        QApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QApplication::applicationDisplayName(), QStringLiteral("probe"));
        QApplication::setApplicationName(QStringLiteral("Zentabo"));
    }

    void qtButtonsSpeakJapanese() {
        const QString qm =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm");
        if (!QFile::exists(qm)) QSKIP("Qt's Japanese translations are not installed");
        QVERIFY(translated_);
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
        QMessageBox message(QMessageBox::Question, QString(), QString(),
                            QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(message.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    }
};

QTEST_MAIN(AppSetupTest)
#include "AppSetupTest.moc"
