// The Edit menu's box selection switch on the main window: it toggles the active
// page's box mode, shows the mode as its check mark and in status panel 1.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "qt/widget/LumEditWidget.h"

using namespace zentabo;

class BoxSelectionActionTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void theSwitchFollowsThePage() {
        ShellDialogs quiet;
        quiet.message = [](QWidget*, const QString&) {};
        auto form = std::make_unique<TMainForm>(dir_.path(), quiet);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QAction* box = form->Action(QStringLiteral("EditBoxSel1"));
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("矩形選択(&K)"));
        QCOMPARE(box->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+B")));
        bool inEditMenu = false;
        for (QAction* top : form->menuBar()->actions())
            if (top->menu() && top->menu()->actions().contains(box)) inEditMenu = true;
        QVERIFY(inEditMenu);

        TLumEdit& first = form->ActiveSheet()->Edit();
        QWidget* editor = form->ActiveSheet()->EditWidget();
        editor->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(first.BoxSelMode());
        form->UpdateActions();
        QVERIFY(box->isChecked());
        auto* panel = form->findChild<QLabel*>(QStringLiteral("StatusPanel1"));
        QVERIFY(panel->text().endsWith(QStringLiteral("挿入　矩形")));

        form->Action(QStringLiteral("FileNewPage1"))->trigger();
        form->UpdateActions();
        QVERIFY(!box->isChecked());  // a page of its own, box mode off
        QVERIFY(!panel->text().contains(QStringLiteral("矩形")));
        form->ActivatePage(0);
        form->UpdateActions();
        QVERIFY(box->isChecked());
        box->trigger();
        QVERIFY(!first.BoxSelMode());
        form->close();
    }
};

QTEST_MAIN(BoxSelectionActionTest)
#include "BoxSelectionActionTest.moc"
