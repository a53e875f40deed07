// The editor widget driven by scripted input-method events, in the order a Linux
// input method sends them: reconversion of a selection, ReadOnly, a click and a key
// during a composition, and a very long commit.

#include <QInputMethodEvent>
#include <QTest>
#include <QTextCharFormat>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"
#include "qt/widget/WidgetTestSupport.h"

using namespace zentabo;

namespace {

const std::string kNihongo = "\x93\xfa\x96\x7b\x8c\xea";  // 日本語

void Send(QWidget* w, const QString& preedit, const QString& commit = {}, int start = 0,
          int length = 0) {
    QList<QInputMethodEvent::Attribute> attributes;
    // A preedit comes with its cursor, as input methods send it; a deletion alone
    // carries nothing.
    if (!preedit.isEmpty() || (commit.isEmpty() && length == 0))
        attributes.append({QInputMethodEvent::Cursor, 0, 1, QVariant()});
    QInputMethodEvent e(preedit, attributes);
    e.setCommitString(commit, start, length);
    QApplication::sendEvent(w, &e);
}

void DeleteSurrounding(QWidget* w, int start, int length) {
    QInputMethodEvent e;
    e.setCommitString({}, start, length);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class LumEditWidgetImeTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        w_ = testing::FocusedEditor(&messages_);
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
        w_->Edit().SetWordWrap(false);
    }

    void cleanup() { w_.reset(); }

    // Read the selection, delete it, compose its reading, commit the candidate: the
    // selection stays until the candidate takes its place in one undo step.
    void reconversionReplacesTheSelection() {
        TLumEdit& e = w_->Edit();
        int requests = 0, starts = 0, ends = 0;
        e.OnIMEReConvert = [&](TLumEdit&) { ++requests; };
        e.OnIMEChanging = [&](TLumEdit&) { ++starts; };
        e.OnIMEChanged = [&](TLumEdit&) { ++ends; };
        e.IMEReconvMode = imrManual;
        e.SetAllText("x\r\nab" + kNihongo + "cd");
        e.SetSel(2, 1, 1, 8);
        QCOMPARE(w_->inputMethodQuery(Qt::ImSurroundingText).toString(),
                 QStringLiteral("ab日本語cd"));
        QCOMPARE(w_->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 2);
        QCOMPARE(w_->inputMethodQuery(Qt::ImCursorPosition).toInt(), 5);
        QCOMPARE(w_->inputMethodQuery(Qt::ImCurrentSelection).toString(), QStringLiteral("日本語"));
        DeleteSurrounding(w_.get(), 0, 0);
        QCOMPARE(requests, 1);
        QCOMPARE(e.CaretCol(), 2);
        Send(w_.get(), QStringLiteral("日本語"));
        Send(w_.get(), QStringLiteral("ニホンゴ"));
        QCOMPARE(e.GetSelText(), kNihongo);  // shown over the text, never stored
        QCOMPARE(w_->inputMethodQuery(Qt::ImCurrentSelection).toString(), QString());
        Send(w_.get(), {}, QStringLiteral("ニホンゴ"));
        QCOMPARE(e.GetAllText(), std::string("x\r\nab\x83\x6a\x83\x7a\x83\x93\x83\x53"
                                             "cd"));
        QCOMPARE(starts, 1);
        QCOMPARE(ends, 1);
        QVERIFY(!e.IMEComposing());
        e.Undo();
        QCOMPARE(e.GetAllText(), "x\r\nab" + kNihongo + "cd");
        QCOMPARE(requests, 1);
    }

    // ReadOnly: nothing goes in, yet the composition closes; a commit covering a
    // character code page 932 lacks keeps the rest and tells the user.
    void readOnlyAndUnmappableCommits() {
        TLumEdit& e = w_->Edit();
        int ends = 0;
        e.OnIMEChanged = [&](TLumEdit&) { ++ends; };
        e.SetAllText("ab");
        e.ReadOnly = true;
        Send(w_.get(), QStringLiteral("にほんご"));
        Send(w_.get(), {}, QStringLiteral("日本語"));
        QCOMPARE(e.GetAllText(), std::string("ab"));
        QVERIFY(!e.IMEComposing());
        QVERIFY(w_->Preedit().isEmpty());
        QCOMPARE(ends, 1);
        e.ReadOnly = false;
        e.MoveCaretTo(2, 0, 0);
        // The range is taken together with the commit, never the range alone.
        Send(w_.get(), {}, QStringLiteral("日\U0001F600"), -1, 1);
        QCOMPARE(e.GetAllText(), std::string("a\x93\xfa"));
        Send(w_.get(), {}, QStringLiteral("\U0001F600"), -1, 1);
        QCOMPARE(e.GetAllText(), std::string("a\x93\xfa"));
        QCOMPARE(messages_.size(), 2);
        QVERIFY(!messages_[0].contains(QLatin1Char('?')));
        // A candidate of a multi-line selection keeps its line break.
        Send(w_.get(), {}, QStringLiteral("\u65e5\n\u672c\x01"));
        QCOMPARE(e.GetAllText(), std::string("a\x93\xfa\x93\xfa\r\n\x96\x7b"));
    }

    // A click completes the composition at the old caret before the caret moves, also
    // when no input method answers; so does a key typed with no input method left.
    void clickAndKeyEndTheComposition() {
        TLumEdit& e = w_->Edit();
        e.SetAllText("abc\r\ndef");
        e.MoveCaretTo(1, 0, 0);
        Send(w_.get(), QStringLiteral("日本"));
        const QPoint end(e.TextLeft() + 3 * e.CharWidth() + 1,
                         e.TopMargin() + e.LineHeight() + e.LineHeight() / 2);
        QTest::mouseClick(w_.get(), Qt::LeftButton, {}, end);
        QCOMPARE(e.GetAllText(), std::string("a\x93\xfa\x96\x7b"
                                             "bc\r\ndef"));
        QCOMPARE(e.CaretLine(), 1);
        QCOMPARE(e.CaretCol(), 3);
        QVERIFY(!e.IMEComposing());
        QVERIFY(w_->Preedit().isEmpty());

        Send(w_.get(), QStringLiteral("にほ"));
        QTest::keyClicks(w_.get(), QStringLiteral("x"));
        QVERIFY(!e.IMEComposing());
        QVERIFY(w_->Preedit().isEmpty());
        QCOMPARE(e.GetAllText(), std::string("a\x93\xfa\x96\x7b"
                                             "bc\r\ndef\x82\xc9\x82\xd9x"));
        QVERIFY(w_->CaretVisible());
    }

    void longCommitGoesInOnce() {
        TLumEdit& e = w_->Edit();
        e.SetWordWrap(true);
        QString text;
        for (int i = 0; i < 2500; ++i) text += QStringLiteral("日本語a");
        Send(w_.get(), QStringLiteral("にほんご"));
        Send(w_.get(), {}, text);
        std::string expected;
        for (int i = 0; i < 2500; ++i) expected += kNihongo + "a";
        QCOMPARE(e.GetAllText(), expected);
        QVERIFY(!e.IMEComposing());
        e.Undo();
        QCOMPARE(e.GetAllText(), std::string());
    }

private:
    std::unique_ptr<LumEditWidget> w_;
    QStringList messages_;
};

QTEST_MAIN(LumEditWidgetImeTest)
#include "LumEditWidgetImeTest.moc"
