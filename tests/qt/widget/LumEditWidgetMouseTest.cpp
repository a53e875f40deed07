// The editor widget driven by Qt mouse events: clicks, Shift+click, a drag that
// auto-scrolls below the window, Alt+Shift boxes, the context menu, the middle
// button and the pointer shapes.

#include <QClipboard>
#include <QMenu>
#include <QTest>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"
#include "qt/widget/WidgetTestSupport.h"

using namespace zentabo;

namespace {

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line" + std::to_string(i) + "\r\n";
    return text + "end";
}

}  // namespace

class LumEditWidgetMouseTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        w_ = testing::FocusedEditor();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
        w_->Edit().SetWordWrap(false);
    }

    void cleanup() { w_.reset(); }

    void clickAndShiftClickSelect() {
        TLumEdit& e = w_->Edit();
        e.SetAllText("abcdef\r\nghijkl\r\nmnopqr");
        QTest::mouseClick(w_.get(), Qt::LeftButton, {}, At(0, 2));
        QCOMPARE(e.CaretLine(), 0);
        QCOMPARE(e.CaretCol(), 2);
        QTest::mouseClick(w_.get(), Qt::LeftButton, Qt::ShiftModifier, At(2, 3));
        QCOMPARE(e.GetSelText(), std::string("cdef\r\nghijkl\r\nmno"));
        QCOMPARE(w_->cursor().shape(), Qt::IBeamCursor);
        QTest::mouseMove(w_.get(), QPoint(2, At(1, 0).y()));
        QCOMPARE(w_->cursor().shape(), Qt::ArrowCursor);
    }

    void dragBelowTheWindowKeepsScrolling() {
        TLumEdit& e = w_->Edit();
        e.SetAllText(Lines(300));
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTest::mousePress(w_.get(), Qt::LeftButton, {}, At(0, 1));
        QTest::mouseMove(w_.get(), QPoint(40, w_->height() + 30));
        QTRY_VERIFY_WITH_TIMEOUT(e.TopLine() > 10, 3000);
        QTest::mouseRelease(w_.get(), Qt::LeftButton, {}, QPoint(40, w_->height() + 30));
        const int end = e.CaretLine();
        QVERIFY(end > e.LinesPerPage());
        QCOMPARE(e.SelStartLine(), 0);
        QCOMPARE(e.SelEndLine(), end);
        QTest::qWait(120);
        QCOMPARE(e.CaretLine(), end);  // released: the timer scrolls no more
    }

    void altShiftDragMakesABox() {
        TLumEdit& e = w_->Edit();
        e.SetAllText("abcdef\r\nghijkl\r\nmnopqr");
        const Qt::KeyboardModifiers m = Qt::AltModifier | Qt::ShiftModifier;
        QTest::mousePress(w_.get(), Qt::LeftButton, m, At(0, 1));
        QTest::mouseMove(w_.get(), At(2, 4));
        QTest::mouseRelease(w_.get(), Qt::LeftButton, m, At(2, 4));
        QVERIFY(e.BoxSelMode());
        QCOMPARE(e.GetSelText(), std::string("bcd\r\nhij\r\nnop\r\n"));
    }

    void rightPressShowsTheMenuOnceAndMiddlePressReachesTheEditor() {
        TLumEdit& e = w_->Edit();
        e.SetAllText("abc");
        QMenu menu;
        menu.addAction(QStringLiteral("x"));
        w_->SetPopupMenu(&menu);
        int downs = 0;
        e.OnMouseDown = [&](TLumEdit&, TLumEdit::TMouseButton, int, int, int) { ++downs; };
        int customRequests = 0;
        w_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w_.get(), &QWidget::customContextMenuRequested, this,
                [&](const QPoint&) { ++customRequests; });
        QTest::mouseClick(w_.get(), Qt::RightButton, {}, At(0, 1));
        QTRY_VERIFY(menu.isVisible());
        QCOMPARE(customRequests, 0);
        menu.hide();
        QTest::mouseClick(w_.get(), Qt::MiddleButton, {}, At(0, 2));
        QCOMPARE(downs, 2);
        w_->SetPopupMenu(nullptr);
        QTest::mouseClick(w_.get(), Qt::RightButton, {}, At(0, 1));
        QCOMPARE(customRequests, 1);
    }

    void middleClickPastesThePrimarySelection() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard->supportsSelection()) QSKIP("no primary selection on this platform");
        TLumEdit& e = w_->Edit();
        e.SetAllText("abc\r\ndef");
        clipboard->setText(QStringLiteral("日本"), QClipboard::Selection);
        QTest::mouseClick(w_.get(), Qt::MiddleButton, {}, At(1, 1));
        QCOMPARE(e.GetAllText(), std::string("abc\r\nd\x93\xfa\x96\x7b"
                                             "ef"));
    }

private:
    // The middle of the cell before col on a visible row.
    QPoint At(int line, int col) {
        TLumEdit& e = w_->Edit();
        const int x = e.TextLeft() + e.ColumnToPixel(line, col) - e.HorzOffset() + 1;
        const int y = e.TopMargin() + (line - e.TopLine()) * e.LineHeight() + e.LineHeight() / 2;
        return QPoint(x, y);
    }

    std::unique_ptr<LumEditWidget> w_;
};

QTEST_MAIN(LumEditWidgetMouseTest)
#include "LumEditWidgetMouseTest.moc"
