// The editor widget driven by real Qt events: keys through the key table, typed and
// committed text, the preedit, the input method's queries, the wheel, the scroll bars,
// focus and resizing.

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextCharFormat>
#include <QWheelEvent>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"
#include "qt/widget/WidgetTestSupport.h"
#include "store/Cp932Codec.h"

using namespace zentabo;

namespace {

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line" + std::to_string(i) + "\r\n";
    return text + "end";
}

void Commit(QWidget* w, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

void Preedit(QWidget* w, const QString& text) {
    QInputMethodEvent e(text, {});
    QApplication::sendEvent(w, &e);
}

constexpr QRgb kClauseBlue = 0xFF0000FFu;

// A composition as input methods send it: the converting clause highlighted, the rest
// underlined, the cursor after the first clause.
void Clauses(QWidget* w, const QString& text, int firstClause) {
    QTextCharFormat converting;
    converting.setBackground(QColor::fromRgb(kClauseBlue));
    converting.setForeground(Qt::white);
    QTextCharFormat rest;
    rest.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    const int n = static_cast<int>(text.size());
    QInputMethodEvent e(text, {{QInputMethodEvent::TextFormat, 0, firstClause, converting},
                               {QInputMethodEvent::TextFormat, firstClause, n - firstClause, rest},
                               {QInputMethodEvent::Cursor, firstClause, 1, QVariant()}});
    QApplication::sendEvent(w, &e);
}

// Pixels of a colour inside a rectangle of the widget as it shows.
int CountIn(const QImage& shown, const QRect& r, QRgb rgb) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += shown.pixel(x, y) == rgb;
    return n;
}

}  // namespace

class LumEditWidgetInputTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        w_ = testing::FocusedEditor(&messages_);
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }

    void cleanup() { w_.reset(); }

    void keysEditAndMoveTheCaret() {
        TLumEdit& e = w_->Edit();
        QTest::keyClicks(w_.get(), QStringLiteral("abc"));
        QTest::keyClick(w_.get(), Qt::Key_Return);
        QTest::keyClicks(w_.get(), QStringLiteral("de"));
        QCOMPARE(e.GetAllText(), std::string("abc\r\nde"));
        QTest::keyClick(w_.get(), Qt::Key_Up);
        QCOMPARE(e.CaretLine(), 0);
        QCOMPARE(e.CaretCol(), 2);
        QTest::keyClick(w_.get(), Qt::Key_Left, Qt::ShiftModifier);
        QVERIFY(e.SelActive());
        QCOMPARE(e.GetSelText(), std::string("b"));
        QTest::keyClick(w_.get(), Qt::Key_Backspace);
        QCOMPARE(e.GetAllText(), std::string("ac\r\nde"));
        QTest::keyClick(w_.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(e.CaretLine(), 1);
        QCOMPARE(e.CaretCol(), 2);
        QTest::keyClick(w_.get(), Qt::Key_Tab);
        QCOMPARE(e.GetAllText(), std::string("ac\r\nde\t"));
        // Without WantTabs the Tab key leaves the editor to the next control.
        QLineEdit next(w_.get());
        next.setGeometry(0, 0, 10, 10);
        next.show();
        e.WantTabs = false;
        QTest::keyClick(w_.get(), Qt::Key_Tab);
        QCOMPARE(e.GetAllText(), std::string("ac\r\nde\t"));
        QVERIFY(next.hasFocus());
        e.WantTabs = true;
        w_->setFocus();
        QTest::keyClick(w_.get(), Qt::Key_Insert);
        QVERIFY(!e.InsertMode());
        QTest::keyClick(w_.get(), Qt::Key_Home);
        QTest::keyClick(w_.get(), Qt::Key_X);
        QCOMPARE(e.GetAllText(), std::string("ac\r\nxe\t"));
    }

    void wordKeysAndReadOnly() {
        TLumEdit& e = w_->Edit();
        e.SetAllText(
            "abc\x82\xA0\x82\xA2"
            "def");
        QTest::keyClick(w_.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(e.CaretCol(), 3);
        QTest::keyClick(w_.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(e.GetAllText(), std::string("abcdef"));
        e.ReadOnly = true;
        QTest::keyClicks(w_.get(), QStringLiteral("zz"));
        QTest::keyClick(w_.get(), Qt::Key_Delete);
        Commit(w_.get(), QStringLiteral("日本"));
        QCOMPARE(e.GetAllText(), std::string("abcdef"));
        QTest::keyClick(w_.get(), Qt::Key_Right);
        QCOMPARE(e.CaretCol(), 4);
        QVERIFY(messages_.isEmpty());
    }

    void preeditIsShownNotStoredAndCommitIsTyped() {
        TLumEdit& e = w_->Edit();
        int starts = 0, ends = 0;
        e.OnIMEChanging = [&](TLumEdit&) { ++starts; };
        e.OnIMEChanged = [&](TLumEdit&) { ++ends; };
        QTest::keyClicks(w_.get(), QStringLiteral("x"));
        Preedit(w_.get(), QStringLiteral("にほんご"));
        QCOMPARE(w_->Preedit(), QStringLiteral("にほんご"));
        QVERIFY(e.IMEComposing());
        QCOMPARE(e.GetAllText(), std::string("x"));
        Preedit(w_.get(), QStringLiteral("日本語"));
        Commit(w_.get(), QStringLiteral("日本語"));
        QCOMPARE(e.GetAllText(), std::string("x\x93\xfa\x96\x7b\x8c\xea"));
        QVERIFY(w_->Preedit().isEmpty());
        QVERIFY(!e.IMEComposing());
        QCOMPARE(starts, 1);
        QCOMPARE(ends, 1);
        // Overwrite mode: the committed bytes replace as many bytes.
        e.SetAllText("abcdef");
        e.SetInsertMode(false);
        Commit(w_.get(), QStringLiteral("日"));
        QCOMPARE(e.GetAllText(), std::string("\x93\xfa"
                                             "cdef"));
        // Characters code page 932 lacks are left out, and the user is told.
        Commit(w_.get(), QStringLiteral("\U0001F600"));
        QCOMPARE(e.GetAllText(), std::string("\x93\xfa"
                                             "cdef"));
        QCOMPARE(messages_.size(), 1);
    }

    // Paste and commit keep every character code page 932 holds and tell, once, how
    // many others were left out and which came first.
    void pasteAndCommitTellWhatCodePage932Lacks() {
        TLumEdit& e = w_->Edit();
        QGuiApplication::clipboard()->setText(
            QStringLiteral("a\u00F1b\U0001F600c\u2605\u2460\uFF76\u00E9"));
        QTest::keyClick(w_.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.GetAllText(), std::string("abc\x81\x9a\x87\x40\xb6"));
        QTRY_COMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].contains(QStringLiteral("3 個")));
        QVERIFY(messages_[0].contains(QStringLiteral("「\u00F1」")));
        QVERIFY(messages_[0].contains(QStringLiteral("貼り付け")));

        // Only characters it cannot hold: nothing is pasted, and the user still hears.
        QGuiApplication::clipboard()->setText(QStringLiteral("\U0001F600"));
        e.PasteFromClipboard();
        QTRY_COMPARE(messages_.size(), 2);
        QCOMPARE(e.GetAllText(), std::string("abc\x81\x9a\x87\x40\xb6"));

        Commit(w_.get(), QStringLiteral("\U0001F600x\u00E9\u2605"));
        QCOMPARE(e.GetAllText(), std::string("abc\x81\x9a\x87\x40\xb6x\x81\x9a"));
        QCOMPARE(messages_.size(), 3);
        QVERIFY(messages_[2].contains(QStringLiteral("2 個")));
        QVERIFY(messages_[2].contains(QStringLiteral("「\U0001F600」")));
        QApplication::processEvents();
        QCOMPARE(messages_.size(), 3);
    }

    // Drawn with the input method's attributes, kept inside the text area, and gone
    // with the focus.
    void compositionShowsItsClausesWithinTheTextArea() {
        TLumEdit& e = w_->Edit();
        e.SetAllText("ab");
        e.MoveCaretTo(2, 0, 0);
        const QPoint caret = w_->CaretRect().topLeft();
        Clauses(w_.get(), QStringLiteral("日本語を書く"), 3);
        QImage shown = w_->grab().toImage();
        const int row = e.LineHeight();
        const QRect first(caret, QSize(3 * 2 * e.CharWidth(), e.FontHeight()));
        QVERIFY(CountIn(shown, first, kClauseBlue) > first.width() * first.height() / 3);
        QCOMPARE(CountIn(shown, first.translated(first.width() + 2, 0), kClauseBlue), 0);
        // The candidates go to the cursor, after the converting clause.
        const QRect cursor = w_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(std::abs(cursor.left() - first.right()) <= 2);

        // At the right edge the composition goes on at the start of the next row.
        e.SetAllText(std::string(e.ColumnsPerPage() - 3, 'x'));
        e.MoveCaretTo(e.ColumnsPerPage() - 3, 0, 0);
        Clauses(w_.get(), QStringLiteral("あいうえおかき"), 7);
        shown = w_->grab().toImage();
        QScrollBar* bar = w_->ScrollBar(ScrollBarKind::Vertical);
        const QRect under(bar->x(), 0, bar->width(), 3 * row);
        QCOMPARE(CountIn(shown, under, kClauseBlue), 0);
        const QRect nextRow(e.TextLeft(), e.TopMargin() + row, 4 * e.CharWidth(), e.FontHeight());
        QVERIFY(CountIn(shown, nextRow, kClauseBlue) > nextRow.width() * nextRow.height() / 3);

        QLineEdit other(w_.get());
        other.setGeometry(0, 0, 10, 10);
        other.show();
        other.setFocus();
        QVERIFY(w_->Preedit().isEmpty());
        QVERIFY(!e.IMEComposing());
        shown = w_->grab().toImage();
        QCOMPARE(CountIn(shown, nextRow, kClauseBlue), 0);
    }

    void inputMethodQueriesFollowTheCaret() {
        TLumEdit& e = w_->Edit();
        e.SetAllText(
            "ab\x93\xfa\x96\x7b"
            "cd\r\nxyz");
        e.MoveCaretTo(6, 0, 0);
        QCOMPARE(w_->inputMethodQuery(Qt::ImSurroundingText).toString(),
                 QStringLiteral("ab日本cd"));
        QCOMPARE(w_->inputMethodQuery(Qt::ImCursorPosition).toInt(), 4);
        QCOMPARE(w_->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 4);
        const QRect r = w_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QCOMPARE(r.topLeft(), w_->CaretRect().topLeft());
        QCOMPARE(r.left(), e.TextLeft() + e.CaretX());
        QCOMPARE(r.top(), e.TopMargin());
        QTest::keyClick(w_.get(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(w_->inputMethodQuery(Qt::ImCurrentSelection).toString(), QStringLiteral("本"));
        QCOMPARE(w_->inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
        QCOMPARE(w_->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 4);
        QVERIFY(w_->inputMethodQuery(Qt::ImFont).value<QFont>().pixelSize() > 0 ||
                w_->inputMethodQuery(Qt::ImFont).value<QFont>().pointSizeF() > 0);
    }

    void wheelAndScrollBarsScrollTheView() {
        TLumEdit& e = w_->Edit();
        e.SetAllText(Lines(200));
        QWheelEvent down(QPointF(50, 50), w_->mapToGlobal(QPointF(50, 50)), QPoint(),
                         QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w_.get(), &down);
        QCOMPARE(e.TopLine(), 4);
        QScrollBar* bar = w_->ScrollBar(ScrollBarKind::Vertical);
        QCOMPARE(bar->value(), 4);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(e.TopLine(), 4 + e.LinesPerPage());
        QCOMPARE(bar->value(), e.TopLine());
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(e.TopLine(), e.MaxTopLine());
        QCOMPARE(bar->value(), e.MaxTopLine());
        bar->setSliderPosition(10);  // a drag of the thumb
        QCOMPARE(e.TopLine(), 10);
        QTest::keyClick(w_.get(), Qt::Key_PageDown);
        QCOMPARE(e.TopLine(), 10 + e.LinesPerPage());
        QCOMPARE(bar->value(), e.TopLine());

        e.SetWordWrap(false);
        e.SetHorzScrollBar(true);
        e.SetAllText(std::string(500, 'w'));
        QApplication::processEvents();
        QScrollBar* hbar = w_->ScrollBar(ScrollBarKind::Horizontal);
        QVERIFY(hbar->isVisible());
        QVERIFY(hbar->isEnabled());
        hbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(e.HorzOffset(), e.HorzStep());
    }

    void scrollBarsShowTheViewAndTakeTheEditorsWheel() {
        TLumEdit& e = w_->Edit();
        e.SetAllText(Lines(200));
        QScrollBar* bar = w_->ScrollBar(ScrollBarKind::Vertical);
        QCOMPARE(bar->pageStep(), e.LinesPerPage());
        // Over the bar as over the text: WheelStep lines per notch.
        e.WheelStep = 5;
        const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
        QWheelEvent notch(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &notch);
        QCOMPARE(e.TopLine(), 5);
        QCOMPARE(bar->value(), 5);

        // Nothing to scroll: the bar is disabled and shows no thumb anywhere.
        e.SetAllText("short");
        QVERIFY(!bar->isEnabled());
        auto looks = [bar](int value) {
            const QSignalBlocker block(bar);
            bar->setRange(0, 100);
            bar->setValue(value);
            return bar->grab().toImage();
        };
        QCOMPARE(looks(0), looks(100));
    }

    void focusCreatesTheCaretAndResizingToNothingIsHarmless() {
        TLumEdit& e = w_->Edit();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QVERIFY(w_->hasFocus());
        QVERIFY(w_->CaretVisible());
        e.SetAllText(std::string(1 << 20, 'q') + "\r\n" + Lines(50));
        w_->resize(0, 0);
        QTest::keyClick(w_.get(), Qt::Key_PageDown);
        QTest::keyClick(w_.get(), Qt::Key_End);
        QTest::keyClicks(w_.get(), QStringLiteral("k"));
        w_->resize(300, 200);
        QTest::keyClick(w_.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(e.CaretLine(), 0);
        QCOMPARE(e.GetAllText().size(), (1u << 20) + 2 + Lines(50).size() + 1);
        w_->clearFocus();
        QVERIFY(!w_->CaretVisible());
    }

private:
    std::unique_ptr<LumEditWidget> w_;
    QStringList messages_;
};

QTEST_MAIN(LumEditWidgetInputTest)
#include "LumEditWidgetInputTest.moc"
