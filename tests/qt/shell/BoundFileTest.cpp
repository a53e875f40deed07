// Pages bound to files, end to end: the main window on the offscreen platform with
// its page store in a temporary folder, real files beside it, and the dialogs
// answered by the test.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>

#include "app/FileIo.h"
#include "editor/LumEdit.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/SessionGuard.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

using namespace zentabo;

namespace {

struct Answers {
    QStringList messages;
    QStringList questions;
    QString openPath;
    bool yes = false;
    std::function<void()> whileAsked;  // runs while a question is open
};

ShellDialogs Scripted(Answers* a) {
    ShellDialogs d;
    d.openFile = [a](QWidget*) { return a->openPath; };
    d.saveFile = [](QWidget*, const QString&) { return QString(); };
    d.inputText = [](QWidget*, const QString&, const QString&, const QString& initial) {
        return initial;
    };
    d.message = [a](QWidget*, const QString& text) { a->messages << text; };
    d.askReplace = [](QWidget*) { return SheetPrompts::ReplaceAnswer::No; };
    d.askYesNo = [a](QWidget*, const QString& text) {
        a->questions << text;
        if (a->whileAsked) a->whileAsked();
        return a->yes;
    };
    return d;
}

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void Write(const std::string& path, const std::string& data) {
    QVERIFY2(WriteFileAtomically(path, data).ok, path.c_str());
}

std::string Read(const std::string& path) {
    return ReadWholeFile(path).data;
}

std::int64_t ModifiedAt(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mtime : 0;
}

// Dates the file well after `reference`, as if changed while the program was closed.
void TouchAfter(const std::string& path, const std::string& reference) {
    const time_t at = static_cast<time_t>(ModifiedAt(reference) + 10);
    struct timespec times[2] = {{at, 0}, {at, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Ctrl+S as the user presses it: only when the command is enabled.
void Save(TMainForm& form) {
    form.UpdateActions();
    QVERIFY(form.Action(QStringLiteral("FileSave1"))->isEnabled());
    form.Action(QStringLiteral("FileSave1"))->trigger();
}

void TypeAtEnd(TEditSheet* page, const QString& keys) {
    page->EditWidget()->setFocus();
    QTest::keyClick(page->EditWidget(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(page->EditWidget(), keys);
}

}  // namespace

class BoundFileTest : public QObject {
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
    QString Path(const QString& name) const { return dir_.filePath(name); }
    std::string Store() const { return Bytes(Path(QStringLiteral("BoundFileTest.ztb"))); }

private slots:
    void init() {
        answers_ = Answers{};
        QDir d(dir_.path());
        for (const QString& f : d.entryList(QDir::Files | QDir::System)) d.remove(f);
        ::unlink((Bytes(dir_.path()) + "/bad\xFF\xFE name.txt").c_str());
    }

    // Names code page 932 cannot hold, and bytes that are no UTF-8, stay bound to
    // the very file across a restart, and a save writes that file.
    void anyFileNameSurvivesARestart() {
        const QStringList names = {QStringLiteral("café.txt"), QStringLiteral("日本語😀.txt"),
                                   QStringLiteral("日本語.txt"), QStringLiteral("a b  c .txt")};
        std::vector<std::string> paths;
        for (const QString& n : names) paths.push_back(Bytes(Path(n)));
        paths.push_back(Bytes(dir_.path()) + "/bad\xFF\xFE name.txt");
        for (const std::string& p : paths) Write(p, "original\r\n");

        auto form = Start();
        for (const QString& n : names) {
            answers_.openPath = Path(n);
            form->Action("FileOpen1")->trigger();
        }
        form->AddPage(QStringLiteral("bad"), paths.back());
        QCOMPARE(form->PageCount(), 6);
        for (int i = 1; i < 6; ++i) {
            QCOMPARE(form->Page(i)->FileName(), paths[i - 1]);
            QCOMPARE(form->Page(i)->Edit().GetAllText(), std::string("original\r\n"));
            TypeAtEnd(form->Page(i), QStringLiteral("new"));
        }
        Stop(form);

        form = Start();
        QCOMPARE(form->PageCount(), 6);
        for (int i = 1; i < 6; ++i) {
            TEditSheet* page = form->Page(i);
            QCOMPARE(page->FileName(), paths[i - 1]);
            form->ActivatePage(i);
            form->UpdateActions();
            if (i < 5)
                QCOMPARE(form->windowTitle(), QStringLiteral("Zentabo - ") + Path(names[i - 1]));
            // The text is not in the file yet: the page says so, and Save writes it.
            QVERIFY(page->Edit().Modified());
            Save(*form);
            QCOMPARE(Read(paths[i - 1]), std::string("original\r\nnew"));
        }
        QVERIFY(answers_.messages.isEmpty());
        // No file was written under another name.
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files).size(), 6);
        Stop(form);
    }

    // A file changed while the program was closed: one question per page, and
    // neither answer loses a text.
    void aFileChangedWhileClosedAsksFirst() {
        const std::string doc = Bytes(Path(QStringLiteral("doc.txt")));
        const std::string off = Bytes(Path(QStringLiteral("off.txt")));
        Write(doc, "disk one\r\n");
        Write(off, "only on disk\r\n");
        auto form = Start();
        answers_.openPath = Path(QStringLiteral("doc.txt"));
        form->Action("FileOpen1")->trigger();
        TypeAtEnd(form->ActiveSheet(), QStringLiteral("mine"));
        answers_.openPath = Path(QStringLiteral("off.txt"));
        form->Action("FileOpen1")->trigger();
        form->ActiveSheet()->SetSaveMode(false);
        Stop(form);
        Write(doc, "disk two\r\n");
        TouchAfter(doc, Store());

        answers_.yes = false;
        form = Start();
        QCOMPARE(answers_.questions.size(), 1);
        QVERIFY(answers_.questions[0].contains(Path(QStringLiteral("doc.txt"))));
        QCOMPARE(form->Page(1)->Edit().GetAllText(), std::string("disk one\r\nmine"));
        QVERIFY(form->Page(1)->Edit().Modified());
        QCOMPARE(Read(doc), std::string("disk two\r\n"));
        // Save mode off: the file's content, never an empty page bound to the file.
        QCOMPARE(form->Page(2)->Edit().GetAllText(), std::string("only on disk\r\n"));
        QVERIFY(!form->Page(2)->Edit().Modified());
        Stop(form);

        TouchAfter(doc, Store());
        answers_ = Answers{};
        answers_.yes = true;
        form = Start();
        QCOMPARE(answers_.questions.size(), 1);
        QCOMPARE(form->Page(1)->Edit().GetAllText(), std::string("disk two\r\n"));
        QVERIFY(!form->Page(1)->Edit().Modified());
        Stop(form);
    }

    // The session ends while the pages are read: at the question about a bound file,
    // with the pages behind it not read yet. Neither the session's write, nor a close,
    // nor a termination signal writes the pages read so far over the file; the signal
    // ends the program once all are read, writing them all.
    void theSessionEndingWhileThePagesAreReadLosesNothing() {
        const std::string doc = Bytes(Path(QStringLiteral("doc.txt")));
        Write(doc, "disk one\r\n");
        auto form = Start();
        form->Page(0)->Edit().SetAllText("first page");
        answers_.openPath = Path(QStringLiteral("doc.txt"));
        form->Action("FileOpen1")->trigger();
        TypeAtEnd(form->ActiveSheet(), QStringLiteral("mine"));
        form->AddPage(QStringLiteral("last"));
        form->ActiveSheet()->Edit().SetAllText("last page");
        Stop(form);
        Write(doc, "disk two\r\n");
        TouchAfter(doc, Store());
        const std::string stored = Read(Store());

        form = std::make_unique<TMainForm>(dir_.path(), Scripted(&answers_));
        const SessionGuard& guard = *new SessionGuard(form.get());  // the window's child
        int asked = 0;
        answers_.whileAsked = [&] {
            ++asked;
            QVERIFY(!form->SaveSession() || Read(Store()) == stored);
            QVERIFY(!form->close());
            ::raise(SIGTERM);
            QCoreApplication::processEvents();
            QCOMPARE(form->PageCount(), 2);
            QVERIFY(Read(Store()) == stored);
        };
        form->show();
        QCOMPARE(asked, 1);
        QCOMPARE(form->PageCount(), 3);
        QVERIFY(!guard.Ended());
        QTRY_VERIFY(guard.Ended());
        QVERIFY(Read(Store()) == stored);
        answers_.whileAsked = nullptr;
        Stop(form);
    }

    // A termination signal or the session's save while a file is being opened: the
    // pages are written once the page holds the whole file, not while it holds part.
    void aSignalWhileAFileLoadsWaitsForIt() {
        const QString path = Path(QStringLiteral("big.txt"));
        std::string content;
        for (int i = 0; i < 1700000; ++i) content += "line " + std::to_string(i) + "\r\n";
        Write(Bytes(path), content);
        auto form = Start();
        const SessionGuard& guard = *new SessionGuard(form.get());  // the window's child
        int steps = 0;
        bool writtenMeanwhile = false;
        BusyProgress::SetStepAnswerForTests([&](const QString&, double) {
            if (++steps == 1) ::raise(SIGTERM);
            QCoreApplication::processEvents();
            form->SaveSession();
            writtenMeanwhile = writtenMeanwhile || QFile::exists(QString::fromStdString(Store()));
            return true;
        });
        answers_.openPath = path;
        form->Action("FileOpen1")->trigger();
        BusyProgress::SetStepAnswerForTests({});
        QVERIFY(steps > 1);
        QVERIFY(!writtenMeanwhile);
        QCOMPARE(form->PageCount(), 2);
        QTRY_VERIFY(guard.Ended());
        QVERIFY(Read(Store()).find(content) != std::string::npos);
        Stop(form);
    }

    // A UTF-8 file left as it is keeps its bytes through edits elsewhere, a save
    // and a restart; converted, it becomes code page 932; where characters would be
    // lost, it is not converted.
    void utf8FilesKeepTheirBytes() {
        const std::string text =
            "<p>\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF"
            "</p>\r\n\xE4\xBA\x8C\xE8\xA1\x8C\xE7\x9B\xAE\r\n";  // こんにちは, 二行目
        for (const std::string& original : {text, "\xEF\xBB\xBF" + text}) {
            const std::string path = Bytes(Path(QStringLiteral("utf8.txt")));
            Write(path, original);
            answers_ = Answers{};
            auto form = Start();
            answers_.openPath = Path(QStringLiteral("utf8.txt"));
            form->Action("FileOpen1")->trigger();
            QCOMPARE(answers_.questions.size(), 1);
            QVERIFY(answers_.questions[0].contains(QStringLiteral("UTF-8")));
            TypeAtEnd(form->ActiveSheet(), QStringLiteral("end"));
            Save(*form);
            QCOMPARE(Read(path), original + "end");
            TypeAtEnd(form->ActiveSheet(), QStringLiteral("!"));
            Stop(form);

            form = Start();
            QCOMPARE(form->ActiveSheet()->FileName(), path);
            QVERIFY(form->ActiveSheet()->Edit().Modified());
            Save(*form);
            QCOMPARE(Read(path), original + "end!");
            Stop(form);
            QFile::remove(dir_.filePath(QStringLiteral("BoundFileTest.ztb")));
        }

        const std::string path = Bytes(Path(QStringLiteral("convert.txt")));
        Write(path, "\xEF\xBB\xBF" + text);
        answers_ = Answers{};
        answers_.yes = true;
        auto form = Start();
        answers_.openPath = Path(QStringLiteral("convert.txt"));
        form->Action("FileOpen1")->trigger();
        const std::string sjis = Utf8ToCp932(text).bytes;
        QCOMPARE(form->ActiveSheet()->Edit().GetAllText(), sjis);
        Save(*form);
        QCOMPARE(Read(path), sjis);

        const std::string emoji = "smile \xF0\x9F\x98\x80\r\n";
        Write(path, emoji);
        form->Action("FileOpen1")->trigger();
        QCOMPARE(answers_.messages.size(), 1);
        QVERIFY(answers_.messages[0].contains(QStringLiteral("😀")));
        QCOMPARE(form->ActiveSheet()->Edit().GetAllText(), emoji);
        TypeAtEnd(form->ActiveSheet(), QStringLiteral("x"));
        Save(*form);
        QCOMPARE(Read(path), emoji + "x");
        Stop(form);
    }

    // A file that cannot be read changes no page, and the message says which and why.
    void anUnreadableFileChangesNothing() {
        const QString link = Path(QStringLiteral("unreadable.txt"));
        // Reading the process's own memory at offset 0 fails with EIO, even for root.
        QCOMPARE(::symlink("/proc/self/mem", Bytes(link).c_str()), 0);
        const QString reason = QString::fromLocal8Bit(std::strerror(EIO));
        auto form = Start();
        form->ActiveSheet()->Edit().SetAllText("keep me");
        answers_.openPath = link;
        form->Action("FileOpen1")->trigger();
        QCOMPARE(form->PageCount(), 1);
        QCOMPARE(answers_.messages.size(), 1);
        QVERIFY(answers_.messages[0].contains(link));
        QVERIFY(answers_.messages[0].contains(reason));
        form->ActiveSheet()->SetFileName(Bytes(link));
        Stop(form);

        answers_ = Answers{};
        form = Start();
        QCOMPARE(form->ActiveSheet()->Edit().GetAllText(), std::string("keep me"));
        QCOMPARE(answers_.messages.size(), 1);
        QVERIFY(answers_.messages[0].contains(link));
        QVERIFY(answers_.messages[0].contains(reason));
        Stop(form);
    }

    // Cancelling at the first step of a load opens no page, and at the first step of
    // a save leaves the file as it was, the page still modified; nothing is reported
    // and no temporary file stays behind. Let through, the same save writes the file.
    void cancellingALoadOrASaveChangesNothing() {
        const QString path = Path(QStringLiteral("cancel.txt"));
        const std::string before = "\x93\xfa\x96\x7b\r\nold";
        Write(Bytes(path), before);
        auto form = Start();
        QStringList steps;
        bool letThrough = false;
        BusyProgress::SetStepAnswerForTests([&](const QString& label, double) {
            steps << label;
            return letThrough;
        });
        answers_.openPath = path;
        form->Action("FileOpen1")->trigger();
        QCOMPARE(form->PageCount(), 1);
        QCOMPARE(steps, QStringList{QStringLiteral("ファイルを読み込んでいます...")});

        letThrough = true;
        form->Action("FileOpen1")->trigger();
        QCOMPARE(form->PageCount(), 2);
        TypeAtEnd(form->ActiveSheet(), QStringLiteral("x"));
        letThrough = false;
        steps.clear();
        Save(*form);
        QCOMPARE(steps, QStringList{QStringLiteral("ファイルを保存しています...")});
        QCOMPARE(Read(Bytes(path)), before);
        QVERIFY(form->ActiveSheet()->Edit().Modified());
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files).filter(QStringLiteral("cancel")).size(),
                 1);

        letThrough = true;
        Save(*form);
        QCOMPARE(Read(Bytes(path)), before + "x");
        QVERIFY(!form->ActiveSheet()->Edit().Modified());
        BusyProgress::SetStepAnswerForTests({});
        QVERIFY(answers_.messages.isEmpty());
        Stop(form);
    }
};

QTEST_MAIN(BoundFileTest)
#include "BoundFileTest.moc"
