// The drop target on a plain widget, driven by the drag events Qt delivers: the
// format and effect chosen from the data, the source's actions and the modifiers;
// handler order and the answered effect; several targets on one widget; a widget
// that gets a new native window; and the reading of what browsers drag.

#include <QMimeData>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <memory>
#include <stdexcept>

#include "app/ClipboardFormats.h"
#include "commands/TagTexts.h"
#include "qt/services/DataObjectReader.h"
#include "qt/services/OleDropTarget.h"

using namespace zentabo;

namespace {

// What each drag event answered.
struct Answered {
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

template <typename Event>
Answered Send(QWidget* w, const QMimeData* data, Qt::DropActions possible,
              Qt::KeyboardModifiers mods = {}) {
    Event e(QPoint(10, 12), possible, data, Qt::LeftButton, mods);
    e.setAccepted(false);
    QCoreApplication::sendEvent(w, &e);
    return {e.isAccepted(), e.dropAction()};
}

QByteArray Utf16Le(const QString& s) {
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

// What Chromium offers for a dragged link, as a Qt target on X11 reads it.
std::unique_ptr<QMimeData> BrowserLink(const QString& url, const QString& title) {
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/x-moz-url"), Utf16Le(url + QLatin1Char('\n') + title));
    data->setData(QStringLiteral("text/uri-list"), url.toUtf8());
    data->setData(QStringLiteral("_NETSCAPE_URL"), (url + QLatin1Char('\n') + title).toUtf8());
    data->setText(url);
    return data;
}

}  // namespace

class OleDropTargetTest : public QObject {
    Q_OBJECT

private slots:
    void theFirstMatchingItemGetsTheDragAndItsHandlersSetTheAnswer() {
        QWidget w;
        TOleDropTarget target;
        QStringList log;
        TDFItem& html = target.Formats().Add();
        html.FormatName = "text/html";  // a registered name: the MIME type itself
        TDFItem& text = target.Formats().Add();
        text.FormatName = "CF_TEXT";
        text.DropEffects = EffectSet(ekCopy) | EffectSet(ekMove);
        TDFItem& later = target.Formats().Add();
        later.FormatName = "CF_UNICODETEXT";
        later.OnDragEnter = [&](TDFItem&, TDragContext&) { log << "later"; };
        text.OnDragEnter = [&](TDFItem& s, TDragContext& c) {
            log << QStringLiteral("item enter %1 %2 %3,%4")
                       .arg(QString::fromStdString(s.DisplayName()))
                       .arg(c.Effect)
                       .arg(c.Point.x())
                       .arg(c.Point.y());
        };
        text.OnDrop = [&](TDFItem&, TDragContext& c) {
            log << QStringLiteral("item drop %1").arg(c.Effect);
        };
        target.OnDragEnter = [&](TOleDropTarget&, TDragContext& c) {
            log << QStringLiteral("target enter %1").arg(c.KeyState);
        };
        target.OnDrop = [&](TOleDropTarget&, TDragContext& c) {
            log << "target drop";
            c.Effect = DROPEFFECT_COPY;
        };
        target.SetWinControl(&w);
        QVERIFY(!w.acceptDrops());  // attached only once loaded
        target.Loaded();
        QVERIFY(w.acceptDrops());
        QCOMPARE(text.ClipboardFormat(), CF_TEXT);

        QMimeData plain;
        plain.setText(QStringLiteral("hello"));
        const Answered enter =
            Send<QDragEnterEvent>(&w, &plain, Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier);
        QVERIFY(enter.accepted);
        QCOMPARE(enter.action, Qt::MoveAction);  // Shift prefers move, the item allows it
        QCOMPARE(target.CurrentItem(), &text);
        QCOMPARE(log, QStringList({QStringLiteral("item enter CF_TEXT 2 10,12"),
                                   QStringLiteral("target enter %1").arg(MK_SHIFT | MK_LBUTTON)}));
        log.clear();
        const Answered drop = Send<QDropEvent>(&w, &plain, Qt::CopyAction | Qt::MoveAction);
        // The drop starts from no effect; the component's handler left copy.
        QCOMPARE(log, QStringList({"item drop 0", "target drop"}));
        QVERIFY(drop.accepted);
        QCOMPARE(drop.action, Qt::CopyAction);

        // An item that allows only copy refuses a source that offers only move.
        text.DropEffects = EffectSet(ekCopy);
        QVERIFY(!Send<QDragEnterEvent>(&w, &plain, Qt::MoveAction).accepted);
        QCOMPARE(target.CurrentItem(), nullptr);
        // Data in none of the formats is refused too.
        QMimeData image;
        image.setData(QStringLiteral("image/png"), "x");
        QVERIFY(!Send<QDragEnterEvent>(&w, &image, Qt::CopyAction).accepted);
        QCOMPARE(target.CurrentItem(), nullptr);
    }

    void theFormatListIsEditedInPlaceNeverReplaced() {
        TOleDropTarget target;
        target.Formats().Add().FormatName = "UniformResourceLocator";
        try {
            target.SetFormats(TDFItems());
            QFAIL("replacing the list must fail");
        } catch (const std::logic_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("この動作はサポートされていません."));
        }
        QCOMPARE(target.Formats().Count(), 1);
    }

    void aNewNativeWindowOrParentKeepsTheTargetAndTheNewestTargetComesFirst() {
        QWidget first, second;
        auto* w = new QWidget(&first);
        first.show();
        w->winId();
        auto older = std::make_unique<TOleDropTarget>();
        older->Formats().Add().FormatName = "CF_TEXT";
        older->SetWinControl(w);
        older->Loaded();
        int olderDrops = 0, newerDrops = 0;
        older->OnDrop = [&](TOleDropTarget&, TDragContext&) { ++olderDrops; };

        w->setParent(&second);  // a new native window under another parent
        second.show();
        w->show();
        QVERIFY(w->acceptDrops());
        QMimeData plain;
        plain.setText(QStringLiteral("x"));
        QVERIFY(Send<QDragEnterEvent>(w, &plain, Qt::CopyAction).accepted);
        Send<QDropEvent>(w, &plain, Qt::CopyAction);
        QCOMPARE(olderDrops, 1);

        auto newer = std::make_unique<TOleDropTarget>();
        newer->Formats().Add().FormatName = "CF_TEXT";
        newer->OnDrop = [&](TOleDropTarget&, TDragContext&) { ++newerDrops; };
        newer->SetWinControl(w);
        newer->Loaded();
        Send<QDragEnterEvent>(w, &plain, Qt::CopyAction);
        Send<QDropEvent>(w, &plain, Qt::CopyAction);
        QCOMPARE(newerDrops, 1);
        QCOMPARE(olderDrops, 1);
        newer.reset();  // unlinked: the older one gets the drops again
        QVERIFY(w->acceptDrops());
        Send<QDragEnterEvent>(w, &plain, Qt::CopyAction);
        Send<QDropEvent>(w, &plain, Qt::CopyAction);
        QCOMPARE(olderDrops, 2);
        older->SetWinControl(nullptr);
        QVERIFY(!w->acceptDrops());
    }

    void readsTheAddressABrowserOrFileManagerDragsFirstFormatFirst() {
        const uint16_t url = ResolveFormatName(kUniformResourceLocator);
        auto link = BrowserLink(QStringLiteral("https://example.org/x"), QStringLiteral("Drag me"));
        // Each format carries another address, to tell which one was read.
        link->setData(QStringLiteral("text/uri-list"), "https://example.org/from-uri-list\r\n");
        TDataObjectReader reader(link.get());
        QVERIFY(reader.HasFormat(url));
        QCOMPARE(reader.ReadText(url), std::string("https://example.org/x"));
        // Qt reads text/x-moz-url from an X11 source as nothing: the next format answers.
        link->setData(QStringLiteral("text/x-moz-url"), QByteArray());
        QCOMPARE(reader.ReadText(url), std::string("https://example.org/from-uri-list"));

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.html")),
                       QUrl::fromLocalFile(QStringLiteral("/tmp/c.html"))});
        TDataObjectReader fileReader(&files);
        QVERIFY(fileReader.HasFormat(CF_HDROP));
        QCOMPARE(fileReader.ReadText(url), std::string("file:///tmp/a%20b.html"));

        // Plain text alone, with blanks and a NUL about it: the caller's trim takes them.
        QMimeData plain;
        plain.setText(QString::fromUtf16(u" \thttp://x.jp/\u00E9\u65E5\r\n\0", 19));
        TDataObjectReader plainReader(&plain);
        QVERIFY(!plainReader.HasFormat(CF_HDROP));
        const std::string read = plainReader.ReadText(url);
        QCOMPARE(read, std::string(" \thttp://x.jp/%C3%A9\x93\xFA\r\n\0", 25));
        QCOMPARE(TrimUrl(read), std::string("http://x.jp/%C3%A9\x93\xFA"));
        // As plain text the character the code page cannot hold is left out instead.
        QCOMPARE(TrimUrl(plainReader.ReadText()), std::string("http://x.jp/\x93\xFA"));
        QMimeData empty;
        QVERIFY(!TDataObjectReader(&empty).HasFormat(url));
        QCOMPARE(TDataObjectReader(&empty).ReadText(url), std::string());
    }
};

QTEST_MAIN(OleDropTargetTest)
#include "OleDropTargetTest.moc"
