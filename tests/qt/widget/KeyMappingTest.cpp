#include <QKeyEvent>
#include <QtTest>

#include "qt/widget/KeyMapping.h"

namespace zentabo {

class KeyMappingTest : public QObject {
    Q_OBJECT

private slots:
    void keysMapToVirtualKeys() {
        struct Case {
            int qtKey;
            Qt::KeyboardModifiers modifiers;
            int vk;
            const char* state;  // which of shift, ctrl, alt the editor sees
        };
        const auto none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier,
                   keypad = Qt::KeypadModifier;
        const Case cases[] = {
            {Qt::Key_Left, shift, 0x25, "s"},
            {Qt::Key_PageUp, none, 0x21, ""},
            {Qt::Key_PageDown, none, 0x22, ""},
            {Qt::Key_End, ctrl | shift, 0x23, "sc"},
            {Qt::Key_Delete, none, 0x2E, ""},
            {Qt::Key_Backspace, ctrl, 0x08, "c"},
            {Qt::Key_Enter, keypad, 0x0D, ""},
            {Qt::Key_Backtab, none, 0x09, "s"},
            {Qt::Key_Insert, ctrl, 0x2D, "c"},
            {Qt::Key_C, ctrl, 'C', "c"},
            {Qt::Key_Comma, ctrl, 0xBC, "c"},
            {Qt::Key_Greater, ctrl | shift, 0xBE, "sc"},
            {Qt::Key_7, keypad, 0x67, ""},
            {Qt::Key_F4, Qt::AltModifier, 0x73, "a"},
            {Qt::Key_Henkan, none, 0x1C, ""},
            {Qt::Key_Muhenkan, none, 0x1D, ""},
            {Qt::Key_LaunchMail, none, 0, ""},
            // The platform reports the state before the press; Qt adds the key's own bit.
            {Qt::Key_Alt, none, 0x12, "a"},
        };
        for (const Case& c : cases) {
            const VirtualKeyPress p =
                MapKeyEvent(QKeyEvent(QEvent::KeyPress, c.qtKey, c.modifiers));
            const QByteArray state =
                QByteArray(p.shift ? "s" : "") + (p.ctrl ? "c" : "") + (p.alt ? "a" : "");
            QCOMPARE(p.key, c.vk);
            QCOMPARE(state, QByteArray(c.state));
        }
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
