#include <QKeyEvent>
#include <QtTest>

#include "platform/qt/KeyMapping.h"

namespace zentabo {

class KeyMappingTest : public QObject {
    Q_OBJECT

private slots:
    void keysMapToVirtualKeys_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("vk");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("alt");
        const int none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier,
                  alt = Qt::AltModifier, keypad = Qt::KeypadModifier;
        QTest::newRow("Left") << int(Qt::Key_Left) << none << 0x25 << false << false << false;
        QTest::newRow("Shift+Right")
            << int(Qt::Key_Right) << shift << 0x27 << true << false << false;
        QTest::newRow("Up") << int(Qt::Key_Up) << none << 0x26 << false << false << false;
        QTest::newRow("Down") << int(Qt::Key_Down) << none << 0x28 << false << false << false;
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << none << 0x21 << false << false << false;
        QTest::newRow("Page Down")
            << int(Qt::Key_PageDown) << none << 0x22 << false << false << false;
        QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << ctrl << 0x24 << false << true << false;
        QTest::newRow("Ctrl+Shift+End")
            << int(Qt::Key_End) << (ctrl | shift) << 0x23 << true << true << false;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << none << 0x2E << false << false << false;
        QTest::newRow("Backspace")
            << int(Qt::Key_Backspace) << none << 0x08 << false << false << false;
        QTest::newRow("Return") << int(Qt::Key_Return) << none << 0x0D << false << false << false;
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << keypad << 0x0D << false << false << false;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << none << 0x09 << false << false << false;
        QTest::newRow("Backtab is Shift+Tab")
            << int(Qt::Key_Backtab) << none << 0x09 << true << false << false;
        QTest::newRow("Shift+Insert")
            << int(Qt::Key_Insert) << shift << 0x2D << true << false << false;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << none << 0x1B << false << false << false;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << int('C') << false << true << false;
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << int('Z') << false << true << false;
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << int('A') << false << true << false;
        QTest::newRow("Ctrl+comma") << int(Qt::Key_Comma) << ctrl << 0xBC << false << true << false;
        QTest::newRow("Ctrl+period")
            << int(Qt::Key_Period) << ctrl << 0xBE << false << true << false;
        QTest::newRow("Ctrl+Shift+comma")
            << int(Qt::Key_Less) << (ctrl | shift) << 0xBC << true << true << false;
        QTest::newRow("digit") << int(Qt::Key_7) << none << int('7') << false << false << false;
        QTest::newRow("keypad digit")
            << int(Qt::Key_7) << keypad << 0x67 << false << false << false;
        QTest::newRow("F1") << int(Qt::Key_F1) << none << 0x70 << false << false << false;
        QTest::newRow("Alt+F4") << int(Qt::Key_F4) << alt << 0x73 << false << false << true;
        QTest::newRow("F12") << int(Qt::Key_F12) << none << 0x7B << false << false << false;
        // The platform reports the state before the press; Qt adds the key's own bit.
        QTest::newRow("Alt alone") << int(Qt::Key_Alt) << none << 0x12 << false << false << true;
        QTest::newRow("Convert") << int(Qt::Key_Henkan) << none << 0x1C << false << false << false;
        QTest::newRow("NonConvert")
            << int(Qt::Key_Muhenkan) << none << 0x1D << false << false << false;
        QTest::newRow("unknown key")
            << int(Qt::Key_LaunchMail) << none << 0 << false << false << false;
    }
    void keysMapToVirtualKeys() {
        QFETCH(int, qtKey);
        QFETCH(int, modifiers);
        QFETCH(int, vk);
        QFETCH(bool, shift);
        QFETCH(bool, ctrl);
        QFETCH(bool, alt);
        const QKeyEvent e(QEvent::KeyPress, qtKey, Qt::KeyboardModifiers(modifiers));
        const VirtualKeyPress p = MapKeyEvent(e);
        QCOMPARE(p.key, vk);
        QCOMPARE(p.shift, shift);
        QCOMPARE(p.ctrl, ctrl);
        QCOMPARE(p.alt, alt);
    }

    void typedTextBecomesCodePage932() {
        const TypedText t = EncodeTypedText(QString::fromUtf8("aあ漢ｱ\u3000"));
        QCOMPARE(QByteArray::fromStdString(t.bytes), QByteArray("a\x82\xA0\x8A\xBF\xB1\x81\x40"));
        QVERIFY(t.unmappable.empty());
    }

    void unmappableCharactersAreReportedNotReplaced() {
        // Hangul and an emoji (a surrogate pair) have no code in code page 932.
        const TypedText t = EncodeTypedText(QString::fromUtf8("x한y😀z"));
        QCOMPARE(QByteArray::fromStdString(t.bytes), QByteArray("xyz"));
        QCOMPARE(t.unmappable.size(), std::size_t(2));
        QCOMPARE(t.unmappable[0].offset, std::size_t(1));
        QCOMPARE(t.unmappable[0].codePoint, char32_t(0xD55C));
        QCOMPARE(t.unmappable[1].offset, std::size_t(3));
        QCOMPARE(t.unmappable[1].codePoint, char32_t(0x1F600));
    }

    void controlCharactersAreKeysNotText() {
        QCOMPARE(EncodeTypedText(QStringLiteral("\r\t\b\x1b\x7f")).bytes, std::string());
        // A trail byte can look like a control only above 0x3F, so pairs survive the filter.
        QCOMPARE(EncodeTypedText(QString::fromUtf8("\tソ\n")).bytes, std::string("\x83\x5C"));
    }

    void ctrlCombinationsTypeNothing() {
        const QKeyEvent ctrlC(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier,
                              QStringLiteral("\x03"));
        QVERIFY(TypedTextOf(ctrlC).bytes.empty());
        const QKeyEvent ctrlV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier,
                              QStringLiteral("v"));
        QVERIFY(TypedTextOf(ctrlV).bytes.empty());
        // AltGr arrives as Ctrl+Alt on some systems and does type.
        const QKeyEvent altGr(QEvent::KeyPress, Qt::Key_At, Qt::ControlModifier | Qt::AltModifier,
                              QStringLiteral("@"));
        QCOMPARE(TypedTextOf(altGr).bytes, std::string("@"));
        const QKeyEvent shiftA(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
        QCOMPARE(TypedTextOf(shiftA).bytes, std::string("A"));
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::KeyMappingTest)
#include "KeyMappingTest.moc"
