// Editors in dmOLEAuto: a selection dragged from one editor into another moves (or
// copies with Ctrl), a drop back into its own editor moves inside it, a refused or
// cancelled drag leaves the source alone, files are reported by name and the text
// never changes, a disabled editor takes nothing. The platform's drag loop is stood in
// for by delivering the drag events to the target editor.

#include <QDrag>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <functional>
#include <memory>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"

using namespace zentabo;

namespace {

// Hands its drags to `drop`, which answers the action the drop produced.
class DraggingEditor : public LumEditWidget {
public:
    std::function<Qt::DropAction(const QMimeData&)> drop;
    int drags = 0;

protected:
    Qt::DropAction ExecOleDrag(QDrag& d) override {
        ++drags;
        return drop ? drop(*d.mimeData()) : Qt::IgnoreAction;
    }
};

QPoint At(LumEditWidget& w, int line, int col) {
    TLumEdit& e = w.Edit();
    const int x = e.TextLeft() + e.ColumnToPixel(line, col) - e.HorzOffset() + 1;
    const int y = e.TopMargin() + (line - e.TopLine()) * e.LineHeight() + e.LineHeight() / 2;
    return QPoint(x, y);
}

// One drag over `target` ending in a drop at `p`, as the platform delivers it.
Qt::DropAction DeliverDrop(QWidget* target, const QMimeData& data, QPoint p,
                           Qt::KeyboardModifiers mods = {},
                           Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction) {
    QDragEnterEvent enter(p, possible, &data, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return Qt::IgnoreAction;
    QDragMoveEvent move(p, possible, &data, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(p, possible, &data, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

}  // namespace

class LumEditWidgetOleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DraggingEditor> a_, b_;

    void Setup(DraggingEditor& w, const char* text, int x) {
        w.resize(300, 200);
        w.move(x, 0);
        w.show();
        w.Edit().SetWordWrap(false);
        w.SetDragMode(dmOLEAuto);
        w.Edit().SetAllText(text);
    }

    // Presses inside the selection and moves far enough to start the drag.
    void DragSelection(DraggingEditor& w, QPoint from) {
        QTest::mousePress(&w, Qt::LeftButton, {}, from);
        QTest::mouseMove(&w, from + QPoint(0, 30));
    }

private slots:
    void init() {
        a_ = std::make_unique<DraggingEditor>();
        b_ = std::make_unique<DraggingEditor>();
        Setup(*a_, "abc\r\ndef", 0);
        Setup(*b_, "xyz", 320);
        QVERIFY(QTest::qWaitForWindowExposed(a_.get()));
    }
    void cleanup() {
        a_.reset();
        b_.reset();
    }

    void aDragIntoAnotherEditorMovesOrCopiesWithCtrl() {
        a_->Edit().SetAllText(std::string("ab\x93\xFA\r\ndef", 9));  // ab日 on line 0
        a_->Edit().SetSel(1, 0, 0, 4);                               // b日
        Qt::KeyboardModifiers mods;
        QByteArray bytes;
        QString text;
        a_->drop = [&](const QMimeData& data) {
            bytes = data.data(QString::fromLatin1(LumEditWidget::kCp932MimeType));
            text = data.text();
            return DeliverDrop(b_.get(), data, At(*b_, 0, 1), mods);
        };
        DragSelection(*a_, At(*a_, 0, 2));
        QCOMPARE(a_->drags, 1);
        // Our own editors read the exact bytes; other programs get Unicode text.
        QCOMPARE(bytes, QByteArray("b\x93\xFA"));
        QCOMPARE(text, QStringLiteral("b日"));
        QCOMPARE(b_->Edit().GetAllText(), std::string("xb\x93\xFAyz"));
        QCOMPARE(a_->Edit().GetAllText(), std::string("a\r\ndef"));
        QVERIFY(!a_->Edit().DragActive());
        QCOMPARE(LumEditWidget::OleDragSource(), nullptr);

        // With Ctrl the text is copied and the source's selection only cleared.
        a_->Edit().SetAllText("abc\r\ndef");
        a_->Edit().SetSel(0, 1, 1, 3);  // def
        mods = Qt::ControlModifier;
        DragSelection(*a_, At(*a_, 1, 1));
        QCOMPARE(b_->Edit().GetAllText(), std::string("xdefb\x93\xFAyz"));
        QCOMPARE(a_->Edit().GetAllText(), std::string("abc\r\ndef"));
        QVERIFY(!a_->Edit().SelActive());
    }

    void aDropBackIntoTheSourceMovesInsideIt() {
        a_->Edit().SetSel(0, 0, 0, 2);  // ab
        a_->drop = [&](const QMimeData& data) {
            return DeliverDrop(a_.get(), data, At(*a_, 1, 3));
        };
        DragSelection(*a_, At(*a_, 0, 1));
        QCOMPARE(a_->Edit().GetAllText(), std::string("c\r\ndefab"));
        a_->Edit().Undo();
        QCOMPARE(a_->Edit().GetAllText(), std::string("abc\r\ndef"));
    }

    void aRefusedOrCancelledDragKeepsTheSourceAsItWas() {
        a_->Edit().SetSel(0, 0, 0, 2);
        // Escape or the right button: the platform's drag answers no action.
        a_->drop = [](const QMimeData&) { return Qt::IgnoreAction; };
        DragSelection(*a_, At(*a_, 0, 1));
        QCOMPARE(a_->Edit().GetAllText(), std::string("abc\r\ndef"));
        QCOMPARE(a_->Edit().GetSelText(), std::string("ab"));
        QVERIFY(!a_->Edit().DragActive());

        // A read-only target changes nothing, so the move must not delete the source.
        b_->Edit().ReadOnly = true;
        a_->drop = [&](const QMimeData& data) {
            return DeliverDrop(b_.get(), data, At(*b_, 0, 0));
        };
        DragSelection(*a_, At(*a_, 0, 1));
        QCOMPARE(b_->Edit().GetAllText(), std::string("xyz"));
        QCOMPARE(a_->Edit().GetAllText(), std::string("abc\r\ndef"));
        QCOMPARE(a_->Edit().GetSelText(), std::string("ab"));

        // A disabled editor refuses the drag altogether.
        b_->Edit().ReadOnly = false;
        b_->setEnabled(false);
        DragSelection(*a_, At(*a_, 0, 1));
        QCOMPARE(b_->Edit().GetAllText(), std::string("xyz"));
        QCOMPARE(a_->Edit().GetAllText(), std::string("abc\r\ndef"));

        // A press inside the selection released on the spot drags nothing.
        const int drags = a_->drags;
        QTest::mouseClick(a_.get(), Qt::LeftButton, {}, At(*a_, 0, 1));
        QCOMPARE(a_->drags, drags);
        QVERIFY(!a_->Edit().SelActive());
    }

    void droppedFilesAreNamedAndTextFromOtherProgramsIsCopiedIn() {
        std::string files;
        int fileDrops = 0;
        b_->Edit().OnOLEDropFiles = [&](TLumEdit&, const std::string& names) {
            files = names;
            ++fileDrops;
        };
        QMimeData manager;  // a file manager: file URLs and their paths as text
        QList<QUrl> urls;
        for (int i = 0; i < 3000; ++i)
            urls << QUrl::fromLocalFile(QStringLiteral("/tmp/d/f%1 日.txt").arg(i));
        manager.setUrls(urls);
        manager.setText(QStringLiteral("/tmp/d/f0 日.txt"));
        QCOMPARE(DeliverDrop(b_.get(), manager, At(*b_, 0, 1)), Qt::CopyAction);
        QCOMPARE(fileDrops, 1);
        QVERIFY(QString::fromStdString(files).startsWith(
            QStringLiteral("/tmp/d/f0 日.txt|/tmp/d/f1 日.txt|")));
        QCOMPARE(QString::fromStdString(files).count(QLatin1Char('|')), 2999);
        QCOMPARE(b_->Edit().GetAllText(), std::string("xyz"));

        // Text from another program: copied in, whatever the modifiers.
        QMimeData other;
        other.setText(QStringLiteral("日\U0001F600"));
        QStringList messages;
        b_->SetMessageSink([&](const QString& m) { messages << m; });
        QCOMPARE(DeliverDrop(b_.get(), other, At(*b_, 0, 3)), Qt::CopyAction);
        QCOMPARE(b_->Edit().GetAllText(), std::string("xyz\x93\xFA"));
        QCOMPARE(messages.size(), 1);  // the character left out is told
        QMimeData empty;
        empty.setText(QString());
        QCOMPARE(DeliverDrop(b_.get(), empty, At(*b_, 0, 0)), Qt::IgnoreAction);
        // Pages keep the in-window drag and leave drops to the window.
        b_->SetDragMode(dmAutomatic);
        QVERIFY(!b_->acceptDrops());
        QCOMPARE(DeliverDrop(b_.get(), other, At(*b_, 0, 0)), Qt::IgnoreAction);
    }
};

QTEST_MAIN(LumEditWidgetOleTest)
#include "LumEditWidgetOleTest.moc"
