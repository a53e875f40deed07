// The options command from the main window: OK applies the dialog to the window and
// to every page, visibly; Cancel leaves everything as it was.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/ShellTestSupport.h"
#include "qt/widget/LumEditWidget.h"

using namespace zentabo;
using zentabo::testing::Answer;
using zentabo::testing::Child;
using zentabo::testing::Quiet;

namespace {

void SetCheck(QWidget* d, const char* name, bool on) {
    Child<QCheckBox>(d, name)->setChecked(on);
}

// OK's choices: word wrap at column 10 and a see-through window.
void WrapAtTenAndFade(QWidget* d) {
    SetCheck(d, "WordWrapCheck", true);
    Child<QSpinBox>(d, "ColumnUpDown")->setValue(10);
    SetCheck(d, "AlphaBlendCheck", true);
    Child<QSlider>(d, "AlphaBlendTrackBar")->setValue(102);
}

std::string FileText(const TSettings& s) {
    IniFile ini;
    s.WriteTo(ini);
    return ini.Text();
}

// The span of the text's ink (dark pixels; the marks are drawn in colour) in the
// editor's drawing, in cells and rows.
struct Ink {
    int cells = 0;
    int rows = 0;
};

Ink InkOf(TEditSheet* page) {
    const QImage& img = page->EditWidget()->BackingImage();
    const TLumEdit& e = page->Edit();
    int right = -1, top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = e.TextLeft(); x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 64 || c.green() > 64 || c.blue() > 64) continue;
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    return {(right - e.TextLeft()) / e.CharWidth() + 1, (bottom - top) / e.LineHeight() + 1};
}

}  // namespace

class OptionCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QStringList messages_;
    std::unique_ptr<TMainForm> form_;

    void Run() { form_->Action(QStringLiteral("ToolOption1"))->trigger(); }

private slots:
    void init() {
        QDir d(dir_.path());
        for (const QString& f : d.entryList(QDir::Files)) d.remove(f);
        form_ = std::make_unique<TMainForm>(dir_.path(), Quiet(&messages_));
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        TSettings& s = form_->Settings();
        s.WordWrap = false;
        s.ShowEOF = s.ShowCR = false;
        form_->ApplySettingsToAllPages();
        form_->Page(0)->Edit().SetAllText(std::string(40, 'W'));
        form_->CreatePage()->Edit().SetAllText(std::string(25, 'W') + "\r\n" + std::string(5, 'W'));
        form_->ActivatePage(0);
        QCoreApplication::processEvents();
    }
    void cleanup() {
        form_->close();
        form_.reset();
    }

    void theToolMenuOffersTheCommand() {
        QMenu* tools = nullptr;
        for (QAction* a : form_->menuBar()->actions())
            if (a->text() == QStringLiteral("ツール(&T)")) tools = a->menu();
        QVERIFY(tools);
        QCOMPARE(tools->actions().value(0), form_->Action(QStringLiteral("ToolOption1")));
        QCOMPARE(tools->actions().value(0)->text(), QStringLiteral("オプション(&O)..."));
    }

    void okRewrapsEveryPageAndAppliesTheWindowSettings() {
        QCOMPARE(InkOf(form_->Page(0)).cells, 40);
        QCOMPARE(InkOf(form_->Page(0)).rows, 1);
        Answer(WrapAtTenAndFade, "OKBtn");
        Run();
        const TSettings& s = form_->Settings();
        QVERIFY(s.WordWrap);
        QCOMPARE(s.Column, 10);
        QCOMPARE(form_->Page(0)->Edit().Lines().Count(), 4);
        QCOMPARE(form_->Page(1)->Edit().Lines().Count(), 4);  // 10 + 10 + 5, then 5
        QCoreApplication::processEvents();
        const Ink ink = InkOf(form_->Page(0));
        QCOMPARE(ink.cells, 10);
        QCOMPARE(ink.rows, 4);
        QCOMPARE(form_->windowOpacity(), 102 / 255.0);
        QCOMPARE(form_->focusWidget(), form_->ActiveSheet()->EditWidget());
    }

    // Cancelled while the second page is laid out anew, OK turns into the dialog's
    // Cancel: the settings and the window go back, the first page's new layout too, and
    // the second keeps the one it had.
    void cancellingTheNewLayoutGoesBackToTheOldSettings() {
        const std::string before = FileText(form_->Settings());
        const std::vector<std::string> second = {
            std::string(form_->Page(1)->Edit().Lines().Get(0)),
            std::string(form_->Page(1)->Edit().Lines().Get(1))};
        QStringList steps;
        BusyProgress::SetStepAnswerForTests([&](const QString& label, double) {
            steps << label;
            return steps.size() < 2;  // each page asks once at its start
        });
        Answer(WrapAtTenAndFade, "OKBtn");
        Run();
        BusyProgress::SetStepAnswerForTests({});
        QCOMPARE(steps, QStringList(2, QStringLiteral("表示を更新しています...")));
        QCOMPARE(FileText(form_->Settings()), before);
        QCOMPARE(form_->Page(0)->Edit().Lines().Count(), 1);
        QCOMPARE(form_->Page(1)->Edit().Lines().Count(), 2);
        QCOMPARE(form_->Page(1)->Edit().Lines().Get(0), second[0]);
        QCOMPARE(form_->Page(1)->Edit().Lines().Get(1), second[1]);
        QCOMPARE(form_->windowOpacity(), 1.0);
        QCoreApplication::processEvents();
        QCOMPARE(InkOf(form_->Page(0)).cells, 40);
        // The page still follows the settings it shows: typing wraps nothing.
        form_->Page(1)->Edit().TypeText("W");
        QCOMPARE(form_->Page(1)->Edit().Lines().Count(), 2);
    }

    void cancelLeavesSettingsAndPagesAsTheyWere() {
        const std::string before = FileText(form_->Settings());
        const int column = form_->Page(1)->Edit().Column();
        Answer(
            [](QWidget* d) {
                SetCheck(d, "WordWrapCheck", true);
                SetCheck(d, "ShowLineNumberCheck", true);
                SetCheck(d, "AlphaBlendCheck", true);
                Child<QSlider>(d, "AlphaBlendTrackBar")->setValue(10);
                Child<QSpinBox>(d, "TabCountUpDown")->setValue(2);
            },
            "CancelBtn");
        Run();
        QCOMPARE(FileText(form_->Settings()), before);
        QCOMPARE(form_->Page(1)->Edit().Column(), column);
        QVERIFY(!form_->Page(0)->Edit().ShowLineNumber);
        QCOMPARE(InkOf(form_->Page(0)).cells, 40);
        QCOMPARE(form_->windowOpacity(), 1.0);
        QCOMPARE(form_->focusWidget(), form_->ActiveSheet()->EditWidget());
    }
};

QTEST_MAIN(OptionCommandTest)
#include "OptionCommandTest.moc"
