#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtTest>

#include "qt/widget/Cp932Clipboard.h"

namespace zentabo {

class Cp932ClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void japaneseTextRoundTrips() {
        Cp932Clipboard clip;
        // Kanji, kana, half-width katakana, a trail byte 0x5C ("ソ") and both line ends.
        const std::string text = "\x8A\xBF\x8E\x9A\r\n\x82\xA0\xB1\n\x83\x5C\\";
        QCOMPARE(clip.SetText(text), ClipboardStatus::Ok);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("漢字\r\nあｱ\nソ\\"));
        const ClipboardText got = clip.GetText();
        QVERIFY(got.ok());
        QCOMPARE(got.bytes, text);
        QVERIFY(got.unmappable.empty());
    }

    void textFromOtherProgramsIsConverted() {
        QGuiApplication::clipboard()->setText(QString::fromUtf8("日本語\r\nline"));
        const ClipboardText got = Cp932Clipboard().GetText();
        QVERIFY(got.ok());
        QCOMPARE(got.bytes, std::string("\x93\xFA\x96\x7B\x8C\xEA\r\nline"));
    }

    void unmappableCharactersAreReported() {
        QGuiApplication::clipboard()->setText(QString::fromUtf8("a한b€c"));
        const ClipboardText got = Cp932Clipboard().GetText();
        QVERIFY(got.ok());
        QCOMPARE(got.bytes, std::string("abc"));  // nothing silently turned into "?"
        QCOMPARE(got.unmappable.size(), std::size_t(2));
        QCOMPARE(got.unmappable[0].offset, std::size_t(1));
        QCOMPARE(got.unmappable[1].codePoint, char32_t(0x20AC));
    }

    // Bytes that do not decode, and NEC duplicates that code page 932 would store under
    // another code, come back as they were copied.
    void ownBytesComeBackExactly() {
        Cp932Clipboard clip;
        const std::string odd =
            std::string("ok\x85\x40\x88 ", 6) + "\xED\x40" + std::string(1, '\0') + "z";
        QCOMPARE(clip.SetText(odd), ClipboardStatus::Ok);
        QCOMPARE(clip.GetText().bytes, odd);
    }

    void anotherProgramsTextWinsOverOurBytes() {
        Cp932Clipboard clip;
        clip.SetText("old");
        // A program that replaced only the text while keeping our format.
        auto* data = new QMimeData;
        data->setText(QStringLiteral("new"));
        data->setData(QString::fromLatin1(Cp932Clipboard::kRawMimeType), QByteArray("old"));
        QGuiApplication::clipboard()->setMimeData(data);
        QCOMPARE(clip.GetText().bytes, std::string("new"));
    }

    void noTextIsAClearFailure() {
        auto* data = new QMimeData;
        data->setData(QStringLiteral("image/png"), QByteArray("\x89PNG"));
        QGuiApplication::clipboard()->setMimeData(data);
        QCOMPARE(Cp932Clipboard().GetText().status, ClipboardStatus::NoText);
        QGuiApplication::clipboard()->clear();
        QCOMPARE(Cp932Clipboard().GetText().status, ClipboardStatus::NoText);
        // An empty text is still text.
        Cp932Clipboard().SetText("");
        const ClipboardText empty = Cp932Clipboard().GetText();
        QVERIFY(empty.ok());
        QVERIFY(empty.bytes.empty());
    }

    void noClipboardIsAClearFailure() {
        Cp932Clipboard none(nullptr);
        QCOMPARE(none.SetText("x"), ClipboardStatus::NoClipboard);
        QCOMPARE(none.GetText().status, ClipboardStatus::NoClipboard);
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::Cp932ClipboardTest)
#include "Cp932ClipboardTest.moc"
