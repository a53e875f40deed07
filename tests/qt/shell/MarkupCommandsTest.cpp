// The markup and text commands from the main window: each family run through its
// action with its dialog answered as a user would, checked on the page's bytes and
// on the one undo step that must bring them back.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>

#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/ShellTestSupport.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

using namespace zentabo;
using zentabo::testing::Answer;
using zentabo::testing::Child;
using zentabo::testing::Quiet;
using zentabo::testing::Sjis;

namespace {

void AnswerClass(const QString& cls, QString* caption = nullptr) {
    Answer([cls, caption](QWidget* d) {
        if (caption) *caption = d->windowTitle();
        Child<QComboBox>(d, "ComboBox1")->setEditText(cls);
    });
}

}  // namespace

class MarkupCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QStringList messages_;
    std::unique_ptr<TMainForm> form_;

    TLumEdit& Edit() { return form_->ActiveSheet()->Edit(); }
    std::string Text() { return Edit().GetAllText(); }
    void Run(const char* action) { form_->Action(QString::fromLatin1(action))->trigger(); }

    // The command's text, then one undo gives back `before` and the focus is the editor's.
    void ExpectOneUndo(const std::string& before) {
        QCOMPARE(form_->focusWidget(), form_->ActiveSheet()->EditWidget());
        Edit().Undo();
        QCOMPARE(Text(), before);
    }

private slots:
    void init() {
        messages_.clear();
        QDir d(dir_.path());
        for (const QString& f : d.entryList(QDir::Files)) d.remove(f);
        form_ = std::make_unique<TMainForm>(dir_.path(), Quiet(&messages_));
        form_->show();
    }
    void cleanup() {
        if (form_) form_->close();
        form_.reset();
    }

    void markupActionsAreInTheirPlaces() {
        QCOMPARE(form_->Action("EditCovertBreak1")->shortcut(), QKeySequence("Ctrl+Alt+P"));
        QCOMPARE(form_->Action("EditDateTimePaste1")->shortcut(), QKeySequence("Shift+F5"));
        QCOMPARE(form_->Action("TagH4")->data().toInt(), 4);
        QCOMPARE(form_->Action("EditDecodeHtml1")->statusTip(),
                 QStringLiteral("実態参照文字列を[&][<][>][\"]に変換"));
        int buttons = 0;
        for (QAction* a : form_->ToolBar(2)->actions()) {
            if (a->isSeparator()) continue;
            ++buttons;
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
        }
        QCOMPARE(buttons, 22);
        QVERIFY(form_->ToolBar(2)->isVisible());
    }

    void wrapTagsTakeTheClassAndKeepTheHistory() {
        const std::string before = Sjis(QStringLiteral("あいう"));
        Edit().SetAllText(before);
        Edit().SetSel(2, 0, 0, 4);  // い
        QString caption;
        AnswerClass(QStringLiteral("note"), &caption);
        Run("TagP1");
        QCOMPARE(caption, QStringLiteral("<p>タグの貼り付け"));
        QCOMPARE(Text(), Sjis(QStringLiteral("あ<p class=\"note\">い</p>う")));
        QCOMPARE(form_->Settings().ClassDialogText, std::string("note"));
        QCOMPARE(form_->Settings().ClassDialogList, std::string("note"));
        ExpectOneUndo(before);

        // The history entry comes back in the next prompt; headings take their number.
        Edit().SetAllText("");
        Answer([](QWidget* d) {
            QCOMPARE(Child<QComboBox>(d, "ComboBox1")->currentText(), QStringLiteral("note"));
            Child<QComboBox>(d, "ComboBox1")->setEditText(QStringLiteral("x"));
        });
        Run("TagH3");
        QCOMPARE(Text(), std::string("<h3 class=\"x\"></h3>"));
        QCOMPARE(form_->Settings().ClassDialogList, std::string("x,note"));

        // Cancel changes neither the text nor the history.
        const std::string now = Text();
        Answer([](QWidget* d) { Child<QComboBox>(d, "ComboBox1")->setEditText("y"); }, "CancelBtn");
        Run("TagEm1");
        QCOMPARE(Text(), now);
        QCOMPARE(form_->Settings().ClassDialogText, std::string("x"));

        // The line break replaces the selection.
        Edit().SetAllText("abc");
        Edit().SelectAll();
        AnswerClass(QString());
        Run("TagBr1");
        QCOMPARE(Text(), std::string("<br />"));
        ExpectOneUndo("abc");

        // The class attribute: an empty value inserts nothing but is stored as the last.
        Edit().SetSel(1, 0, 0, 1);
        AnswerClass(QStringLiteral("c"));
        Run("TagClass1");
        QCOMPARE(Text(), std::string("a class=\"c\"bc"));
        AnswerClass(QString());
        Run("TagClass1");
        QCOMPARE(Text(), std::string("a class=\"c\"bc"));
        QVERIFY(form_->Settings().ClassDialogText.empty());

        // The history reaches the settings file.
        const QString ini = form_->Paths().SettingsPath;
        QVERIFY(form_->close());
        form_.reset();
        QFile file(ini);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY2(written.contains("[ClassDialog]\r\nText=\r\nList=c,x,note"), written.constData());
    }

    void attributeDialogsBuildTheirTags() {
        Edit().SetAllText("new");
        Edit().SelectAll();
        QString datetime;
        Answer([&datetime](QWidget* d) {
            datetime = Child<QLineEdit>(d, "DatetimeEdit")->text();
            Child<QLineEdit>(d, "CiteEdit")->setText(QStringLiteral("a.html"));
            Child<QLineEdit>(d, "DatetimeEdit")->setText(QStringLiteral("2004-01-01"));
            Child<QComboBox>(d, "ClassCombo")->setEditText(QString());
        });
        Run("TagIns1");
        QVERIFY2(
            QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\+9:00$"))
                .match(datetime)
                .hasMatch(),
            qPrintable(datetime));
        QCOMPARE(Text(), std::string("<ins cite=\"a.html\" datetime=\"2004-01-01\">new</ins>"));
        ExpectOneUndo("new");

        Edit().SelectAll();
        Answer([](QWidget* d) {
            Child<QLineEdit>(d, "HrefEdit")->clear();
            Child<QComboBox>(d, "TargerComboBox")->setCurrentIndex(1);
        });
        Run("TagA1");
        QCOMPARE(Text(), std::string("<a target=\"_blank\">new</a>"));
        ExpectOneUndo("new");

        Edit().SetSel(3, 0, 0, 3);
        Answer([](QWidget* d) {
            Child<QTabWidget>(d, "PageControl1")->setCurrentIndex(1);
            QTest::mouseClick(Child<QPushButton>(d, "FontSizeButton"), Qt::LeftButton);
        });
        Run("TagStyle1");
        QCOMPARE(Text(), std::string("new style=\"font-size: medium; \""));
        ExpectOneUndo("new");
    }

    void listsAndTablesTakeTheWholeTextWhenNothingIsSelected() {
        const std::string before = "a,b\r\nc";
        Edit().SetAllText(before);
        QString caption;
        AnswerClass(QString(), &caption);
        Run("TagTableComma1");
        QCOMPARE(caption, QStringLiteral("テーブルタグの貼り付け"));
        QCOMPARE(Text(), std::string("<table border=\"1\">\r\n<tr><td>a</td><td>b</td></tr>\r\n"
                                     "<tr><td>c</td></tr>\r\n</table>\r\n"));
        ExpectOneUndo(before);

        // Cancel at the prompt stores nothing and changes nothing.
        Answer([](QWidget*) {}, "CancelBtn");
        Run("TagUl1");
        QCOMPARE(Text(), before);

        // The history is stored before the list is built.
        Edit().SetSel(0, 1, 1, 1);  // "c"
        AnswerClass(QStringLiteral("menu"));
        Run("TagUl1");
        QCOMPARE(Text(), std::string("a,b\r\n<ul class=\"menu\">\r\n<li>c</li>\r\n</ul>\r\n"));
        QCOMPARE(form_->Settings().ClassDialogText, std::string("menu"));
        ExpectOneUndo(before);
    }

    void transformsRewriteTheWholeTextInOneStep() {
        const std::string before = Sjis(QStringLiteral("　a&b<\"日本\">\r\n\r\nx@y.jp"));
        Edit().SetAllText(before);
        Run("EditEncodeHtml1");
        QCOMPARE(Text(), Sjis(QStringLiteral("　a&amp;b&lt;&quot;日本&quot;&gt;\r\n\r\nx@y.jp")));
        Run("EditDecodeHtml1");
        QCOMPARE(Text(), before);
        Edit().Undo();
        ExpectOneUndo(before);

        Run("EditCovertBreak1");
        QCOMPARE(Text(), Sjis(QStringLiteral("<p>　a&b<\"日本\"></p>\r\n\r\n<p>x@y.jp</p>\r\n")));
        ExpectOneUndo(before);

        // Lines wrapped at the column: the selection starts and ends inside wrapped rows.
        std::string wrapped;
        for (int i = 0; i < 3; ++i)
            wrapped += std::string(60, 'x') + Sjis(QStringLiteral("<日本語>")) +
                       std::string(60, 'y') + "\r\n";
        Edit().SetAllText(wrapped);
        QVERIFY(Edit().Lines().Count() > 4);
        Edit().SetSel(10, 1, 3, 5);
        QVERIFY(Edit().GetSelText().find('<') != std::string::npos);
        Run("EditEncodeHtml1");
        QVERIFY(Text().find("&lt;") != std::string::npos);
        ExpectOneUndo(wrapped);

        // Larger than the editor's undo budget holds twice: the replaced text must still
        // come back, not only the new text go away.
        std::string large;
        while (large.size() < 700000) large += "<b>line</b>\r\n";
        Edit().SetAllText(large);
        Run("EditEncodeHtml1");
        QVERIFY(Text().size() > large.size());
        ExpectOneUndo(large);

        // Only the selection, and the full-width space is not a blank.
        Edit().SetAllText(Sjis(QStringLiteral("\t　x　 \r\n  y  ")));
        Edit().SetSel(0, 0, 0, 7);
        Run("EditTrim");
        QCOMPARE(Text(), Sjis(QStringLiteral("　x　\r\n\r\n  y  ")));

        // An empty page stays empty and has nothing to undo.
        Edit().SetAllText("");
        Run("EditEncodeMail1");
        QCOMPARE(Text(), std::string());
        QVERIFY(Edit().UndoList().empty());
    }

    void quoteAndDatePasteInsertAtTheCaret() {
        QGuiApplication::clipboard()->setText(QStringLiteral("a\n\n"));
        form_->UpdateActions();
        QVERIFY(form_->Action("EditQuotePaste1")->isEnabled());
        Edit().SetAllText("[]");
        Edit().SetSel(1, 0, 0, 1);
        form_->Settings().QuoteMark = Sjis(QStringLiteral("＞"));
        Run("EditQuotePaste1");
        QCOMPARE(Text(), Sjis(QStringLiteral("[＞a\r\n＞\r\n]")));
        ExpectOneUndo("[]");

        QGuiApplication::clipboard()->setText(QStringLiteral("b한"));
        Edit().SetSel(1, 0, 0, 1);
        Run("EditQuotePaste1");
        QCOMPARE(Text(), Sjis(QStringLiteral("[＞b\r\n]")));
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].contains(QStringLiteral("한")));

        QGuiApplication::clipboard()->clear();
        form_->UpdateActions();
        QVERIFY(!form_->Action("EditQuotePaste1")->isEnabled());

        Edit().SetAllText("ab");
        Edit().SetSel(1, 0, 0, 1);
        form_->Settings().DateFormat = "'yyyy'(yyyy)";
        Run("EditDatePaste1");
        QVERIFY2(QRegularExpression(QStringLiteral("^ayyyy\\(\\d{4}\\)b$"))
                     .match(QString::fromStdString(Text()))
                     .hasMatch(),
                 Text().c_str());
        ExpectOneUndo("ab");

        // The shortcuts reach the commands from the editor.
        Edit().SetAllText("");
        form_->Settings().DateTimeFormat = "'dt'";
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        form_->ActiveSheet()->EditWidget()->setFocus();
        QTest::keyClick(form_->ActiveSheet()->EditWidget(), Qt::Key_F5, Qt::ShiftModifier);
        QCOMPARE(Text(), std::string("dt"));
        QTest::keyClick(form_->ActiveSheet()->EditWidget(), Qt::Key_P,
                        Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(Text(), std::string("<p>dt</p>\r\n"));
    }

    void refusedValueLeavesThePageAlone() {
        Edit().SetAllText("t");
        Edit().SelectAll();
        QString refusal;
        Answer([&refusal](QWidget* d) {
            Child<QComboBox>(d, "ComboBox1")->setEditText(QStringLiteral("a\"b"));
            QTimer::singleShot(0, [&refusal, d] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) qFatal("no refusal shown");
                refusal = box->text();
                box->accept();
                QTimer::singleShot(0, [d] {
                    QTest::mouseClick(Child<QPushButton>(d, "CancelBtn"), Qt::LeftButton);
                });
            });
        });
        Run("TagSpan1");
        QVERIFY(!refusal.isEmpty());
        QCOMPARE(Text(), std::string("t"));
    }
};

QTEST_MAIN(MarkupCommandsTest)
#include "MarkupCommandsTest.moc"
