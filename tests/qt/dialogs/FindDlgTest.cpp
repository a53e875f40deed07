#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QtTest>

#include "app/FindBridge.h"
#include "app/Settings.h"
#include "qt/dialogs/FindDlg.h"

namespace zentabo {

// The replace calls the bridge makes for the dialog, as "fromTop confirm wholeText".
class ReplaceLog : public EditorSearch {
public:
    QStringList calls;
    void SetFindText(const std::string&) override { calls << "SetFindText"; }
    void FindFirst() override { calls << "FindFirst"; }
    void FindNext() override { calls << "FindNext"; }
    void FindPrev() override { calls << "FindPrev"; }
    void FindReplace(const std::string& f, const std::string& r, bool fromTop, bool confirm,
                     bool wholeText) override {
        calls << QString::fromStdString(f + ">" + r) + QStringLiteral(" %1%2%3")
                                                           .arg(int(fromTop))
                                                           .arg(int(confirm))
                                                           .arg(int(wholeText));
    }
};

class FindDlgTest : public QObject {
    Q_OBJECT

    template <typename T>
    static T* Child(TFindDialog& d, const char* name) {
        T* w = d.findChild<T*>(QString::fromLatin1(name));
        if (!w) qFatal("no child %s", name);
        return w;
    }
    static void ClickTab(TFindDialog& d, int index) {
        QTabBar* tabs = Child<QTabBar>(d, "TabControl1");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
    static void Click(TFindDialog& d, const char* name) {
        QTest::mouseClick(Child<QAbstractButton>(d, name), Qt::LeftButton);
    }
    static bool Enabled(TFindDialog& d, const char* name) {
        return Child<QWidget>(d, name)->isEnabled();
    }
    // Typed text as the keyboard would deliver it, one character per key press.
    static void Type(QWidget* w, const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
        }
    }
    static int Opacity255(const TFindDialog& d) { return qRound(d.windowOpacity() * 255); }

private slots:
    void startsAsTheFormDescribes() {
        TFindDialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("検索と置換"));
        QVERIFY(!d.isModal());
        QCOMPARE(d.size(), QSize(481, 193));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(d.Options(), TFindOptions{frDown});
        QCOMPARE(d.DialogMode(), dmFind);

        QTabBar* tabs = Child<QTabBar>(d, "TabControl1");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("検索"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("置換"));
        QCOMPARE(tabs->currentIndex(), 0);

        const struct {
            const char* name;
            const char* caption;
            bool enabled;
        } controls[] = {
            {"FindLabel", "検索する文字列(&N)", true},
            {"ReplaceLabel", "置換後の文字列(&P)", false},
            {"WholeWordCheck", "大文字と小文字を区別する(&C)", true},
            {"UpDownRadio0", "上へ(&U)", true},
            {"UpDownRadio1", "下へ(&D)", true},
            {"FindBtn", "次を検索(&F)", true},
            {"ReplaceBtn", "置換開始(&R)", false},
            {"AllReplaceBtn", "すべて置換(&A)", false},
            {"CancelBtn", "キャンセル", true},
            {"AlphaCheck", "ダイアログの透明化(&A)", true},
        };
        for (const auto& c : controls) {
            QWidget* w = Child<QWidget>(d, c.name);
            const QString text = w->property("text").toString();
            QCOMPARE(text, QString::fromUtf8(c.caption));
            QVERIFY2(w->isEnabled() == c.enabled, c.name);
        }
        QCOMPARE(Child<QGroupBox>(d, "UpDownRadio")->title(), QStringLiteral("検索する方向"));
        QVERIFY(Child<QRadioButton>(d, "UpDownRadio1")->isChecked());
        QVERIFY(!Child<QCheckBox>(d, "WholeWordCheck")->isChecked());
        QVERIFY(!Child<QCheckBox>(d, "AlphaCheck")->isChecked());
        QVERIFY(Child<QLineEdit>(d, "FindTextEdit")->isEnabled());
        QVERIFY(!Child<QLineEdit>(d, "ReplaceTextEdit")->isEnabled());
        QVERIFY(Child<QLineEdit>(d, "FindTextEdit")->text().isEmpty());
        QVERIFY(Child<QPushButton>(d, "FindBtn")->isDefault());
        QSlider* slider = Child<QSlider>(d, "AlphaTrackBar");
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 255);
        QCOMPARE(slider->tickInterval(), 10);
        QCOMPARE(slider->value(), 255);
    }

    void buttonsAndTabsSetAndClearTheFlags() {
        TFindDialog d;
        d.show();
        Click(d, "UpDownRadio0");
        QVERIFY(!d.Options().Contains(frDown));
        Click(d, "WholeWordCheck");
        QVERIFY(d.Options().Contains(frMatchCase));
        Click(d, "WholeWordCheck");
        QVERIFY(!d.Options().Contains(frMatchCase));

        // Replace mode forces "下へ"; back in find mode it stays so.
        ClickTab(d, 1);
        QCOMPARE(d.DialogMode(), dmReplace);
        const char* replaceControls[] = {"ReplaceLabel", "ReplaceTextEdit", "ReplaceBtn",
                                         "AllReplaceBtn"};
        for (const char* name : replaceControls) QVERIFY2(Enabled(d, name), name);
        QVERIFY(!Enabled(d, "UpDownRadio"));
        QVERIFY(d.Options().Contains(frDown));
        ClickTab(d, 0);
        for (const char* name : replaceControls) QVERIFY2(!Enabled(d, name), name);
        QVERIFY(Enabled(d, "UpDownRadio"));
        QVERIFY(Child<QRadioButton>(d, "UpDownRadio1")->isChecked());
        QCOMPARE(d.Options(), TFindOptions{frDown});

        // Without handlers the buttons only change the options; the two replace flags
        // exclude each other and stay until the other button.
        d.SetDialogMode(dmReplace);
        Click(d, "FindBtn");
        Click(d, "ReplaceBtn");
        QCOMPARE(d.Options(), (TFindOptions{frDown, frFindNext, frReplace}));
        Click(d, "AllReplaceBtn");
        QCOMPARE(d.Options(), (TFindOptions{frDown, frFindNext, frReplaceAll}));
        Click(d, "FindBtn");
        QCOMPARE(d.Options(), (TFindOptions{frDown, frFindNext, frReplaceAll}));
    }

    void writingDialogModeRunsTheTabHandlerAtOnce() {
        TFindDialog d;
        d.SetDialogMode(dmReplace);
        QVERIFY(Enabled(d, "ReplaceBtn"));
        // Also when the tab already is the one asked for.
        d.SetOptions(TFindOptions{});
        d.SetDialogMode(dmReplace);
        QCOMPARE(d.Options(), TFindOptions{frDown});
        d.SetDialogMode(dmFind);
        QVERIFY(!Enabled(d, "ReplaceBtn"));
        QVERIFY(Enabled(d, "UpDownRadio"));
    }

    void theThreeReplaceModesThroughTheBridge() {
        TFindDialog d;
        ReplaceLog editor;
        std::string pageFindText;
        d.OnFind = [&](TFindDialog& s) { DoFind(s.FindText(), s.Options(), pageFindText, editor); };
        d.OnReplace = [&](TFindDialog& s) {
            DoReplace(s.FindText(), s.ReplaceText(), s.Options(), pageFindText, editor);
        };
        d.SetDialogMode(dmReplace);
        d.show();
        QTest::keyClicks(Child<QLineEdit>(d, "FindTextEdit"), "ab");
        QTest::keyClicks(Child<QLineEdit>(d, "ReplaceTextEdit"), "c");

        Click(d, "ReplaceBtn");  // no find yet: whole text
        Click(d, "FindBtn");
        Click(d, "ReplaceBtn");  // after a find: the selection
        Click(d, "AllReplaceBtn");
        QTest::keyClick(&d, Qt::Key_Escape);  // hiding forgets the find, nothing else
        QVERIFY(!d.isVisible());
        d.show();
        QCOMPARE(d.FindText(), std::string("ab"));
        Click(d, "ReplaceBtn");
        Click(d, "FindBtn");
        Click(d, "CancelBtn");
        QVERIFY(!d.isVisible());
        QCOMPARE(d.Options(), (TFindOptions{frDown, frReplace}));
        QCOMPARE(editor.calls, (QStringList{"ab>c 111", "FindNext", "ab>c 110", "ab>c 101",
                                            "ab>c 111", "FindNext"}));
    }

    void theSearchTextHasTheFocusAndEnterFinds() {
        TFindDialog d;
        int finds = 0;
        d.OnFind = [&](TFindDialog&) { ++finds; };
        d.SetFindText("abc");
        d.SetDialogMode(dmReplace);
        d.show();
        QLineEdit* edit = Child<QLineEdit>(d, "FindTextEdit");
        QCOMPARE(d.focusWidget(), edit);
        QCOMPARE(edit->selectedText(), QStringLiteral("abc"));  // typing replaces it
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(finds, 1);
        QVERIFY(d.isVisible());
    }

    void textsAreCodePage932Bytes() {
        TFindDialog d;
        d.show();
        QLineEdit* edit = Child<QLineEdit>(d, "FindTextEdit");
        Type(edit, QStringLiteral("aア"));
        QCOMPARE(d.FindText(), std::string("a\x83\x41"));

        // Odd bytes and duplicate codes come back as given while untouched.
        const std::string odd = "\xFA\x4A\x83";
        d.SetFindText(odd);
        QCOMPARE(d.FindText(), odd);
        d.SetReplaceText("\x87\x54");
        QCOMPARE(d.ReplaceText(), std::string("\x87\x54"));
        d.SetFindText("");
        QVERIFY(edit->text().isEmpty());

        // A character code page 932 cannot hold is refused, nothing else is lost.
        edit->setFocus();
        Type(edit, QStringLiteral("b한c"));
        QCOMPARE(edit->text(), QStringLiteral("bc"));
        QCOMPARE(d.FindText(), std::string("bc"));
    }

    void transparencyComesFromAndGoesToTheSettings() {
        TFindDialog d;
        QCOMPARE(Opacity255(d), 255);
        TSettings s;
        s.FindDialogAlphaBlend = true;
        s.FindDialogAlphaBlendValue = 128;
        d.LoadFromSettings(s);
        QVERIFY(Child<QCheckBox>(d, "AlphaCheck")->isChecked());
        QCOMPARE(Opacity255(d), 128);

        Child<QSlider>(d, "AlphaTrackBar")->setValue(0);  // invisible, and kept so
        QCOMPARE(Opacity255(d), 0);
        Click(d, "AlphaCheck");
        QCOMPARE(Opacity255(d), 255);
        TSettings out;
        d.SaveToSettings(out);
        QCOMPARE(out.FindDialogAlphaBlend, false);
        QCOMPARE(out.FindDialogAlphaBlendValue, 0);

        // A stored value outside the slider's range is taken at the nearest end.
        s.FindDialogAlphaBlendValue = 1000;
        d.LoadFromSettings(s);
        QCOMPARE(Opacity255(d), 255);
        d.SaveToSettings(out);
        QCOMPARE(out.FindDialogAlphaBlend, true);
        QCOMPARE(out.FindDialogAlphaBlendValue, 255);
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::FindDlgTest)
#include "FindDlgTest.moc"
