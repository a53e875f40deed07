// Files named from outside the window: what opens, what is reported, and the socket
// through which a later start hands them over.

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <future>

#include "app/OpenableFile.h"
#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/ShellTestSupport.h"
#include "qt/shell/SingleInstance.h"

using namespace zentabo;

namespace {

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// By the path's bytes: Qt would turn a name that is no UTF-8 into another one.
void Write(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

}  // namespace

class OpenFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QStringList messages_;

    std::string File(const QString& name) const { return Bytes(dir_.filePath(name)); }

private slots:
    void init() {
        messages_.clear();
        // Each test starts without the pages and settings of the one before.
        QDir d(dir_.path());
        for (const QString& f : d.entryList({QStringLiteral("*.ztb"), QStringLiteral("*.ini")}))
            d.remove(f);
    }

    // Readable files open once each, named after the file, with their line breaks as
    // they are; the rest (missing, a folder, a named pipe) are named in one message.
    void readableFilesOpenAndTheRestAreReportedTogether() {
        const std::string crlf = File(QStringLiteral("a b.txt"));
        const std::string lf = File(QStringLiteral("日本語.txt"));
        const std::string sjisName = Bytes(dir_.path()) + "/\x93\xfa\x96\x7b.txt";
        Write(crlf, "one\r\ntwo");
        Write(lf, "x\ny");
        Write(sjisName, "z");
        const std::string pipe = File(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
        const std::string folder = Bytes(dir_.path());
        const std::string gone = File(QStringLiteral("gone.txt"));

        TMainForm form(dir_.path(), testing::Quiet(&messages_));
        form.show();
        form.OpenFiles({crlf, gone, lf, folder, pipe, sjisName});
        QCOMPARE(form.PageCount(), 4);  // Page&0 and three files
        const QStringList captions = {QStringLiteral("a b.txt"), QStringLiteral("日本語.txt"),
                                      QStringLiteral("日本.txt")};
        const std::vector<std::string> paths = {crlf, lf, sjisName};
        // The LF file's breaks are recognised: the editor holds them as line ends.
        const std::vector<std::string> texts = {"one\r\ntwo", "x\r\ny", "z"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(form.PageCaption(i + 1), captions[i]);
            QCOMPARE(form.Page(i + 1)->FileName(), paths[size_t(i)]);
            QCOMPARE(form.Page(i + 1)->Edit().GetAllText(), texts[size_t(i)]);
            QVERIFY(!form.Page(i + 1)->Edit().Modified());
        }
        QCOMPARE(form.ActiveIndex(), 3);
        QCOMPARE(messages_.size(), 1);
        for (const std::string& p : {gone, folder, pipe})
            QVERIFY2(messages_[0].contains(QFile::decodeName(p.c_str())), p.c_str());
        QVERIFY(form.AcceptsFiles());
        QVERIFY(form.close());
        QVERIFY(!form.AcceptsFiles());
        ::unlink(sjisName.c_str());  // QTemporaryDir cannot name it
    }

    // A batch that arrives while a question about the previous one is open (its
    // nested event loop serves the socket) opens too, after it, and nothing twice.
    void aBatchArrivingDuringAQuestionOpensAfterIt() {
        const std::string utf8 = File(QStringLiteral("utf8.txt"));
        const std::string later = File(QStringLiteral("later.txt"));
        Write(utf8, "\xe6\x97\xa5\xe6\x9c\xac");
        Write(later, "later");
        TMainForm* form = nullptr;
        ShellDialogs d = testing::Quiet(&messages_);
        d.askYesNo = [&](QWidget*, const QString&) {
            form->OpenFiles({later});
            return false;
        };
        TMainForm f(dir_.path(), d);
        form = &f;
        f.show();
        f.OpenFiles({utf8});
        QCOMPARE(f.PageCount(), 3);
        QCOMPARE(f.Page(1)->FileName(), utf8);
        QCOMPARE(f.Page(2)->FileName(), later);
        QVERIFY(messages_.isEmpty());
        QVERIFY(f.close());
    }

    // A file the memory left cannot hold is refused with a message before it is read,
    // and the window stays as it was; one that fits beside it still opens.
    void aFileTooLargeForTheMemoryIsRefused() {
        const std::string big = File(QStringLiteral("big.txt"));
        const std::string small = File(QStringLiteral("small.txt"));
        Write(big, std::string(4000, 'x'));
        Write(small, "ok");
        SetMemoryProbe([] { return std::optional<std::uint64_t>(3000); });
        TMainForm form(dir_.path(), testing::Quiet(&messages_));
        form.show();
        form.OpenFiles({big, small});
        SetMemoryProbe({});
        QCOMPARE(form.PageCount(), 2);
        QCOMPARE(form.Page(1)->FileName(), small);
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].contains(QFile::decodeName(big.c_str())));
        QVERIFY(messages_[0].contains(QStringLiteral("ファイルが大きすぎるため開けません")));
        QVERIFY(form.close());
    }

    // The running instance's socket: garbage is dropped without harm, a proper
    // request is answered and handed on, a closing window says so, and once the
    // server is closed a later start finds nobody and may take the lock.
    void theSocketTakesOnlyWellFormedRequests() {
        const QString path = dir_.filePath(QStringLiteral("ztabo.sock"));
        bool accepting = true;
        std::vector<std::vector<std::string>> received;
        InstanceServer server(path,
                              {[&] { return accepting; },
                               [&](const std::vector<std::string>& f) { received.push_back(f); }});
        QVERIFY(server.Listen());

        QLocalSocket junk;
        junk.connectToServer(path);
        QVERIFY(junk.waitForConnected(1000));
        junk.write("GET / HTTP/1.0\r\n\r\n");
        QTRY_COMPARE(junk.state(), QLocalSocket::UnconnectedState);

        // The sender blocks, so it runs beside the event loop that serves the socket;
        // it gives up by itself within its answer time.
        auto handOver = [&](std::vector<std::string> files) {
            auto result = std::async(std::launch::async,
                                     [&path, files] { return HandOver(path, files, 5000); });
            while (result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return result.get();
        };
        const std::vector<std::string> files = {"/tmp/a b.txt", "/tmp/\x93\xfa.txt"};
        QCOMPARE(handOver(files), HandOverResult::Delivered);
        QCOMPARE(handOver({}), HandOverResult::Delivered);
        QCOMPARE(received, (std::vector<std::vector<std::string>>{files, {}}));
        accepting = false;
        QCOMPARE(handOver(files), HandOverResult::NotRunning);
        server.Close();
        QCOMPARE(handOver(files), HandOverResult::NotRunning);
        QCOMPARE(received.size(), size_t(2));
    }
};

QTEST_MAIN(OpenFilesTest)
#include "OpenFilesTest.moc"
