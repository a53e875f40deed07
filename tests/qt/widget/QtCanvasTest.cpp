#include <QImage>
#include <QtTest>
#include <string>

#include "qt/widget/FontCache.h"
#include "qt/widget/QtCanvas.h"
#include "qt/widget/QtColor.h"

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

FontDescription Font(int height, int style = kStyleNone) {
    FontDescription d;
    d.height = height;
    d.style = style;
    return d;
}

// One row's worth of text calls as the editor makes them: opaque and transparent,
// scrolled to the left, and clipped through the glyphs at every edge, on a background
// of differing pixels so that every blended pixel counts.
void DrawRows(QtCanvas& canvas, const std::string& text, int style) {
    const int h = canvas.CurrentFont().CellHeight();
    const int cell = canvas.CurrentFont().CellWidth();
    const TColor colours[][2] = {
        {0x000000, 0xFFFFFF}, {0xFFFFFF, 0x804000}, {0x2050E0, 0xC0F0F0}, {0x00A0FF, 0x000000}};
    int y = -h / 2;  // the first row half above the image
    for (int i = 0; i < 4; ++i) {
        const TColor fg = colours[i][0], bg = colours[i][1];
        const bool opaque = i % 2 == 0;
        canvas.TextOut(3, y, {0, y, 400, y + h}, text, fg, bg, opaque, style);
        y += h;
        // Cut through the glyphs on all four sides.
        canvas.TextOut(2, y, {2 + cell / 2 + 1, y + 3, 2 + 7 * cell - 3, y + h - 4}, text, fg, bg,
                       opaque, style);
        y += h;
        // Scrolled: starts far left of the clip, which starts inside a character.
        canvas.TextOut(-5 * cell - 3, y, {cell + 1, y, 300, y + h}, text, fg, bg, opaque, style);
        y += h;
    }
    // Past the right and bottom edges of the image.
    canvas.TextOut(400 - 4 * cell - 2, y, {0, y, 1000, y + 1000}, text, 0x0000FF, 0xEEEEEE, false,
                   style);
}

// An image of w by h device-independent pixels at a device pixel ratio.
QImage Scaled(QImage img, double scale) {
    img.setDevicePixelRatio(scale);
    return img;
}

int Dev(int v, double scale) {
    return static_cast<int>(std::lround(v * scale));
}

// The same calls through QPainter and through the glyph cache.
void CompareWithPainter(const FontDescription& font, const std::string& text, int style,
                        QImage::Format format = QImage::Format_RGB32, double scale = 1) {
    FontCache fonts;
    const int rows = 13 * (font.height + 1);
    const QImage original =
        Scaled(Pattern(Dev(400, scale), Dev(rows, scale)).convertToFormat(format), scale);
    QImage painted = original;
    QImage blended = painted;
    QtCanvas reference(fonts, &painted);
    reference.SetGlyphCacheEnabled(false);
    reference.SetFont(font);
    DrawRows(reference, text, style);
    QtCanvas canvas(fonts, &blended);
    canvas.SetFont(font);
    DrawRows(canvas, text, style);
    QVERIFY(painted != original);
    if (blended != painted) {
        for (int y = 0; y < painted.height(); ++y) {
            for (int x = 0; x < painted.width(); ++x) {
                QVERIFY2(blended.pixel(x, y) == painted.pixel(x, y),
                         qPrintable(QStringLiteral("first difference at %1,%2: %3 for %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(blended.pixel(x, y), 8, 16)
                                        .arg(painted.pixel(x, y), 8, 16)));
            }
        }
    }
}

}  // namespace

class QtCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void colourByteOrderAndFillEdges() {
        FontCache fonts;
        QImage img = Blank(8, 4);
        QtCanvas canvas(fonts, &img);
        canvas.FillRect({0, 0, 1, 1}, 0x0000FF);  // right and bottom edges stay out
        canvas.SetPixel(1, 0, 0xFF0000);
        canvas.Line(2, 0, 3, 0, 0x00FF00);
        canvas.TextOut(0, 1, {0, 1, 8, 4}, "", 0, 0x336699, true);
        QCOMPARE(img.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(1, 0), qRgb(0, 0, 255));
        QCOMPARE(img.pixel(2, 0), qRgb(0, 255, 0));
        QCOMPARE(img.pixel(0, 2), qRgb(0x99, 0x66, 0x33));
        QCOMPARE(FromQRgb(ToQRgb(0x123456)), TColor(0x123456));
        QCOMPARE(CountPixels(img, qRgb(255, 0, 0)), 1);
        // Off the image and inverted rectangles are harmless.
        canvas.FillRect({-50, -50, 0, 100}, kWhite);
        canvas.FillRect({6, 3, 2, 0}, kWhite);
        canvas.FillRect({7, 3, 500, 500}, kBlack);
        QCOMPARE(CountPixels(img, qRgb(255, 255, 255)), 0);
        QCOMPARE(img.pixel(7, 3), qRgb(0, 0, 0));
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

    // Lines far beyond the image draw their visible part exactly and cost nothing more.
    void hugeCoordinatesAreCutToTheImage() {
        FontCache fonts;
        QImage img = Blank(20, 10);
        QtCanvas canvas(fonts, &img);
        canvas.Line(3, 3, 3, 3, kBlack);  // zero length: nothing
        canvas.Line(3, 3, 3, 3, kBlack, 5, PenMode::Xor);
        canvas.Line(INT_MIN, 2, INT_MAX, 2, kBlack);
        QCOMPARE(Ink(img, kSentinel), QRect(0, 2, 20, 1));
        canvas.Line(5, INT_MAX, 5, 4, 0xFFFFFF);  // upwards: the end point 4 stays out
        QCOMPARE(img.pixel(5, 5), qRgb(255, 255, 255));
        QCOMPARE(img.pixel(5, 4), kSentinel);
        canvas.Line(7, 6, 7, INT_MIN, 0xFFFFFF);  // from inside upwards: the start is in
        QCOMPARE(img.pixel(7, 6), qRgb(255, 255, 255));
        QCOMPARE(img.pixel(7, 0), qRgb(255, 255, 255));
        canvas.Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kBlack, 3, PenMode::Xor);
        canvas.Line(3, 0, 3, 3, kBlack, 1000, PenMode::Xor);
        canvas.Line(3, 0, 3, 3, kBlack, 1000, PenMode::Xor);
        QCOMPARE(img.pixel(5, 5), qRgb(255, 255, 255));
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

        // XOR touches the colour bits only, red in the low byte; a 5-pixel pen is x 3..7.
        QImage plain = Blank(20, 12, qRgb(0x10, 0x20, 0x30));
        canvas.SetImage(&plain);
        canvas.Line(5, 0, 5, 8, 0x0000FF, 5, PenMode::Xor);
        QCOMPARE(plain.pixel(5, 4), qRgb(0x10 ^ 0xFF, 0x20, 0x30));
        QCOMPARE(Ink(plain, qRgb(0x10, 0x20, 0x30)), QRect(QPoint(3, 0), QPoint(7, 9)));
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

    // The glyph cache must put down exactly the pixels QPainter would.
    void cachedTextEqualsPaintedText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("style");
        QTest::addColumn<double>("scale");
        const QByteArray ascii("Hello, World! {[|]} ~_@gjpqy 0123");
        const QByteArray kana("\x82\xA0\x82\xA2\x82\xF1\x83\x41\x83\x94\x81\x5B\x81\x42");
        const QByteArray kanji("\x8A\xBF\x8E\x9A\x88\x9F\xEA\xA2\x98\x9F\xE0\x40");
        const QByteArray halfKana("\xB1\xB2\xB3\xDE\xDF\xA1\xA4\xB6\xDE");
        // Undecodable pairs, lone and misplaced lead bytes and control bytes.
        const QByteArray bad(
            "\x85\x40x\x80\xFD\xFE\x88\x20y\x81\x7F"
            "\x01\x1B\x7F\x82");
        const QByteArray mixed = ascii.left(6) + kanji.left(4) + halfKana.left(3) + bad.left(4) +
                                 kana.left(4) + "\x81\x40 \x81\x40z";
        for (int height : {12, 15, 16, 21}) {
            const QByteArray h = QByteArray::number(height);
            QTest::newRow("ascii " + h) << ascii << height << int(kStyleNone) << 1.0;
            QTest::newRow("kana " + h) << kana << height << int(kStyleNone) << 1.0;
            QTest::newRow("kanji " + h) << kanji << height << int(kStyleNone) << 1.0;
            QTest::newRow("half-width katakana " + h)
                << halfKana << height << int(kStyleNone) << 1.0;
            QTest::newRow("bad bytes " + h) << bad << height << int(kStyleNone) << 1.0;
            QTest::newRow("mixed underlined " + h)
                << mixed << height << int(kStyleUnderline) << 1.0;
        }
        QTest::newRow("bold underlined") << mixed << 16 << int(kStyleBold | kStyleUnderline) << 1.0;
        // Slanted glyphs reach into their neighbours' cells.
        QTest::newRow("italic") << mixed << 16 << int(kStyleItalic) << 1.0;
        QTest::newRow("bold italic bad bytes")
            << bad + ascii << 15 << int(kStyleBold | kStyleItalic) << 1.0;
        QTest::newRow("ruler size") << QByteArray("10 20 30 40") << 8 << int(kStyleNone) << 1.0;
        // Above the size Qt caches glyphs for: QPainter draws.
        QTest::newRow("large") << mixed << 60 << int(kStyleUnderline) << 1.0;
        // A negative height asks for the face without Japanese glyphs below.
        QTest::newRow("kanji from another face") << mixed << -16 << int(kStyleNone) << 1.0;
        // On screens of 150 and 200 percent the cells stand on fractional image pixels.
        QTest::newRow("mixed underlined 15 at 1.5") << mixed << 15 << int(kStyleUnderline) << 1.5;
        QTest::newRow("italic bad bytes at 1.5") << bad + kana << 16 << int(kStyleItalic) << 1.5;
        QTest::newRow("mixed underlined 16 at 2") << mixed << 16 << int(kStyleUnderline) << 2.0;
        QTest::newRow("large at 2") << mixed << 30 << int(kStyleNone) << 2.0;
    }
    void cachedTextEqualsPaintedText() {
        QFETCH(QByteArray, text);
        QFETCH(int, height);
        QFETCH(int, style);
        QFETCH(double, scale);
        const std::string bytes = text.toStdString();
        FontDescription font = Font(std::abs(height));
        if (height < 0) font.name = "DejaVu Sans Mono";
        CompareWithPainter(font, bytes, style, QImage::Format_RGB32, scale);
        if (QTest::currentTestFailed()) return;
        CompareWithPainter(font, bytes, style, QImage::Format_ARGB32_Premultiplied, scale);
        if (QTest::currentTestFailed()) return;
        // The style may come with the selected font as well as with the call.
        font.style = style;
        CompareWithPainter(font, bytes, kStyleNone, QImage::Format_RGB32, scale);
    }

    // At a device pixel ratio the image holds the screen's pixels. A glyph is made at
    // that resolution: it is the glyph of the font as large as it shows, not the small
    // one stretched. Fills of neighbouring pixels meet without gaps or overlaps, and
    // XOR drawn twice still restores.
    void scaledImageHoldsDevicePixels_data() {
        QTest::addColumn<double>("scale");
        QTest::newRow("200 percent") << 2.0;
        QTest::newRow("150 percent") << 1.5;
    }
    void scaledImageHoldsDevicePixels() {
        QFETCH(double, scale);
        FontCache fonts;
        const QRgb white = qRgb(255, 255, 255);
        QImage scaled = Scaled(Blank(Dev(60, scale), Dev(40, scale), white), scale);
        QtCanvas canvas(fonts, &scaled);
        canvas.SetFont(EditorFont16());
        canvas.TextOut(3, 5, {0, 0, 60, 40}, "\x8A\xBF", kBlack, kWhite, false);
        QImage large = Blank(Dev(60, scale), Dev(40, scale), white);
        canvas.SetImage(&large);
        canvas.SetFont(Font(Dev(16, scale)));
        canvas.TextOut(Dev(3, scale), Dev(5, scale), {0, 0, 100, 100}, "\x8A\xBF", kBlack, kWhite,
                       false);
        const QRect ink = Ink(scaled, white);
        QVERIFY(ink.width() > 16);
        QCOMPARE(Scaled(scaled.copy(ink), 1), large.copy(Ink(large, white)));
        QVERIFY(std::abs(ink.left() - Dev(3, scale)) <= 2);

        QImage pattern = Scaled(Pattern(Dev(41, scale), Dev(21, scale)), scale);
        const QImage original = pattern;
        canvas.SetImage(&pattern);
        for (int x = 0; x < 41; ++x) canvas.FillRect({x, 0, x + 1, 10}, x % 2 ? kBlack : kWhite);
        QCOMPARE(CountPixels(pattern, qRgb(0, 0, 0)) + CountPixels(pattern, white),
                 pattern.width() * Dev(10, scale));
        pattern = original;
        canvas.SetImage(&pattern);
        auto draw = [&] {
            canvas.Line(10, 0, 10, 8, 0x00FFFF, 5, PenMode::Xor);
            canvas.Line(0, 20, 40, 0, 0xFFFFFF, 1, PenMode::Xor);
            for (int x = 1; x < 40; x += 2)
                canvas.Line(x, 15, x + 1, 15, 0x808080, 1, PenMode::Xor);
        };
        draw();
        QVERIFY(pattern != original);
        draw();
        QCOMPARE(pattern, original);
    }

    // Identity only means something when the cache is in use.
    void cacheIsUsedForEditorSizes() {
        FontCache fonts;
        QImage img = Blank(200, 40);
        QtCanvas canvas(fonts, &img);
        canvas.SetFont(EditorFont16());
        canvas.TextOut(0, 0, {0, 0, 200, 40}, "Ab\x8A\xBF\xB1\x85\x40", kBlack, kWhite, true);
        const GlyphCache& cache = canvas.Glyphs();
        QCOMPARE(cache.GlyphCount(), std::size_t{5});
        for (int i = 0; i < 5; ++i) QVERIFY(cache.Mask(i).exact);
        // A kanji the face lacks comes from another face and is cached all the same.
        FontDescription latin = EditorFont16();
        latin.name = "DejaVu Sans Mono";
        canvas.SetFont(latin);
        const CellGlyph* g = nullptr;
        canvas.CurrentFont().CharAt("\x8A\xBF", 0, &g);
        QCOMPARE(g->index, 0u);
        canvas.TextOut(0, 0, {0, 0, 200, 40}, "\x8A\xBF", kBlack, kWhite, true);
        QCOMPARE(cache.GlyphCount(), std::size_t{6});
        QVERIFY(cache.Mask(5).exact && cache.Mask(5).width > 8);
        canvas.SetFont(Font(60));
        canvas.TextOut(0, 0, {0, 0, 200, 40}, "Cd", kBlack, kWhite, true);
        QCOMPARE(cache.GlyphCount(), std::size_t{6});
    }

    // A bold run in one font must not be drawn in the bold of the font selected before.
    void styledFontFollowsTheSelectedFont() {
        FontCache fonts;
        QImage first = Blank(200, 30, qRgb(255, 255, 255));
        QImage fresh = first;
        QtCanvas canvas(fonts, &first);
        canvas.SetFont(Font(12));
        canvas.TextOut(0, 0, {0, 0, 200, 30}, "http", kBlack, kWhite, true, kStyleBold);
        canvas.SetFont(Font(20));
        canvas.TextOut(0, 0, {0, 0, 200, 30}, "http", kBlack, kWhite, true, kStyleBold);
        QtCanvas other(fonts, &fresh);
        other.SetFont(Font(20));
        other.TextOut(0, 0, {0, 0, 200, 30}, "http", kBlack, kWhite, true, kStyleBold);
        QCOMPARE(first, fresh);
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
        // A ratio no screen has is refused rather than drawn at an absurd size.
        QImage scaled = Blank(8, 8);
        scaled.setDevicePixelRatio(100.0);
        canvas.SetImage(&scaled);
        canvas.FillRect({0, 0, 8, 8}, kBlack);
        QCOMPARE(CountPixels(scaled, kSentinel), 64);
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::QtCanvasTest)
#include "QtCanvasTest.moc"
