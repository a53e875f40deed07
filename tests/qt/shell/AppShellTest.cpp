// The main window end to end, on the offscreen platform, with its files in a
// temporary folder and the dialogs answered by the test.

#include <QAction>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/dialogs/DesignFont.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PageControl.h"
#include "qt/shell/PagePrinter.h"
#include "qt/shell/ShellTestSupport.h"
#include "qt/shell/StatusText.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

using namespace zentabo;
using zentabo::testing::Sjis;

namespace {

struct Answers {
    QStringList messages;
    QString openPath;
    QString savePath;
    QString inputResult;
    bool inputCancel = false;
    // The printer dialog: print to this PDF file with these margins (mm).
    QString printPdf;
    qreal printMargin = 0;
    int printerAsked = 0;
};

ShellDialogs Scripted(Answers* a) {
    ShellDialogs d;
    d.openFile = [a](QWidget*) { return a->openPath; };
    d.saveFile = [a](QWidget*, const QString&) { return a->savePath; };
    d.inputText = [a](QWidget*, const QString&, const QString&, const QString& initial) {
        return a->inputCancel ? initial : a->inputResult;
    };
    d.message = [a](QWidget*, const QString& text) { a->messages << text; };
    d.askReplace = [](QWidget*) { return SheetPrompts::ReplaceAnswer::No; };
    d.choosePrinter = [a](QWidget*, QPrinter& printer) {
        ++a->printerAsked;
        if (a->printPdf.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(a->printPdf);
        printer.setPageMargins(
            QMarginsF(a->printMargin, a->printMargin, a->printMargin, a->printMargin),
            QPageLayout::Millimeter);
        return true;
    };
    return d;
}

}  // namespace

class AppShellTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Answers answers_;

    std::unique_ptr<TMainForm> Start() {
        auto form = std::make_unique<TMainForm>(dir_.path(), Scripted(&answers_));
        form->show();
        return form;
    }
    void Stop(std::unique_ptr<TMainForm>& form) {
        QVERIFY(form->close());
        form.reset();
    }
    QByteArray StoreBytes(const TMainForm& form) {
        QFile f(form.Paths().PageStorePath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray IniBytes() {
        QFile f(dir_.filePath(QStringLiteral("AppShellTest.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void WriteIni(const QByteArray& text) {
        QFile f(dir_.filePath(QStringLiteral("AppShellTest.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

private slots:
    void init() {
        answers_ = Answers{};
        QDir d(dir_.path());
        for (const QString& f : d.entryList(QDir::Files)) d.remove(f);
    }

    void firstStartWithNeitherFile() {
        auto form = Start();
        QCOMPARE(form->PageCount(), 1);
        QCOMPARE(form->PageCaption(0), QStringLiteral("Page&0"));
        QCOMPARE(form->geometry(), QRect(192, 107, 640, 480));
        QVERIFY(form->ToolBar(1)->isVisible());
        QVERIFY(form->Pages()->Bar()->MultiLine());
        QCOMPARE(form->windowTitle(), QStringLiteral("Zentabo"));
        form->UpdateActions();
        QCOMPARE(form->StatusPanel(2)->text(), QStringLiteral("保存"));
        QCOMPARE(form->StatusPanel(1)->text(), QStringLiteral("     0行     0桁　挿入"));
        Stop(form);
        // One page "Page&0", empty text, save mode on.
        const QByteArray expected("\x06\x06ztabo3\x02\x01\x06\x06Page&0\x06\x00\x09\x06\x00", 23);
        QFile f(dir_.filePath(QStringLiteral("AppShellTest.ztb")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), expected);
        QVERIFY(QFile::exists(dir_.filePath(QStringLiteral("AppShellTest.ini"))));
    }

    void pagesSurviveARestart() {
        auto form = Start();
        form->Page(0)->Edit().SetAllText("abc");
        form->Action("FileNewPage1")->trigger();
        QCOMPARE(form->PageCaption(1), QStringLiteral("Page1"));
        const QString japanese = QStringLiteral("日本語のテキスト\r\n二行目");
        form->Page(1)->Edit().SetAllText(Sjis(japanese));
        form->Page(1)->SetFileName(
            QFile::encodeName(dir_.filePath(QStringLiteral("bound.txt"))).toStdString());
        form->Action("FileNewPage1")->trigger();
        form->Page(2)->Edit().SetAllText("not kept");
        form->Page(2)->SetSaveMode(false);
        form->ActivatePage(1);
        Stop(form);

        form = Start();
        QCOMPARE(form->PageCount(), 3);
        QCOMPARE(form->PageCaption(0), QStringLiteral("Page&0"));
        QCOMPARE(form->PageCaption(1), QStringLiteral("Page1"));
        QCOMPARE(form->PageCaption(2), QStringLiteral("Page2"));
        QCOMPARE(form->Page(0)->Edit().GetAllText(), std::string("abc"));
        QCOMPARE(form->Page(1)->Edit().GetAllText(), Sjis(japanese));
        QCOMPARE(form->Page(1)->DisplayFileName(), dir_.filePath(QStringLiteral("bound.txt")));
        QVERIFY(form->Page(1)->SaveMode());
        QVERIFY(!form->Page(2)->SaveMode());
        QCOMPARE(form->Page(2)->Edit().GetAllText(), std::string());
        QCOMPARE(form->ActiveIndex(), 1);
        form->UpdateActions();
        QCOMPARE(form->windowTitle(),
                 QStringLiteral("Zentabo - ") + dir_.filePath(QStringLiteral("bound.txt")));
        // The Japanese text is stored as UTF-8 behind tag 14.
        const QByteArray bytes = StoreBytes(*form);
        QVERIFY(bytes.contains(QByteArray("\x14") + QByteArray::fromRawData("\0\0\0", 0)));
        QVERIFY(bytes.contains(japanese.toUtf8()));
        Stop(form);
    }

    void indexIsClampedBothWays_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("past the last page") << 7 << 1;
        QTest::newRow("negative") << -3 << 0;
    }
    void indexIsClampedBothWays() {
        QFETCH(int, stored);
        QFETCH(int, expected);
        auto form = Start();
        form->Action("FileNewPage1")->trigger();
        Stop(form);
        QFile ini(dir_.filePath(QStringLiteral("AppShellTest.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QByteArray text = ini.readAll();
        ini.close();
        text.replace("Index=1", "Index=" + QByteArray::number(stored));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text);
        ini.close();
        form = Start();
        QCOMPARE(form->ActiveIndex(), expected);
        Stop(form);
    }

    void garbageFilesStillStart() {
        QFile ztb(dir_.filePath(QStringLiteral("AppShellTest.ztb")));
        QVERIFY(ztb.open(QIODevice::WriteOnly));
        // A signature, a count of 3 and one page cut in the middle of its caption.
        ztb.write(
            QByteArray("\x06\x06ztabo3\x02\x03\x06\x03"
                       "abc\x06\x00\x09\x06\x02"
                       "hi"
                       "\x06\x09truncat",
                       33));
        ztb.close();
        QFile ini(dir_.filePath(QStringLiteral("AppShellTest.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Window]\nTop=zz\nWidth=-5\nIndex=x\n[Editor]\nFontSize=abc\nTabCount=999\n");
        ini.close();
        auto form = Start();
        QCOMPARE(form->PageCount(), 2);
        QCOMPARE(form->PageCaption(0), QStringLiteral("abc"));
        QCOMPARE(form->Page(0)->Edit().GetAllText(), std::string("hi"));
        Stop(form);
        // The damaged file was set aside before being replaced.
        const QStringList kept = QDir(dir_.path()).entryList({QStringLiteral("*damaged*")});
        QCOMPARE(kept.size(), 1);
    }

    void altArrowsCycleWithWrapAround() {
        auto form = Start();
        form->Action("FileNewPage1")->trigger();
        form->Action("FileNewPage1")->trigger();
        form->ActivatePage(0);
        QWidget* editor = form->ActiveSheet()->EditWidget();
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(form->ActiveIndex(), 2);
        QTest::keyClick(form->ActiveSheet()->EditWidget(), Qt::Key_Right,
                        Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(form->ActiveIndex(), 0);
        QTest::keyClick(form->ActiveSheet()->EditWidget(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(form->ActiveIndex(), 1);
        QTest::keyClick(form->ActiveSheet()->EditWidget(), Qt::Key_Right);
        QCOMPARE(form->ActiveIndex(), 1);
        Stop(form);
    }

    void deleteAndRenameSpareTheFirstPage() {
        auto form = Start();
        form->UpdateActions();
        QVERIFY(!form->Action("FileDeletePage1")->isEnabled());  // a single page
        QVERIFY(!form->Action("FileChangeCaption1")->isEnabled());
        form->Action("FileNewPage1")->trigger();
        form->Action("FileNewPage1")->trigger();
        form->ActivatePage(0);
        form->UpdateActions();
        QVERIFY(!form->Action("FileDeletePage1")->isEnabled());
        form->Action("FileDeletePage1")->trigger();  // a stray trigger changes nothing
        QCOMPARE(form->PageCount(), 3);
        form->ActivatePage(1);
        form->UpdateActions();
        QVERIFY(form->Action("FileDeletePage1")->isEnabled());
        form->Action("FileDeletePage1")->trigger();
        QCOMPARE(form->PageCount(), 2);
        form->Action("FileNewPage1")->trigger();
        QCOMPARE(form->PageCaption(2), QStringLiteral("Page2"));  // names may repeat

        answers_.inputResult = QStringLiteral("目次");
        form->ActivatePage(1);
        form->Action("FileChangeCaption1")->trigger();
        QCOMPARE(form->PageCaption(1), QStringLiteral("目次"));
        answers_.inputCancel = true;
        form->Action("FileChangeCaption1")->trigger();
        QCOMPARE(form->PageCaption(1), QStringLiteral("目次"));
        answers_.inputCancel = false;
        answers_.inputResult = QStringLiteral("emoji \U0001F600");
        form->Action("FileChangeCaption1")->trigger();
        QCOMPARE(form->PageCaption(1), QStringLiteral("目次"));
        QCOMPARE(answers_.messages.size(), 1);

        // The tab menu acts on the tab under the right click, never on the first.
        PageTabBar* bar = form->Pages()->Bar();
        QTest::mouseClick(bar, Qt::RightButton, {}, bar->tabRect(0).center());
        form->UpdateActions();
        QVERIFY(!form->Action("FileDeletePage2")->isEnabled());
        QTest::mouseClick(bar, Qt::RightButton, {}, bar->tabRect(2).center());
        form->UpdateActions();
        QVERIFY(form->Action("FileDeletePage2")->isEnabled());
        form->Action("FileDeletePage2")->trigger();
        QCOMPARE(form->PageCount(), 2);
        Stop(form);
    }

    void copyPageAndSaveModeToggle() {
        auto form = Start();
        form->Page(0)->Edit().SetAllText("text");
        form->Page(0)->SetSaveMode(false);
        form->Action("FileCopyPage1")->trigger();
        QCOMPARE(form->PageCount(), 2);
        QCOMPARE(form->ActiveIndex(), 1);
        QVERIFY(form->Page(1)->SaveMode());
        QCOMPARE(form->Page(1)->Edit().GetAllText(), std::string("text"));
        QLabel* panel = form->StatusPanel(2);
        QTest::mouseDClick(panel, Qt::LeftButton);
        QVERIFY(!form->Page(1)->SaveMode());
        QCOMPARE(panel->text(), QString());
        QTest::mouseDClick(panel, Qt::LeftButton);
        QVERIFY(form->Page(1)->SaveMode());
        Stop(form);
    }

    void tabsReorderButNeverTheFirst() {
        auto form = Start();
        form->Action("FileNewPage1")->trigger();
        form->Action("FileNewPage1")->trigger();
        PageTabBar* bar = form->Pages()->Bar();
        auto drag = [bar](int from, int to) {
            const QPoint a = bar->tabRect(from).center();
            const QPoint b = bar->tabRect(to).center();
            QTest::mousePress(bar, Qt::LeftButton, {}, a);
            QMouseEvent move(QEvent::MouseMove, b, bar->mapToGlobal(b), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(bar, &move);
            QTest::mouseRelease(bar, Qt::LeftButton, {}, b);
        };
        drag(2, 1);
        QCOMPARE(form->PageCaption(1), QStringLiteral("Page2"));
        drag(1, 0);  // onto the first: refused
        QCOMPARE(form->PageCaption(0), QStringLiteral("Page&0"));
        drag(0, 2);  // the first cannot be dragged
        QCOMPARE(form->PageCaption(0), QStringLiteral("Page&0"));
        Stop(form);
    }

    void saveFailureKeepsModified() {
        auto form = Start();
        const QString path = dir_.filePath(QStringLiteral("readonly.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
        f.close();
        QFile::setPermissions(path, QFile::ReadOwner);
        // With rights that ignore file modes, a path below a plain file fails as surely.
        const QString target = QFile(path).open(QIODevice::WriteOnly | QIODevice::Append)
                                   ? path + QStringLiteral("/below.txt")
                                   : path;
        TEditSheet* page = form->ActiveSheet();
        page->Edit().InsertString("new text");
        QVERIFY(page->Edit().Modified());
        answers_.savePath = target;
        form->Action("FileSaveAs1")->trigger();
        QCOMPARE(answers_.messages.size(), 1);
        QVERIFY(answers_.messages[0].contains(target));
        QVERIFY(page->Edit().Modified());
        QFile back(path);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), QByteArray("old"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        Stop(form);
    }

    void openAndSaveAs() {
        auto form = Start();
        const QString in = dir_.filePath(QStringLiteral("in.txt"));
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("one\ntwo\n");
        f.close();
        answers_.openPath = in;
        form->Action("FileOpen1")->trigger();
        QCOMPARE(form->PageCount(), 2);
        QCOMPARE(form->PageCaption(1), QStringLiteral("in.txt"));
        QCOMPARE(form->ActiveSheet()->DisplayFileName(), in);
        QCOMPARE(form->ActiveSheet()->Edit().GetAllText(), std::string("one\r\ntwo\r\n"));
        const QString out = dir_.filePath(QStringLiteral("out.txt"));
        answers_.savePath = out;
        form->ActiveSheet()->Edit().InsertString("x");
        QVERIFY(form->ActiveSheet()->CanUndo());
        form->Action("FileSaveAs1")->trigger();
        // Saving clears Modified quietly: undo stays available.
        QVERIFY(!form->ActiveSheet()->Edit().Modified());
        QVERIFY(form->ActiveSheet()->CanUndo());
        form->ActiveSheet()->Edit().Undo();
        QCOMPARE(form->PageCaption(1), QStringLiteral("in.txt"));
        QCOMPARE(form->ActiveSheet()->DisplayFileName(), out);
        QFile o(out);
        QVERIFY(o.open(QIODevice::ReadOnly));
        QCOMPARE(o.readAll(), QByteArray("xone\r\ntwo\r\n"));
        form->UpdateActions();
        form->Action("FileClearFileName1")->trigger();
        form->UpdateActions();
        QCOMPARE(form->windowTitle(), QStringLiteral("Zentabo"));
        // A file that vanished after the dialog gives an empty, unbound page.
        answers_.openPath = dir_.filePath(QStringLiteral("gone.txt"));
        form->Action("FileOpen1")->trigger();
        QCOMPARE(form->PageCaption(2), QStringLiteral("gone.txt"));
        QVERIFY(form->ActiveSheet()->FileName().empty());
        Stop(form);
    }

    void printContinuesOnFurtherSheets() {
        auto form = Start();
        std::string text;
        for (int i = 0; i < kPrintLinesPerSheet * 2 + 5; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        form->ActiveSheet()->Edit().SetAllText(text);
        const QString pdf = dir_.filePath(QStringLiteral("out.pdf"));
        form->SetPrintToFile(pdf);
        form->Action("FilePrint1")->trigger();
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        // Three sheets: two full ones and the rest.
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 3);
        Stop(form);
    }

    void pageStoreThatCannotBeWrittenKeepsTheWindowOpen() {
        auto form = Start();
        form->ActiveSheet()->Edit().SetAllText("precious");
        // A folder where the page store should be: no file can replace it.
        QDir(dir_.path()).mkdir(QStringLiteral("AppShellTest.ztb"));
        QVERIFY(!form->close());
        QCOMPARE(answers_.messages.size(), 1);
        QCOMPARE(form->PageCount(), 1);
        QCOMPARE(form->ActiveSheet()->Edit().GetAllText(), std::string("precious"));
        QDir(dir_.path()).rmdir(QStringLiteral("AppShellTest.ztb"));
        Stop(form);
    }

    void transparencyValueSurvivesSwitchingItOff() {
        WriteIni("[Window]\nAlphaBlend=1\nAlphaBlendValue=100\n");
        auto form = Start();
        QVERIFY(qAbs(form->windowOpacity() - 100 / 255.0) < 0.01);
        form->Settings().AlphaBlend = false;  // as the options dialog does
        form->ApplyFormSettings();
        QCOMPARE(form->windowOpacity(), 1.0);
        Stop(form);
        QVERIFY(IniBytes().contains("AlphaBlend=0"));
        QVERIFY(IniBytes().contains("AlphaBlendValue=100"));
        form = Start();
        form->Settings().AlphaBlend = true;
        form->ApplyFormSettings();
        QVERIFY(qAbs(form->windowOpacity() - 100 / 255.0) < 0.01);
        Stop(form);
    }

    void printKeepsInsideThePrintableArea() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a default printer exists: the test would print on it");
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        auto form = Start();
        std::string text;
        for (int i = 0; i < kPrintLinesPerSheet; ++i)
            text += "line" + std::to_string(i) + " " + std::string(40, 'W') + "\r\n";
        form->ActiveSheet()->Edit().SetAllText(text);
        // Without a default printer the print dialog is offered; Cancel prints nothing.
        form->Action("FilePrint1")->trigger();
        QCOMPARE(answers_.printerAsked, 1);
        answers_.printPdf = dir_.filePath(QStringLiteral("margins.pdf"));
        answers_.printMargin = 25;
        form->Action("FilePrint1")->trigger();
        QCOMPARE(answers_.printerAsked, 2);
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-bbox"), answers_.printPdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(20000));
        const QString xml = QString::fromUtf8(p.readAllStandardOutput());
        const QRegularExpression pageRe(
            QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
        const auto page = pageRe.match(xml);
        QVERIFY(page.hasMatch());
        const double width = page.captured(1).toDouble(), height = page.captured(2).toDouble();
        const double margin = 25 / 25.4 * 72 - 1;  // points, with a point of slack
        const QRegularExpression wordRe(QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)re"));
        int words = 0;
        double lowest = 0;
        for (auto it = wordRe.globalMatch(xml); it.hasNext();) {
            const auto w = it.next();
            ++words;
            QVERIFY2(w.captured(1).toDouble() >= margin, qPrintable(w.captured(5)));
            QVERIFY2(w.captured(2).toDouble() >= margin, qPrintable(w.captured(5)));
            QVERIFY2(w.captured(3).toDouble() <= width - margin, qPrintable(w.captured(5)));
            QVERIFY2(w.captured(4).toDouble() <= height - margin, qPrintable(w.captured(5)));
            lowest = std::max(lowest, w.captured(4).toDouble());
        }
        QCOMPARE(words, 2 * kPrintLinesPerSheet);
        // The sheet is stretched over the area, not shrunk into a corner of it.
        QVERIFY(lowest > height - 2 * margin);
        Stop(form);
    }

    void tabsWrapIntoRowsAndNeverWidenTheWindow() {
        auto form = Start();
        QCoreApplication::processEvents();
        const int width = form->width();
        PageTabBar* bar = form->Pages()->Bar();
        for (int i = 0; i < 39; ++i) form->Action("FileNewPage1")->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(form->width(), width);
        QVERIFY(bar->RowCount() > 2);
        for (int i = 0; i < form->PageCount(); ++i) {
            const QRect r = bar->tabRect(i);
            QVERIFY(bar->rect().contains(r));
            if (i > 0) QVERIFY(!r.intersects(bar->tabRect(i - 1)));
        }
        // A click on a tab of the second row activates that page.
        const int second = [&] {
            for (int i = 0; i < form->PageCount(); ++i)
                if (bar->tabRect(i).top() > bar->tabRect(0).top()) return i;
            return -1;
        }();
        QVERIFY(second > 0);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(second).center());
        QCOMPARE(form->ActiveIndex(), second);
        // The pages sit below the rows, none under them.
        QVERIFY(form->ActiveSheet()->mapTo(form.get(), QPoint(0, 0)).y() >=
                bar->mapTo(form.get(), QPoint(0, bar->height())).y());

        // One row: the row scrolls, the active tab stays in view, the window keeps its width.
        form->Action("ViewMultiLine1")->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(bar->RowCount(), 1);
        QCOMPARE(form->width(), width);
        form->ActivatePage(form->PageCount() - 1);
        QVERIFY(bar->rect().contains(bar->tabRect(form->PageCount() - 1)));
        QVERIFY(bar->tabRect(0).isEmpty());
        form->ActivatePage(0);
        QVERIFY(!bar->tabRect(0).isEmpty());
        Stop(form);
    }

    void statusPanelsFitTheirText() {
        auto form = Start();
        TEditSheet* page = form->ActiveSheet();
        std::string text;
        for (int i = 0; i < 123460; ++i) text += "\r\n";
        page->Edit().SetAllText(text);
        page->EditWidget()->setFocus();
        QTest::keyClick(page->EditWidget(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(page->EditWidget(), Qt::Key_Insert);
        form->UpdateActions();
        for (int i : {1, 2}) {
            QLabel* panel = form->StatusPanel(i);
            if (i == 2) panel->setText(QStringLiteral("保存"));
            QVERIFY2(panel->contentsRect().width() >=
                         panel->fontMetrics().horizontalAdvance(panel->text()),
                     qPrintable(panel->text()));
        }
        QVERIFY(form->StatusPanel(1)->text().endsWith(QStringLiteral("上書")));
        QVERIFY(form->StatusPanel(1)->text().contains(QStringLiteral("123460")));
        Stop(form);
    }

    void applyingSettingsWrapsEachPageOnce() {
        auto form = Start();
        TLumEdit& e = form->ActiveSheet()->Edit();
        e.SetAllText(std::string(100, 'a') + "\r\n" + std::string(100, '\t'));
        TSettings& s = form->Settings();
        s.WordWrap = true;
        s.Column = 20;
        s.TabCount = 4;
        s.AutoWrap = true;
        s.HorzScrollBar = !s.HorzScrollBar;
        s.Font.Size += 2;
        const int before = e.WholeTextWraps();
        form->ApplySettingsToAllPages();
        QCoreApplication::processEvents();  // the scroll bars' resizes arrive queued
        QCOMPARE(e.WholeTextWraps() - before, 1);
        // The one wrap used the new column: 100 bytes in pieces of 20.
        QCOMPARE(e.Lines().Get(0).size(), std::size_t(20));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        Stop(form);
    }

    void windowFontReachesTabsAndStatusBar() {
        auto form = Start();
        const QString expected =
            QFontInfo(DesignFont(QStringLiteral("ＭＳ Ｐゴシック"), 12)).family();
        QCOMPARE(QFontInfo(form->Pages()->Bar()->font()).family(), expected);
        QCOMPARE(QFontInfo(form->StatusPanel(1)->font()).family(), expected);
        QCOMPARE(QFontInfo(form->statusBar()->font()).family(), expected);
        QCOMPARE(form->Pages()->Bar()->font().pixelSize(), 12);
        Stop(form);
    }

    void statusAndCaptionTexts() {
        QCOMPARE(CaretPanelText(0, 0, true), QStringLiteral("     0行     0桁　挿入"));
        QCOMPARE(CaretPanelText(123456, 7, false), QStringLiteral(" 123456行     7桁　上書"));
        QCOMPARE(WindowCaption(QStringLiteral("/a/b.txt")), QStringLiteral("Zentabo - /a/b.txt"));
    }
};

QTEST_MAIN(AppShellTest)
#include "AppShellTest.moc"
