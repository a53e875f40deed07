// Web addresses dropped on the main window's pages and on the two dialogs' fields, in
// the formats a browser and a file manager send on X11.

#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

#include "editor/LumEdit.h"
#include "qt/dialogs/InsDelDlg.h"
#include "qt/dialogs/LinkDlg.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PageControl.h"
#include "qt/shell/ShellTestSupport.h"

using namespace zentabo;
using zentabo::testing::Quiet;

namespace {

Qt::DropAction Drop(QWidget* w, const QMimeData& data) {
    const QPoint p(20, 20);
    QDragEnterEvent enter(p, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data,
                          Qt::LeftButton, {});
    QCoreApplication::sendEvent(w, &enter);
    if (!enter.isAccepted()) return Qt::IgnoreAction;
    QDropEvent drop(p, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(w, &drop);
    return enter.dropAction();
}

// Chromium's link as a Qt target reads it: no text/x-moz-url, the rest as sent.
std::unique_ptr<QMimeData> BrowserLink(const QByteArray& url) {
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/uri-list"), url);
    data->setData(QStringLiteral("_NETSCAPE_URL"), url + "\nTitle");
    data->setData(QStringLiteral("text/plain"), url);
    return data;
}

}  // namespace

class UrlDropTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QStringList messages_;
    std::unique_ptr<TMainForm> form_;

private slots:
    void init() {
        form_ = std::make_unique<TMainForm>(dir_.path(), Quiet(&messages_));
        form_->show();
    }
    void cleanup() {
        form_->close();
        form_.reset();
    }

    void aLinkDroppedOnThePagesWrapsTheSelectionInOneUndoStep() {
        TLumEdit& e = form_->ActiveSheet()->Edit();
        e.SetAllText("see here.");
        e.SetSel(4, 0, 0, 8);  // here
        auto link = BrowserLink("https://example.org/%E6%97%A5?q=1&r=\"2\"");
        QCOMPARE(Drop(form_->Pages(), *link), Qt::CopyAction);
        QCOMPARE(e.GetAllText(),
                 std::string("see <a href=\"https://example.org/%E6%97%A5?q=1&amp;r=%222%22\">"
                             "here</a>."));
        e.Undo();
        QCOMPARE(e.GetAllText(), std::string("see here."));

        QMimeData files;  // a file manager
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.html"))});
        e.SetSel(0, 0, 0, 3);
        Drop(form_->Pages(), files);
        QCOMPARE(e.GetAllText(), std::string("<a href=\"file:///tmp/a%20b.html\">see</a> here."));
        QMimeData empty;
        QCOMPARE(Drop(form_->Pages(), empty), Qt::IgnoreAction);
    }

    void aLinkDroppedOnTheDialogsFillsTheirAddressFields() {
        auto* link = form_->findChild<TLinkDialog*>();
        QVERIFY(link);
        auto* href = link->findChild<QLineEdit*>(QStringLiteral("HrefEdit"));
        auto* name = link->findChild<QLineEdit*>(QStringLiteral("NameEdit"));
        name->setText(QStringLiteral("old"));
        auto url = BrowserLink("https://example.org/x\r\n");
        Drop(href, *url);
        QCOMPARE(href->text(), QStringLiteral("https://example.org/x"));
        QCOMPARE(name->text(), QString());

        auto* insDel = form_->findChild<TInsDelDialog*>();
        auto* cite = insDel->findChild<QLineEdit*>(QStringLiteral("CiteEdit"));
        QMimeData plain;
        plain.setText(QStringLiteral(" http://x.jp/\U0001F600\n"));
        Drop(cite, plain);
        QCOMPARE(cite->text(), QStringLiteral("http://x.jp/%F0%9F%98%80"));
    }
};

QTEST_MAIN(UrlDropTest)
#include "UrlDropTest.moc"
