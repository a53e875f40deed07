// The find dialog driving the real main window and its active page: find, find again,
// backwards, replace with confirmation, replace all, the messages, and the dialog's
// settings at start and close.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <deque>
#include <memory>

#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/dialogs/FindDlg.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/MainForm.h"

using namespace zentabo;

namespace {

struct Answers {
    QStringList messages;
    std::deque<SheetPrompts::ReplaceAnswer> replies;
    int asked = 0;
};

ShellDialogs Scripted(Answers* a) {
    ShellDialogs d = StandardDialogs();
    d.message = [a](QWidget*, const QString& text) { a->messages << text; };
    d.askReplace = [a](QWidget*) {
        ++a->asked;
        if (a->replies.empty()) return SheetPrompts::ReplaceAnswer::Other;
        SheetPrompts::ReplaceAnswer r = a->replies.front();
        a->replies.pop_front();
        return r;
    };
    return d;
}

}  // namespace

class FindWiringTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Answers answers_;
    std::unique_ptr<TMainForm> form_;
    TFindDialog* dialog_ = nullptr;

    TLumEdit& Edit() { return form_->ActiveSheet()->Edit(); }
    void Click(const char* name) {
        auto* b = dialog_->findChild<QAbstractButton*>(QString::fromLatin1(name));
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void Open(const char* action, const std::string& find, const std::string& replace = {}) {
        form_->Action(QString::fromLatin1(action))->trigger();
        QVERIFY(dialog_->isVisible());
        dialog_->SetFindText(find);
        dialog_->SetReplaceText(replace);
    }
    QString Caret() {
        return QStringLiteral("%1,%2 len %3")
            .arg(Edit().CaretLine())
            .arg(Edit().CaretCol())
            .arg(Edit().HitLength());
    }

private slots:
    void init() {
        answers_ = Answers{};
        QDir d(dir_.path());
        for (const QString& f : d.entryList(QDir::Files)) d.remove(f);
        form_ = std::make_unique<TMainForm>(dir_.path(), Scripted(&answers_));
        dialog_ = new TFindDialog(form_.get());
        form_->SetFindDialog(dialog_);
        form_->show();
    }
    void cleanup() {
        if (form_->isVisible()) form_->close();
        form_.reset();
    }

    void commandsHaveTheirPlaces() {
        QAction* find = form_->Action(QStringLiteral("SearchFind1"));
        QAction* replace = form_->Action(QStringLiteral("SearchReplace1"));
        QVERIFY(find && replace);
        QCOMPARE(find->text(), QStringLiteral("検索(&S)..."));
        QCOMPARE(find->toolTip(), QStringLiteral("検索"));
        QCOMPARE(find->statusTip(), QStringLiteral("検索ダイアログを開く"));
        QCOMPARE(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QCOMPARE(replace->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
        QCOMPARE(replace->statusTip(), QStringLiteral("置換ダイアログを開く"));
        QVERIFY(!find->icon().isNull() && !replace->icon().isNull());
        const QList<QAction*> bar = form_->ToolBar(1)->actions();
        QCOMPARE(bar.size() >= 2 ? bar.mid(bar.size() - 2) : bar, (QList<QAction*>{find, replace}));
        replace->trigger();
        QCOMPARE(dialog_->DialogMode(), dmReplace);
        find->trigger();
        QCOMPARE(dialog_->DialogMode(), dmFind);
    }

    void findAgainBackwardsAndTheMissMessage() {
        Edit().SetAllText("ab ab\r\nab");
        Open("SearchFind1", "ab");
        Click("FindBtn");
        QCOMPARE(Caret(), QStringLiteral("0,0 len 2"));
        QCOMPARE(form_->ActiveSheet()->FindText(), std::string("ab"));
        Click("FindBtn");
        QCOMPARE(Caret(), QStringLiteral("0,3 len 2"));
        Click("UpDownRadio0");  // 上へ
        Click("FindBtn");
        QCOMPARE(Caret(), QStringLiteral("0,0 len 2"));
        QVERIFY(answers_.messages.isEmpty());
        Click("FindBtn");
        QCOMPARE(answers_.messages, QStringList{QStringLiteral("「ab」は見つかりませんでした。")});
        // A new text starts again at the top, whatever the direction.
        dialog_->SetFindText("b");
        Click("FindBtn");
        QCOMPARE(Caret(), QStringLiteral("0,1 len 1"));
    }

    void matchCaseIsReadAtEachComparison() {
        Edit().SetAllText("a A");
        Open("SearchFind1", "A");
        Click("FindBtn");
        QCOMPARE(Caret(), QStringLiteral("0,0 len 1"));
        Click("WholeWordCheck");  // the match-case box
        Click("FindBtn");
        QCOMPARE(Caret(), QStringLiteral("0,2 len 1"));
    }

    void replaceAskingEachTime() {
        using A = SheetPrompts::ReplaceAnswer;
        Edit().SetAllText("a.a.a.a");
        answers_.replies = {A::Yes, A::No, A::Yes, A::Abort};
        Open("SearchReplace1", "a", "XY");
        Click("ReplaceBtn");
        QCOMPARE(Edit().GetAllText(), std::string("XY.a.XY.a"));
        QCOMPARE(answers_.asked, 4);
        QCOMPARE(answers_.messages, QStringList{QStringLiteral("2 個置換しました。")});
        // The run left a highlight nowhere and can be undone step by step.
        QCOMPARE(Edit().HitLength(), 0);
        Edit().Undo();
        QCOMPARE(Edit().GetAllText(), std::string("XY.a.a.a"));
    }

    void replaceAllNeverAsks() {
        Edit().SetAllText("a.a\r\na.a");
        Open("SearchReplace1", "a", "bb");
        Click("AllReplaceBtn");
        QCOMPARE(Edit().GetAllText(), std::string("bb.bb\r\nbb.bb"));
        QCOMPARE(answers_.asked, 0);
        QCOMPARE(answers_.messages, QStringList{QStringLiteral("4 個置換しました。")});
        // The page now searches for the replaced text's pattern.
        QCOMPARE(form_->ActiveSheet()->FindText(), std::string("a"));
    }

    // Cancelled while it looks for the hits, a replace-all leaves the page, its undo
    // steps and its modified flag as they were and reports nothing; let through, it
    // replaces every hit and the progress is gone before the count is shown. Cancelled
    // at its last step, when it has replaced nearly every hit, it takes them back.
    void cancellingAReplaceAllChangesNothing() {
        std::string text;
        for (int i = 0; i < 40000; ++i) text += "a zq b\r\n";
        Edit().SetAllText(text);
        Edit().TypeText("x");
        const std::string before = Edit().GetAllText();
        const size_t undo = Edit().UndoList().size();
        QStringList steps;
        bool letThrough = false;
        BusyProgress::SetStepAnswerForTests([&](const QString& label, double) {
            steps << label;
            return letThrough;
        });
        Open("SearchReplace1", "zq", "ZQ");
        Click("AllReplaceBtn");
        QCOMPARE(steps, QStringList{QStringLiteral("置換しています...")});
        QVERIFY(Edit().GetAllText() == before);
        QCOMPARE(Edit().UndoList().size(), undo);
        QVERIFY(Edit().Modified());
        QVERIFY(answers_.messages.isEmpty());

        letThrough = true;
        steps.clear();
        Click("AllReplaceBtn");
        BusyProgress::SetStepAnswerForTests({});
        QVERIFY(steps.size() > 1);
        QCOMPARE(Edit().UndoList().size(), undo + 2 * 40000);
        QCOMPARE(answers_.messages, QStringList{QStringLiteral("40000 個置換しました。")});
        QVERIFY(!Edit().OnReplaceProgress && !Edit().OnReplaceCommit);
        QVERIFY(QApplication::overrideCursor() == nullptr);

        const std::string replaced = Edit().GetAllText();
        const int lastStep = static_cast<int>(steps.size()) - 1;
        int answered = 0;
        BusyProgress::SetStepAnswerForTests(
            [&](const QString&, double) { return answered++ < lastStep; });
        Open("SearchReplace1", "ZQ", "zq");
        Click("AllReplaceBtn");
        BusyProgress::SetStepAnswerForTests({});
        QCOMPARE(answered, lastStep + 1);
        QVERIFY(Edit().GetAllText() == replaced);
        QCOMPARE(Edit().UndoList().size(), undo + 2 * 40000);
        QCOMPARE(answers_.messages.size(), 1);
    }

    void replaceAfterAFindStaysInTheSelection() {
        using A = SheetPrompts::ReplaceAnswer;
        Edit().SetAllText("a a a a");
        Open("SearchReplace1", "a", "b");
        Click("FindBtn");
        Edit().SetSel(0, 0, 0, 3);  // "a a"
        answers_.replies = {A::All};
        Click("ReplaceBtn");
        QCOMPARE(Edit().GetAllText(), std::string("b b a a"));
        QCOMPARE(answers_.asked, 1);
    }

    void replaceQuestionEscAndCloseAnswerNo() {
        // The real question box: Esc, and closing it, must skip the hit like No.
        using A = SheetPrompts::ReplaceAnswer;
        const ShellDialogs real = StandardDialogs();
        for (bool close : {false, true}) {
            QTimer::singleShot(0, [close] {
                QWidget* box = QApplication::activeModalWidget();
                QVERIFY(box);
                if (close)
                    box->close();
                else
                    QTest::keyClick(box, Qt::Key_Escape);
            });
            QCOMPARE(real.askReplace(form_.get()), A::No);
        }
    }

    void dialogSettingsAtStartAndClose() {
        QVERIFY(!form_->Settings().FindDialogAlphaBlend);
        auto* alpha = dialog_->findChild<QCheckBox*>(QStringLiteral("AlphaCheck"));
        QVERIFY(alpha);
        alpha->setChecked(true);
        QVERIFY(form_->close());
        QVERIFY(form_->Settings().FindDialogAlphaBlend);
        form_.reset();
        // The next start hands the stored value back to the dialog.
        form_ = std::make_unique<TMainForm>(dir_.path(), Scripted(&answers_));
        dialog_ = new TFindDialog(form_.get());
        form_->SetFindDialog(dialog_);
        form_->show();
        QVERIFY(dialog_->findChild<QCheckBox*>(QStringLiteral("AlphaCheck"))->isChecked());
    }
};

QTEST_MAIN(FindWiringTest)
#include "FindWiringTest.moc"
