#include <QRandomGenerator>
#include <QtTest>
#include <string>

#include "qt/widget/EditorFont.h"
#include "qt/widget/TextMeasurer.h"

namespace zentabo {

class TextMeasurerTest : public QObject {
    Q_OBJECT

    int cell_ = 0;
    std::unique_ptr<TextMeasurer> m_;

private slots:
    void initTestCase() {
        FontDescription d;
        d.height = 15;  // odd: the face's own half-width advance is 7.5 pixels
        m_ = std::make_unique<TextMeasurer>(ResolveFont(d));
        cell_ = m_->CellWidth();
        QCOMPARE(cell_, 8);
    }

    void widthsFollowTheCellGrid_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("cells");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("ascii") << QByteArray("Hello, world!") << 13;
        QTest::newRow("hiragana") << QByteArray("\x82\xA0\x82\xA2\x82\xA4") << 6;
        QTest::newRow("kanji") << QByteArray("\x8A\xBF\x8E\x9A\xEA\x9F") << 6;
        QTest::newRow("half-width katakana") << QByteArray("\xB6\xC0\xB6\xC5") << 4;
        QTest::newRow("full-width space") << QByteArray("\x81\x40") << 2;
        QTest::newRow("NEC special") << QByteArray("\x87\x40") << 2;
        QTest::newRow("mixed") << QByteArray("a\x8A\xBF\xB1 \x82\xA0z") << 8;
        QTest::newRow("lone lead byte at the end") << QByteArray("ab\x88") << 3;
        QTest::newRow("lead byte before a blank") << QByteArray("\x88 x") << 3;
        QTest::newRow("unassigned pair") << QByteArray("\x85\x40") << 2;
        QTest::newRow("single bytes without a character")
            << QByteArray("\x80\xA0\xFD\xFE\xFF") << 5;
        QTest::newRow("controls") << QByteArray("\x01\x1B\x7F", 3) << 3;
        QTest::newRow("NUL") << QByteArray("\0a", 2) << 2;
    }
    void widthsFollowTheCellGrid() {
        QFETCH(QByteArray, text);
        QFETCH(int, cells);
        QCOMPARE(m_->Width(std::string_view(text.constData(), text.size())), cells * cell_);
    }

    // Whatever the bytes, a byte is a cell: the editor's byte columns and the pixels agree.
    void anyBytesMeasureOneCellPerByte() {
        QRandomGenerator rng(932);
        std::string s;
        for (int round = 0; round < 2000; ++round) {
            s.resize(rng.bounded(0, 40));
            for (char& c : s) c = static_cast<char>(rng.bounded(0, 256));
            QCOMPARE(m_->Width(s), static_cast<int>(s.size()) * cell_);
        }
    }

    void charactersSplitAsTheCanvasDrawsThem() {
        const CellGlyph* g = nullptr;
        QCOMPARE(m_->CharAt("\x88\x9F", 0, &g), 2);
        QCOMPARE(g->ch, u'\u4E9C');
        QVERIFY(!g->perByte);
        QCOMPARE(m_->CharAt("\xB1", 0, &g), 1);
        QCOMPARE(g->ch, u'\uFF71');                  // half-width katakana a
        QCOMPARE(m_->CharAt("\x88\x20", 0, &g), 1);  // bad trail: the lead byte stands alone
        QCOMPARE(g->ch, u'\uFFFD');
        QCOMPARE(m_->CharAt("\x88", 0, &g), 1);
        QCOMPARE(g->ch, u'\uFFFD');
        QCOMPARE(m_->CharAt("\x85\x40", 0, &g), 2);  // unassigned: two boxes, two cells
        QCOMPARE(g->ch, u'\uFFFD');
        QVERIFY(g->perByte);
        QCOMPARE(int(g->advance), 2 * cell_);
        QCOMPARE(m_->CharAt("a\x82\xA0", 1, &g), 2);
        QCOMPARE(g->ch, u'\u3042');
        QVERIFY(g->index != 0);  // the face has the glyph: the fast path draws it
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::TextMeasurerTest)
#include "TextMeasurerTest.moc"
