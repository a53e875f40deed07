// The XHTML commands from the main window: the check with its panel and the jump to
// a fault, the automatic check abandoned by typing, the preview handed to a stand-in
// default browser, and the closing and partner tag commands.

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/ShellTestSupport.h"
#include "qt/shell/XhtmlBackgroundCheck.h"
#include "qt/shell/XhtmlCheckPanel.h"
#include "qt/shell/XhtmlPreview.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

using namespace zentabo;
using zentabo::testing::Quiet;
using zentabo::testing::Sjis;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes, bool executable = false) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

}  // namespace

class XhtmlCheckTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QStringList messages_;
    std::unique_ptr<TMainForm> form_;

    TLumEdit& Edit() { return form_->ActiveSheet()->Edit(); }
    XhtmlCheckPanel* Panel() { return form_->XhtmlPanel(); }
    void Run(const char* action) { form_->Action(QString::fromLatin1(action))->trigger(); }
    QString Count() {
        return form_->statusBar()->findChild<QLabel*>(QStringLiteral("XhtmlCountLabel"))->text();
    }
    // The caret as the panel counts: logical line and byte column from 1.
    QPair<int, int> Caret() {
        int col = Edit().CaretCol(), line = Edit().CaretLine();
        Edit().ToLogicalPos(col, line);
        return {line + 1, col + 1};
    }
    QString Selected() { return QString::fromStdU16String(Cp932ToUtf16(Edit().GetSelText())); }
    QString Cell(int row, int column) {
        return Panel()->View()->model()->index(row, column).data().toString();
    }

    // Runs the preview; the path the stand-in browser was given.
    QString Preview(const QString& received) {
        QFile::remove(received);
        Run("XhtmlPreview1");
        if (!QTest::qWaitFor([&] { return QFile::exists(received); }, 20000)) return {};
        const QByteArray arg = ReadAll(received);
        return arg.startsWith("file:") ? QUrl::fromEncoded(arg).toLocalFile()
                                       : QFile::decodeName(arg);
    }

private slots:
    void init() {
        messages_.clear();
        QDir d(dir_.path());
        for (const QString& f : d.entryList(QDir::Files)) d.remove(f);
        form_ = std::make_unique<TMainForm>(dir_.path(), Quiet(&messages_));
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup() {
        if (form_) form_->close();
        form_.reset();
    }

    // Three faults after Japanese text and tabs: the rows give the editor's own
    // places, and a double click or Enter puts the caret there with the tag selected.
    void checkListsTheFaultsAndJumpsToThem() {
        Edit().SetAllText(
            Sjis(QStringLiteral("<p>日本語の段落</p>\r\n"
                                "<p>\tタブの後 <img src=\"a.png\" /></p>\r\n"
                                "<p>全角　&amp; 半角 & 記号</p>\r\n"
                                "<p>&unknown; 未定義</p>\r\n")));
        QVERIFY(Panel()->isHidden());
        Run("XhtmlCheck1");
        QTRY_COMPARE(Panel()->Problems().size(), std::size_t(3));
        QVERIFY(Panel()->isVisible());
        QCOMPARE(Count(), QStringLiteral("XHTML: 問題 3 件"));
        const char* const places[][2] = {{"2", "14"}, {"3", "21"}, {"4", "4"}};
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(Cell(r, 0), QString::fromLatin1(places[r][0]));
            QCOMPARE(Cell(r, 1), QString::fromLatin1(places[r][1]));
        }
        QVERIFY(Cell(0, 2).contains(QStringLiteral("alt")));
        QVERIFY(Cell(2, 2).contains(QStringLiteral("&unknown;")));

        QTableView* view = Panel()->View();
        const QPoint row0 = view->visualRect(view->model()->index(0, 2)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row0);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row0);
        QCOMPARE(Caret(), qMakePair(2, 14));
        QCOMPARE(Selected(), QStringLiteral("<img src=\"a.png\" />"));
        QCOMPARE(form_->focusWidget(), form_->ActiveSheet()->EditWidget());

        view->setFocus();
        view->setCurrentIndex(view->model()->index(2, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(Caret(), qMakePair(4, 4));
        QCOMPARE(Selected(), QStringLiteral("&unknown;"));

        // Stepping wraps around both ways.
        Run("XhtmlNextProblem1");
        QCOMPARE(Caret(), qMakePair(2, 14));
        Run("XhtmlPrevProblem1");
        QCOMPARE(Caret(), qMakePair(4, 4));

        // Mended, the page gets its one row saying so, and nothing to step to.
        Edit().SetAllText(Sjis(QStringLiteral("<p>日本語の段落 &amp; &nbsp;</p>")));
        Run("XhtmlCheck1");
        QTRY_COMPARE(Count(), QStringLiteral("XHTML: 問題はありません。"));
        QCOMPARE(view->model()->rowCount(), 1);
        QCOMPARE(Cell(0, 2), QStringLiteral("問題はありません。"));
        form_->UpdateActions();
        QVERIFY(!form_->Action(QStringLiteral("XhtmlNextProblem1"))->isEnabled());
    }

    // Text straight in body breaks only the Strict DTD a fragment is checked under
    // by default; the setting names another.
    void fragmentDtdComesFromTheSettings() {
        Edit().SetAllText(Sjis(QStringLiteral("段落なしの文 <em>強調</em>")));
        QCOMPARE(form_->Settings().FragmentDtd, std::string("Strict"));
        Run("XhtmlCheck1");
        QTRY_VERIFY(Count().startsWith(QStringLiteral("XHTML: 問題 ")));
        form_->Settings().FragmentDtd = "Transitional";
        Run("XhtmlCheck1");
        QTRY_COMPARE(Count(), QStringLiteral("XHTML: 問題はありません。"));
    }

    // A check still running when the text changes is dropped: its result is never
    // shown, and the check after the pause shows the new text's fault.
    void typingAbandonsTheRunningCheck() {
        std::string text;
        const std::string line =
            Sjis(QStringLiteral("<p>自動検査の対象になる日本語の段落です。</p>\r\n"));
        while (text.size() < (3u << 20)) text += line;
        Edit().SetAllText(text);
        XhtmlBackgroundCheck* worker = form_->XhtmlWorker();
        int delivered = 0;
        connect(worker, &XhtmlBackgroundCheck::Finished, [&delivered] { ++delivered; });

        Run("XhtmlAutoCheck1");  // switching it on checks at once
        QVERIFY(form_->Settings().AutoCheck);
        QVERIFY(worker->Running());
        Edit().SetSel(3, 1, 1, 3);
        QTest::keyClicks(form_->ActiveSheet()->EditWidget(), QStringLiteral("& "));
        QCOMPARE(worker->AbandonedCount(), 1);
        QVERIFY(!worker->Running());  // the next check waits for the pause
        QTRY_COMPARE_WITH_TIMEOUT(worker->CancelledCount(), 1, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(delivered, 1, 60000);
        QCOMPARE(Panel()->Problems().size(), std::size_t(1));
        QCOMPARE(Cell(0, 0), QStringLiteral("2"));
        QCOMPARE(Cell(0, 1), QStringLiteral("4"));

        // The switch is kept in the settings file.
        const QString settings = form_->Paths().SettingsPath;
        form_->close();
        form_.reset();
        QVERIFY(ReadAll(settings).contains("AutoCheck=1"));
    }

    // The preview reaches the desktop's default browser for text/html: a stand-in
    // registered in a private XDG data folder writes down what it was given.
    void previewGoesToTheDefaultBrowser() {
        QTemporaryDir xdg;
        const QString apps = xdg.filePath(QStringLiteral("data/applications"));
        QVERIFY(QDir().mkpath(apps) && QDir().mkpath(xdg.filePath(QStringLiteral("config"))));
        const QString received = xdg.filePath(QStringLiteral("received"));
        const QString script = xdg.filePath(QStringLiteral("browser.sh"));
        // The copy lives only as long as the window: the stand-in keeps its own.
        const QByteArray out = QFile::encodeName(received);
        WriteAll(script,
                 "#!/bin/sh\ncp \"$1\" '" + out + ".html'\nprintf '%s' \"$1\" > '" + out +
                     ".tmp'\nmv '" + out + ".tmp' '" + out + "'\n",
                 true);
        WriteAll(apps + QStringLiteral("/stand-in-browser.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Stand-in\nExec=" +
                     QFile::encodeName(script) + " %u\nMimeType=text/html;\n");
        const QByteArray list = "[Default Applications]\ntext/html=stand-in-browser.desktop\n";
        WriteAll(apps + QStringLiteral("/mimeapps.list"), list);
        WriteAll(xdg.filePath(QStringLiteral("config/mimeapps.list")), list);
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(xdg.filePath(QStringLiteral("config"))));
        qunsetenv("BROWSER");
        qunsetenv("XDG_CURRENT_DESKTOP");
        // The offscreen platform has no desktop services; xdg-open is what they run,
        // and it starts graphical programs only where it sees a display.
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("DISPLAY", ":99");
            // Without a desktop, xdg-open asks mimetype (Perl), which cannot read a
            // Japanese file name in the C locale a bare root shell has.
            qputenv("LC_ALL", "C.UTF-8");
            form_->Preview()->openUrl = [](const QUrl& url) {
                return QProcess::startDetached(QStringLiteral("xdg-open"),
                                               {QString::fromLatin1(url.toEncoded())});
            };
        }
        // A modified page bound to a file in a folder with a Japanese name: the copy
        // gets a base URL for that folder and the code page, the text stays as it is.
        const QString folder = dir_.filePath(QStringLiteral("資料 フォルダ"));
        QVERIFY(QDir().mkpath(folder));
        const QString bound = folder + QStringLiteral("/本文.html");
        const std::string fragment = Sjis(QStringLiteral("<p>日本語の本文（表示）</p>"));
        WriteAll(bound, QByteArray::fromStdString(fragment));
        TEditSheet* page =
            form_->AddPage(QStringLiteral("見出し"), QFile::encodeName(bound).toStdString());
        Edit().InsertString(Sjis(QStringLiteral("<p>追記</p>")));
        const std::string text = Edit().GetAllText();
        const QString copy = Preview(received);
        QCOMPARE(QFileInfo(copy).absolutePath(), form_->Preview()->CopyFolder());
        // Only the owner may enter the folder: group and other bits are clear.
        const QFileDevice::Permissions mode = QFile(form_->Preview()->CopyFolder()).permissions();
        QCOMPARE(mode & 0x0077, 0);
        QVERIFY(mode.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ExeOwner));
        const QByteArray html = ReadAll(received + QStringLiteral(".html"));
        QVERIFY2(
            html.contains("<base href=\"" + QUrl::fromLocalFile(folder).toEncoded() + "/\" />"),
            html.constData());
        QVERIFY(html.contains("charset=Shift_JIS"));
        QVERIFY(html.contains(QByteArray::fromStdString(text)));
        QVERIFY(html.contains(
            QByteArray::fromStdString(Sjis(QStringLiteral("<title>見出し</title>")))));
        QCOMPARE(Edit().GetAllText(), text);
        QCOMPARE(page->DisplayFileName(), bound);

        // Unmodified, the page opens its own file.
        TEditSheet* same =
            form_->AddPage(QStringLiteral("同じ"), QFile::encodeName(bound).toStdString());
        QVERIFY(!same->Edit().Modified());
        QCOMPARE(Preview(received), bound);
        // Unmodified but no longer what the file holds (as after a restart, from the
        // page store): the browser gets the page, not the stale file.
        same->Edit().SetAllText(Sjis(QStringLiteral("<p>保存していない本文</p>")));
        QVERIFY(!same->Edit().Modified());
        QVERIFY(Preview(received) != bound);
        QVERIFY(
            ReadAll(received + QStringLiteral(".html"))
                .contains(QByteArray::fromStdString(Sjis(QStringLiteral("保存していない本文")))));
    }

    // A whole document keeps its own declarations; missing ones go into its head.
    void previewDocumentDeclaresOnlyWhatIsMissing() {
        const std::string declared =
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<html><head>"
            "<META http-equiv=\"Content-Type\" content=\"text/html; CHARSET=Shift_JIS\" />"
            "<base href=\"http://example.org/\" /></head><body></body></html>";
        QCOMPARE(PreviewDocument(declared, "file:///x/", ""), declared);
        const std::string bare =
            Sjis(QStringLiteral("<html><head><title>題</title></head></html>"));
        QCOMPARE(PreviewDocument(bare, "file:///x/", ""),
                 Sjis(QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" "
                                     "content=\"text/html; charset=Shift_JIS\" /><base "
                                     "href=\"file:///x/\" /><title>題</title></head></html>")));
        // Without an html element they follow the XML declaration, which stays first.
        QVERIFY(PreviewDocument("<?xml version=\"1.0\"?><!DOCTYPE html><p>a</p>", "", "")
                    .find("<!DOCTYPE html><meta ") != std::string::npos);
        // A "charset" in the body or in text is no declaration.
        const std::string headless = "<html><body><p>charset</p></body></html>";
        QVERIFY(PreviewDocument(headless, "", "").find("<html><head><meta ") == 0);
    }

    // The end tag goes in as one undo step; with nothing open the text stays.
    // The partner command goes to the other tag; its select form takes the element.
    void closingTagAndPartnerTag() {
        const std::string start =
            Sjis(QStringLiteral("<div><p>あいう<br /><!-- <em> --><q a=\">\">引用"));
        Edit().SetAllText(start);
        Edit().SetSel(0, 0, 0, static_cast<int>(start.size()));  // ends at the text's end
        Run("TagCloseTag1");
        QCOMPARE(Edit().GetAllText(), start + "</q>");
        QCOMPARE(form_->focusWidget(), form_->ActiveSheet()->EditWidget());
        Edit().Undo();
        QCOMPARE(Edit().GetAllText(), start);

        const std::string closed = Sjis(QStringLiteral("<p>段落</p>"));
        Edit().SetAllText(closed);
        Edit().MoveCaretTo(static_cast<int>(closed.size()), 0, 0);
        Run("TagCloseTag1");
        QCOMPARE(Edit().GetAllText(), closed);
        QVERIFY(!Edit().Modified());
        QVERIFY(!form_->statusBar()->currentMessage().isEmpty());

        Edit().MoveCaretTo(static_cast<int>(closed.size()) - 2, 0, 0);  // inside </p>
        Run("TagPartner1");
        QCOMPARE(Caret(), qMakePair(1, 1));
        Run("TagPartnerSelect1");  // to the end of </p>, the whole element selected
        QCOMPARE(Selected(), QString::fromStdU16String(Cp932ToUtf16(closed)));
        QCOMPARE(Caret(), qMakePair(1, static_cast<int>(closed.size()) + 1));
    }
};

QTEST_MAIN(XhtmlCheckTest)
#include "XhtmlCheckTest.moc"
