#include <QImage>
#include <QtTest>

#include "qt/widget/EditorFont.h"
#include "qt/widget/FontCache.h"
#include "qt/widget/QtCanvas.h"

namespace zentabo {
namespace {

FontDescription Face(const char* name, int height) {
    FontDescription d;
    d.name = name;
    d.height = height;
    return d;
}

QRect Ink(const QImage& img) {
    QRect r;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) != qRgb(255, 255, 255)) r = r.united(QRect(x, y, 1, 1));
        }
    }
    return r;
}

}  // namespace

class EditorFontTest : public QObject {
    Q_OBJECT

private slots:
    void fallbackIsTheInstalledJapaneseFixedFace() {
        QCOMPARE(FallbackFixedFace(), QStringLiteral("IPAGothic"));
        QVERIFY(IsUsableFixedFace(QStringLiteral("IPAGothic")));
        QVERIFY(!IsUsableFixedFace(QStringLiteral("IPAPGothic")));  // proportional
        QVERIFY(!IsUsableFixedFace(QStringLiteral("No Such Face")));
    }

    void unusableFacesFallBack_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fallsBack");
        QTest::newRow("FixedSys") << "FixedSys" << true;
        QTest::newRow("fixedsys in lower case") << "fixedsys" << true;
        QTest::newRow("missing face") << "No Such Face" << true;
        QTest::newRow("empty name") << "" << true;
        QTest::newRow("proportional face") << "DejaVu Sans" << true;
        QTest::newRow("installed fixed face") << "DejaVu Sans Mono" << false;
        QTest::newRow("Japanese fixed face") << "IPAGothic" << false;
    }
    void unusableFacesFallBack() {
        QFETCH(QString, name);
        QFETCH(bool, fallsBack);
        const ResolvedFont f = ResolveFont(Face(name.toUtf8().constData(), 16));
        QCOMPARE(f.fellBack, fallsBack);
        QCOMPARE(QFontInfo(f.font).family(), fallsBack ? QStringLiteral("IPAGothic") : name);
    }

    // The double-byte cell is exactly two single-byte cells and the cell height is the
    // asked height, for every size, odd ones included, and for a face whose Japanese
    // glyphs come from another face.
    void cellGridHolds_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("height");
        for (int h : {8, 12, 13, 14, 15, 16, 19, 24, 33}) {
            QTest::addRow("FixedSys %d", h) << "FixedSys" << h;
            QTest::addRow("DejaVu Sans Mono %d", h) << "DejaVu Sans Mono" << h;
        }
    }
    void cellGridHolds() {
        QFETCH(QString, name);
        QFETCH(int, height);
        const ResolvedFont f = ResolveFont(Face(name.toUtf8().constData(), height));
        QCOMPARE(f.metrics.tmHeight, height);
        QVERIFY(f.metrics.tmAveCharWidth > 0);
        QVERIFY(f.ascent > 0 && f.ascent <= height);
        const TextMeasurer m(f);
        const int cell = f.metrics.tmAveCharWidth;
        QCOMPARE(m.Width("0"), cell);
        QCOMPARE(m.Width("\x8A\xBF"), 2 * cell);  // a kanji
        // Glyphs never need more than their cells, so neighbours do not overlap.
        const QFontMetricsF qm(f.font);
        QVERIFY(qm.horizontalAdvance(QLatin1Char('W')) <= cell);
        QVERIFY(qm.horizontalAdvance(QChar(0x6F22)) <= 2 * cell);
    }

    // What TextOut draws stays inside the cells the metrics describe.
    void drawnGlyphsStayInTheirCells_data() {
        QTest::addColumn<int>("height");
        for (int h : {12, 15, 16, 20}) QTest::addRow("%d", h) << h;
    }
    void drawnGlyphsStayInTheirCells() {
        QFETCH(int, height);
        FontCache fonts;
        QImage img(200, 60, QImage::Format_RGB32);
        img.fill(Qt::white);
        QtCanvas canvas(fonts, &img);
        canvas.SetFont(Face("FixedSys", height));
        const FontMetrics m = canvas.CurrentFont().Font().metrics;
        // Kanji, kana and a full-width bracket reach far into the corners of their cells.
        canvas.TextOut(10, 10, {0, 0, 200, 60}, "\x8A\xBF\x82\xE6\x81\x75", 0, 0xFFFFFF, false);
        const QRect ink = Ink(img);
        QVERIFY(ink.left() >= 10);
        QVERIFY(ink.right() < 10 + 6 * m.tmAveCharWidth);
        QVERIFY(ink.top() >= 10);
        QVERIFY(ink.bottom() < 10 + m.tmHeight);
        // and fill most of it: the text is not drawn at some other size.
        QVERIFY(ink.width() >= 4 * m.tmAveCharWidth);
        QVERIFY(ink.height() >= m.tmHeight * 3 / 4);
    }

    void rulerFontIsSmallAndFixed() {
        const ResolvedFont f = ResolveFont(RulerFontDescription());
        QCOMPARE(f.metrics.tmHeight, 8);
        const TextMeasurer m(f);
        QCOMPARE(m.Width("100"), 3 * m.Width("1"));
        QVERIFY(m.Width("1") <= 5);
    }

    void absurdHeightsStayUsable() {
        for (int h : {-5, 0, 1}) {
            const ResolvedFont f = ResolveFont(Face("FixedSys", h));
            QVERIFY(f.metrics.tmHeight >= 4);
            QVERIFY(f.metrics.tmAveCharWidth >= 1);
        }
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::EditorFontTest)
#include "EditorFontTest.moc"
