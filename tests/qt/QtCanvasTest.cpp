#include <QImage>
#include <QtTest>
#include <string>

#include "platform/qt/FontCache.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtColor.h"

namespace zentabo {
namespace {

constexpr QRgb kSentinel = 0xFF123456;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlack = 0x000000;

QImage Blank(int w = 120, int h = 40, QRgb fill = kSentinel) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

// A pattern so that XOR mistakes cannot hide behind a uniform background.
QImage Pattern(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 7 & 0xFF, y * 13 & 0xFF, x ^ y));
    }
    return img;
}

int CountPixels(const QImage& img, QRgb rgb) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == rgb;
    }
    return n;
}

// Bounding box of the pixels that differ from bg.
QRect Ink(const QImage& img, QRgb bg) {
    QRect r;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) != bg) r = r.united(QRect(x, y, 1, 1));
        }
    }
    return r;
}

FontDescription EditorFont16() {
    FontDescription d;
    d.height = 16;
    return d;
}

}  // namespace

class QtCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void colourByteOrder() {
        FontCache fonts;
        QImage img = Blank(8, 4);
        QtCanvas canvas(fonts, &img);
        canvas.FillRect({0, 0, 1, 1}, 0x0000FF);
        canvas.SetPixel(1, 0, 0xFF0000);
        canvas.Line(2, 0, 3, 0, 0x00FF00);
        canvas.TextOut(0, 1, {0, 1, 8, 4}, "", 0, 0x336699, true);
        QCOMPARE(img.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(1, 0), qRgb(0, 0, 255));
        QCOMPARE(img.pixel(2, 0), qRgb(0, 255, 0));
        QCOMPARE(img.pixel(0, 2), qRgb(0x99, 0x66, 0x33));
        QCOMPARE(FromQRgb(ToQRgb(0x123456)), TColor(0x123456));
    }

    void fillRectLeavesRightAndBottomEdgesOut() {
        FontCache fonts;
        QImage img = Blank(10, 10);
        QtCanvas canvas(fonts, &img);
        canvas.FillRect({2, 3, 5, 7}, kBlack);
        QCOMPARE(Ink(img, kSentinel), QRect(QPoint(2, 3), QPoint(4, 6)));
        // Off the image and inverted rectangles are harmless.
        canvas.FillRect({-50, -50, 0, 100}, kWhite);
        canvas.FillRect({8, 8, 2, 2}, kWhite);
        canvas.FillRect({9, 9, 500, 500}, kBlack);
        QCOMPARE(CountPixels(img, qRgb(0, 0, 0)), 13);
        QCOMPARE(CountPixels(img, qRgb(255, 255, 255)), 0);
    }

    void lineExcludesItsLastPoint_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("right") << QPoint(2, 3) << QPoint(7, 3);
        QTest::newRow("left") << QPoint(7, 3) << QPoint(2, 3);
        QTest::newRow("down") << QPoint(4, 1) << QPoint(4, 9);
        QTest::newRow("up") << QPoint(4, 9) << QPoint(4, 1);
        QTest::newRow("diagonal") << QPoint(1, 1) << QPoint(5, 5);
        QTest::newRow("arrow head") << QPoint(8, 8) << QPoint(5, 5);
        QTest::newRow("shallow") << QPoint(0, 0) << QPoint(9, 3);
        QTest::newRow("steep") << QPoint(9, 0) << QPoint(6, 9);
    }
    void lineExcludesItsLastPoint() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        FontCache fonts;
        QImage img = Blank(12, 12);
        QtCanvas canvas(fonts, &img);
        canvas.Line(from.x(), from.y(), to.x(), to.y(), kBlack);
        const QRgb black = qRgb(0, 0, 0);
        QCOMPARE(img.pixel(from), black);
        QVERIFY(img.pixel(to) != black);
        // One pixel per step of the longer axis: no gaps, no doubled pixels.
        const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
        QCOMPARE(CountPixels(img, black), steps);
        // Every pixel lies within half a pixel of the ideal line.
        const double dx = to.x() - from.x(), dy = to.y() - from.y();
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                if (img.pixel(x, y) != black) continue;
                const double off = std::abs(dy * (x - from.x()) - dx * (y - from.y())) /
                                   std::max(std::abs(dx), std::abs(dy));
                QVERIFY2(off <= 0.5, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
    }

    void zeroLengthLineDrawsNothing() {
        FontCache fonts;
        QImage img = Blank(6, 6);
        QtCanvas canvas(fonts, &img);
        canvas.Line(3, 3, 3, 3, kBlack);
        canvas.Line(3, 3, 3, 3, kBlack, 5, PenMode::Xor);
        QCOMPARE(CountPixels(img, kSentinel), 36);
    }

    void xorTwiceRestores() {
        FontCache fonts;
        const QImage original = Pattern(40, 20);
        QImage img = original;
        QtCanvas canvas(fonts, &img);
        // The ruler cursor: a wide XOR pen partly off the top edge.
        auto draw = [&] {
            canvas.Line(10, 0, 10, 8, 0x00FFFF, 5, PenMode::Xor);
            canvas.Line(0, 19, 39, 0, 0xFFFFFF, 1, PenMode::Xor);
            canvas.Line(30, 5, 37, 12, 0x808080, 2, PenMode::Xor);
        };
        draw();
        QVERIFY(img != original);
        draw();
        QCOMPARE(img, original);
    }

    void xorChangesOnlyColourBits() {
        FontCache fonts;
        QImage img = Blank(20, 12, qRgb(0x10, 0x20, 0x30));
        QtCanvas canvas(fonts, &img);
        canvas.Line(5, 0, 5, 8, 0x0000FF, 5, PenMode::Xor);  // red in the low byte
        QCOMPARE(img.pixel(5, 4), qRgb(0x10 ^ 0xFF, 0x20, 0x30));
        // A 5-pixel pen covers x 3..7 and nothing beyond.
        QCOMPARE(Ink(img, qRgb(0x10, 0x20, 0x30)), QRect(QPoint(3, 0), QPoint(7, 9)));
    }

    void opaqueTextFillsExactlyTheClip() {
        FontCache fonts;
        QImage img = Blank();
        QtCanvas canvas(fonts, &img);
        canvas.SetFont(EditorFont16());
        const Rect clip{9, 4, 61, 21};
        // Starts left of the clip and runs far past it on the right.
        canvas.TextOut(-5, 5, clip, "\x8A\xBF\x8E\x9A abcdefghij\x82\xA0\x82\xA2\x82\xA4", kBlack,
                       kWhite, true);
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const bool inside =
                    x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                QVERIFY2(inside == (img.pixel(x, y) != kSentinel),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(CountPixels(img, kSentinel) + CountPixels(img, qRgb(255, 255, 255)) <
                img.width() * img.height() - 20);  // some glyphs were drawn
    }

    void transparentTextKeepsTheBackground() {
        FontCache fonts;
        QImage img = Blank(80, 30, qRgb(255, 255, 255));
        QtCanvas canvas(fonts, &img);
        canvas.SetFont(EditorFont16());
        canvas.TextOut(2, 2, {0, 0, 80, 30}, "   ", kBlack, 0x0000FF, false);
        QCOMPARE(CountPixels(img, qRgb(255, 255, 255)), 80 * 30);
        canvas.TextOut(2, 2, {0, 0, 80, 30}, "W", kBlack, 0x0000FF, false);
        QCOMPARE(CountPixels(img, qRgb(255, 0, 0)), 0);
        QVERIFY(CountPixels(img, qRgb(255, 255, 255)) < 80 * 30);
    }

    // Each character sits in the cell the measurer computes for it, whatever stands
    // before it: drawing the string whole equals drawing it character by character.
    void charactersAreDrawnAtTheirCells_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<int>("height");
        // Hex escapes are split so that a following letter is not read as a hex digit.
        QTest::newRow("ascii and kanji") << QByteArray(
                                                "a\x8A\xBF"
                                                "b\x8E\x9A")
                                         << QList<int>{1, 2, 1, 2} << 16;
        QTest::newRow("half-width katakana")
            << QByteArray("\xB1\xB2\x82\xA0\xB3") << QList<int>{1, 1, 2, 1} << 16;
        QTest::newRow("lone lead byte at the end") << QByteArray("A\x82") << QList<int>{1, 1} << 16;
        QTest::newRow("lead byte before DEL") << QByteArray(
                                                     "\x81\x7F"
                                                     "D")
                                              << QList<int>{1, 1, 1} << 16;
        QTest::newRow("bad trail") << QByteArray(
                                          "\x88\x20"
                                          "B")
                                   << QList<int>{1, 1, 1} << 16;
        QTest::newRow("unassigned pair") << QByteArray(
                                                "\x85\x40"
                                                "C")
                                         << QList<int>{2, 1} << 16;
        // Half-width glyphs of 7.5 pixels: Qt's own layout would drift off the cells.
        QTest::newRow("odd size") << QByteArray(
                                         "abcdefgh\x8A\xBF"
                                         "ij")
                                  << QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 1} << 15;
    }
    void charactersAreDrawnAtTheirCells() {
        QFETCH(QByteArray, text);
        QFETCH(QList<int>, lengths);
        QFETCH(int, height);
        FontCache fonts;
        QImage whole = Blank(160, 24, qRgb(255, 255, 255));
        QImage pieces = whole;
        QtCanvas canvas(fonts, &whole);
        FontDescription font;
        font.height = height;
        canvas.SetFont(font);
        const Rect all{0, 0, 160, 24};
        const std::string_view bytes(text.constData(), text.size());
        canvas.TextOut(3, 2, all, bytes, kBlack, kWhite, false);
        canvas.SetImage(&pieces);
        int x = 3;
        std::size_t pos = 0;
        for (int len : lengths) {
            const std::string_view piece = bytes.substr(pos, len);
            canvas.TextOut(x, 2, all, piece, kBlack, kWhite, false);
            // Each piece is drawn within its own cells.
            const int w = canvas.CurrentFont().Width(piece);
            QCOMPARE(w, len * canvas.CurrentFont().CellWidth());
            x += w;
            pos += len;
        }
        QCOMPARE(whole, pieces);
        QVERIFY(Ink(whole, qRgb(255, 255, 255)).right() < x + 1);
    }

    void undecodableBytesShowOneGlyphPerByte() {
        FontCache fonts;
        QImage img = Blank(80, 24, qRgb(255, 255, 255));
        QtCanvas canvas(fonts, &img);
        canvas.SetFont(EditorFont16());
        const int cell = canvas.CurrentFont().CellWidth();
        canvas.TextOut(0, 0, {0, 0, 80, 24}, "\x85\x40", kBlack, kWhite, false);
        QImage first = img.copy(0, 0, cell, 24);
        QImage second = img.copy(cell, 0, cell, 24);
        QVERIFY(CountPixels(first, qRgb(255, 255, 255)) < cell * 24);
        QCOMPARE(first, second);
    }

    void underlineRunsUnderTheText() {
        FontCache fonts;
        QImage img = Blank(80, 24, qRgb(255, 255, 255));
        QtCanvas canvas(fonts, &img);
        canvas.SetFont(EditorFont16());
        const int cell = canvas.CurrentFont().CellWidth();
        canvas.TextOut(4, 0, {0, 0, 80, 24}, "   ", 0x0000FF, kWhite, false, kStyleUnderline);
        const QRect ink = Ink(img, qRgb(255, 255, 255));
        QCOMPARE(ink.left(), 4);
        QCOMPARE(ink.right(), 4 + 3 * cell - 1);
        QVERIFY(ink.top() > 8 && ink.bottom() < 16);
        QCOMPARE(img.pixel(5, ink.top()), qRgb(255, 0, 0));
    }

    void noImageIsHarmless() {
        FontCache fonts;
        QtCanvas canvas(fonts);
        canvas.FillRect({0, 0, 10, 10}, kBlack);
        canvas.TextOut(0, 0, {0, 0, 10, 10}, "abc", kBlack, kWhite, true);
        canvas.Line(0, 0, 5, 5, kBlack, 3, PenMode::Xor);
        canvas.SetPixel(1, 1, kBlack);
        QImage wrongFormat(4, 4, QImage::Format_Indexed8);
        canvas.SetImage(&wrongFormat);
        canvas.FillRect({0, 0, 4, 4}, kBlack);
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::QtCanvasTest)
#include "QtCanvasTest.moc"
