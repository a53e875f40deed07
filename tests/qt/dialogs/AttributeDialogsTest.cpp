// The attribute dialogs and the about box: what each keeps, resets and refuses.

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "qt/dialogs/AboutBox.h"
#include "qt/dialogs/DesignFont.h"
#include "qt/dialogs/InsDelDlg.h"
#include "qt/dialogs/LinkDlg.h"
#include "qt/dialogs/SingleDlg.h"
#include "qt/dialogs/StyleDlg.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

template <typename T>
T* Child(QWidget& d, const char* name) {
    T* w = d.findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no child %s", name);
    return w;
}

void Click(QWidget& d, const char* name) {
    QTest::mouseClick(Child<QPushButton>(d, name), Qt::LeftButton);
}

// Presses the button and answers the message box it may raise; returns its text.
QString ClickAndAnswer(QWidget& d, const char* name) {
    QString message;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    Click(d, name);
    QCoreApplication::processEvents();
    return message;
}

}  // namespace

class AttributeDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void designFontsFallBackToInstalledFaces() {
        const QFont gothic = DesignFont(QStringLiteral("ＭＳ Ｐゴシック"), 12);
        QCOMPARE(gothic.pixelSize(), 12);
        if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic")))
            QCOMPARE(QFontInfo(gothic).family(), QStringLiteral("IPAPGothic"));
        const QFont sans = DesignFont(QStringLiteral("MS Sans Serif"), 11);
        QCOMPARE(sans.family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        QCOMPARE(sans.pixelSize(), 11);
        TSingleDialog d;
        QCOMPARE(d.font().family(), gothic.family());
    }

    void singleDialogSelectsTheHistoryEntryInItsOwnCase() {
        TSingleDialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("ダイアログ"));
        QCOMPARE(d.size(), QSize(241, 113));
        d.Setup(QStringLiteral("<p>タグの貼り付け"), QStringLiteral("&class"), "Note,warn,\"a b\"",
                "NOTE");
        QCOMPARE(d.windowTitle(), QStringLiteral("<p>タグの貼り付け"));
        QCOMPARE(d.LabelCaption(), QStringLiteral("&class"));
        auto* combo = Child<QComboBox>(d, "ComboBox1");
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(combo->currentText(), QStringLiteral("Note"));

        d.Setup(QStringLiteral("c"), QStringLiteral("&class"), "Note", "other");
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(combo->currentText(), QStringLiteral("other"));
    }

    void okMovesOrInsertsTheEntryAndSharesTheText() {
        TSingleDialog d;
        auto* combo = Child<QComboBox>(d, "ComboBox1");
        d.Setup(QStringLiteral("c"), QStringLiteral("&class"), "Note,warn,\"a b\"", "");
        d.show();
        combo->setEditText(QStringLiteral("WARN"));
        Click(d, "OKBtn");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(TSingleDialog::ComboText(), std::string("WARN"));
        QCOMPARE(d.ComboList(), std::string("warn,Note,\"a b\""));

        d.Setup(QStringLiteral("c"), QStringLiteral("&class"), d.ComboList(), "");
        d.show();
        combo->setEditText(QStringLiteral("新しい"));
        Click(d, "OKBtn");
        QCOMPARE(d.ComboList().substr(0, 7), std::string("\x90V\x82\xb5\x82\xa2,"));

        // Empty: stored as the last text, the history stays as it was.
        const std::string before = d.ComboList();
        d.show();
        combo->setEditText(QString());
        Click(d, "OKBtn");
        QVERIFY(TSingleDialog::ComboText().empty());
        QCOMPARE(d.ComboList(), before);

        // One variable for the whole program.
        TSingleDialog other;
        other.Setup(QStringLiteral("c"), QStringLiteral("&class"), "", "shared");
        other.show();
        Click(other, "OKBtn");
        QCOMPARE(TSingleDialog::ComboText(), std::string("shared"));
    }

    void enterInTheFieldConfirmsOnceAndCancelKeepsTheHistory() {
        TSingleDialog d;
        d.Setup(QStringLiteral("c"), QStringLiteral("&class"), "a", "b");
        d.show();
        QTest::keyClick(Child<QComboBox>(d, "ComboBox1"), Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.ComboList(), std::string("b,a"));

        d.Setup(QStringLiteral("c"), QStringLiteral("&class"), "a", "zzz");
        d.show();
        QTest::keyClick(Child<QComboBox>(d, "ComboBox1"), Qt::Key_Escape);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(TSingleDialog::ComboText(), std::string("b"));
        QCOMPARE(d.ComboList(), std::string("a"));
    }

    void historyBytesThatDoNotDecodeComeBackUnchanged() {
        TSingleDialog d;
        // A stray lead byte and an NEC duplicate of an IBM code, as a hand-edited file may hold.
        const std::string list = std::string("x\x81,\xed\x40,plain");
        d.Setup(QStringLiteral("c"), QStringLiteral("&class"), list, "x\x81");
        d.show();
        Click(d, "OKBtn");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(TSingleDialog::ComboText(), std::string("x\x81"));
        QCOMPARE(d.ComboList(), list);
    }

    void valuesThatWouldBreakTheMarkupAreRefused() {
        TSingleDialog d;
        d.Setup(QStringLiteral("c"), QStringLiteral("&class"), "", "ok");
        d.show();
        Click(d, "OKBtn");
        auto* combo = Child<QComboBox>(d, "ComboBox1");
        for (const QString& bad :
             {QStringLiteral("a\"b"), QStringLiteral("한국"), QString::fromUcs4(U"\U0001F600")}) {
            d.show();
            combo->setEditText(bad);
            const QString message = ClickAndAnswer(d, "OKBtn");
            QVERIFY2(!message.isEmpty(), qPrintable(bad));
            QVERIFY(d.isVisible());
            QCOMPARE(TSingleDialog::ComboText(), std::string("ok"));
            QCOMPARE(d.ComboList(), std::string("ok"));
        }
        QVERIFY(ClickAndAnswer(d, "CancelBtn").isEmpty());

        TLinkDialog link;
        link.show();
        Child<QLineEdit>(link, "HrefEdit")->setText(QStringLiteral("a.html\" onclick=\"x"));
        QVERIFY(!ClickAndAnswer(link, "OKBtn").isEmpty());
        QVERIFY(link.isVisible());
        QVERIFY(link.Href().empty());
    }

    void styleButtonsAppendTheirDeclarations() {
        TStyleDialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("style要素の貼り付け"));
        QCOMPARE(d.size(), QSize(313, 217));
        auto* tabs = Child<QTabWidget>(d, "PageControl1");
        QCOMPARE(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2),
                 QStringLiteral("カラーフォントテキスト"));
        auto* edit = Child<QLineEdit>(d, "StyleEdit");
        d.show();
        Click(d, "ColorButton");
        QCOMPARE(edit->text(), QStringLiteral("color: "));
        tabs->setCurrentIndex(1);
        Click(d, "FontSizeButton");
        QCOMPARE(edit->text(), QStringLiteral("color: font-size: medium; "));
        QCOMPARE(edit->cursorPosition(), edit->text().size());
        QVERIFY(!edit->hasSelectedText());

        Click(d, "ClearButton");
        QVERIFY(edit->text().isEmpty());
        tabs->setCurrentIndex(0);
        auto* colors = Child<QListWidget>(d, "ColorListBox");
        QCOMPARE(colors->count(), 17);
        colors->setCurrentRow(6);  // red
        Click(d, "BackgroundColorButton");
        tabs->setCurrentIndex(2);
        Child<QComboBox>(d, "TextAlignComboBox")->setEditText(QStringLiteral("typed"));
        Click(d, "TextAlignButton");
        QCOMPARE(edit->text(), QStringLiteral("background-color: red; text-align: "));

        Click(d, "OKBtn");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.StyleText(), std::string("background-color: red; text-align: "));
        // Kept for the next showing.
        d.show();
        QCOMPARE(edit->text(), QStringLiteral("background-color: red; text-align: "));
    }

    void linkDialogResetsOnlyItsTarget() {
        TLinkDialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("アンカータグの貼り付け"));
        QCOMPARE(d.size(), QSize(313, 177));
        auto* href = Child<QLineEdit>(d, "HrefEdit");
        auto* name = Child<QLineEdit>(d, "NameEdit");
        auto* target = Child<QComboBox>(d, "TargerComboBox");
        QCOMPARE(href->text(), QStringLiteral("http:"));
        QCOMPARE(target->count(), 5);
        d.show();
        QCOMPARE(d.focusWidget(), href);
        QCOMPARE(href->selectedText(), QStringLiteral("http:"));
        href->setText(QStringLiteral("a.html"));
        name->setText(QStringLiteral("n"));
        target->setCurrentIndex(1);
        Click(d, "OKBtn");
        QCOMPARE(d.Href() + "|" + d.Name() + "|" + d.Target(), std::string("a.html|n|_blank"));

        d.show();
        QVERIFY(target->currentText().isEmpty());
        QCOMPARE(href->text(), QStringLiteral("a.html"));
        QCOMPARE(name->text(), QStringLiteral("n"));
        d.DFItem_UniformResourceLocator_Drop(QStringLiteral(" \thttp://x.jp/\r\n"));
        QCOMPARE(href->text(), QStringLiteral("http://x.jp/"));
        QVERIFY(name->text().isEmpty());
        Click(d, "OKBtn");
        QCOMPARE(d.Href() + "|" + d.Name() + "|" + d.Target(), std::string("http://x.jp/||"));
    }

    void insDelDialogOffersTheHistoryWithoutAddingToIt() {
        TSingleDialog single;
        single.Setup(QStringLiteral("c"), QStringLiteral("&class"), "old", "");
        single.show();
        Child<QComboBox>(single, "ComboBox1")->setEditText(QStringLiteral("two words"));
        Click(single, "OKBtn");

        TInsDelDialog d;
        QCOMPARE(d.size(), QSize(313, 214));
        d.SetClassText(TSingleDialog::ComboText());
        d.SetClassList(single.ComboList());
        auto* combo = Child<QComboBox>(d, "ClassCombo");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("two words"));
        QCOMPARE(combo->currentText(), QStringLiteral("two words"));

        d.DFItem_UniformResourceLocator_Drop(QStringLiteral("http://x.jp/a.html\r\n"));
        d.show();
        QCOMPARE(d.focusWidget(), Child<QLineEdit>(d, "CiteEdit"));
        QCOMPARE(Child<QLineEdit>(d, "CiteEdit")->text(), QStringLiteral("http://x.jp/a.html"));
        const QString shown = Child<QLineEdit>(d, "DatetimeEdit")->text();
        QVERIFY2(
            QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\+9:00$"))
                .match(shown)
                .hasMatch(),
            qPrintable(shown));
        combo->setEditText(QStringLiteral("new"));
        Click(d, "OKBtn");
        QCOMPARE(d.ClassText(), std::string("new"));
        QCOMPARE(d.ClassList(), std::string("\"two words\",old"));
        QCOMPARE(d.Cite(), std::string("http://x.jp/a.html"));
        QCOMPARE(d.Datetime(), shown.toStdString());
    }

    void aboutBoxShowsNameAndVersion() {
        TAboutBox d;
        QCOMPARE(d.windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(d.size(), QSize(252, 184));
        QCOMPARE(Child<QLabel>(d, "ProductName")->text(), QStringLiteral("Zentabo"));
        QCOMPARE(Child<QLabel>(d, "Version")->text(), QStringLiteral("Version 3.00α7"));
        d.show();
        QCOMPARE(d.focusWidget(), Child<QPushButton>(d, "OKButton"));
        QTest::keyClick(&d, Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::AttributeDialogsTest)
#include "AttributeDialogsTest.moc"
