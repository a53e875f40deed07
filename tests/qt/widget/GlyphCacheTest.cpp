#include <QImage>
#include <QtTest>
#include <algorithm>
#include <string>
#include <vector>

#include "qt/widget/EditorFont.h"
#include "qt/widget/FontCache.h"
#include "qt/widget/GlyphCache.h"
#include "qt/widget/MaskBlend.h"
#include "qt/widget/QtCanvas.h"

namespace zentabo {
namespace {

FontDescription Font16() {
    FontDescription d;
    d.height = 16;
    return d;
}

// Every double-byte character of one lead byte, kanji for 0x88 to 0x9F.
std::string AllOfLead(unsigned char lead) {
    std::string s;
    for (int t = 0x40; t <= 0xFC; ++t) {
        if (t == 0x7F) continue;
        s += static_cast<char>(lead);
        s += static_cast<char>(t);
    }
    return s;
}

}  // namespace

class GlyphCacheTest : public QObject {
    Q_OBJECT

private slots:
    // Four channels share each multiply: no channel may carry into its neighbour, for
    // any text colour, background and coverage.
    void channelsBlendIndependently() {
        int wrong = 0;
        for (uint32_t src = 0; src < 256; ++src) {
            for (uint32_t dst = 0; dst < 256; ++dst) {
                const uint32_t packedSrc = 0xFF000000u | src << 16 | (255 - src) << 8 | src;
                const uint32_t packedDst = 0xFF000000u | dst << 16 | dst << 8 | (255 - dst);
                for (uint32_t c = 0; c < 256; ++c) {
                    const uint32_t red =
                        BlendCoverage(0xFF000000u | dst << 16, 0xFF000000u | src << 16, c);
                    const uint32_t green =
                        BlendCoverage(0xFF000000u | dst << 8, 0xFF000000u | (255 - src) << 8, c);
                    const uint32_t blue =
                        BlendCoverage(0xFF000000u | (255 - dst), 0xFF000000u | src, c);
                    const uint32_t whole = BlendCoverage(packedDst, packedSrc, c);
                    wrong += whole !=
                             (0xFF000000u | (red & 0xFF0000u) | (green & 0xFF00u) | (blue & 0xFFu));
                    wrong += (red | green | blue) >> 24 != 0xFFu;
                }
            }
        }
        QCOMPARE(wrong, 0);
        QCOMPARE(BlendCoverage(0xFF102030u, 0xFFFFFFFFu, 0), 0xFF102030u);
        QCOMPARE(BlendCoverage(0xFF102030u, 0xFFA0B0C0u, 255), 0xFFA0B0C0u);
        // White less the coverage is how the cache reads masks off black-on-white text.
        for (uint32_t c = 0; c < 256; ++c) {
            QCOMPARE(BlendCoverage(0xFFFFFFFFu, 0xFF000000u, c), 0xFFFFFFFFu - (c * 0x010101u));
        }
    }

    // Past either cap the cache starts afresh instead of growing, and records the same
    // masks again.
    void theCapsBoundMemory() {
        const TextMeasurer font(ResolveFont(Font16()));
        for (const bool byBytes : {false, true}) {
            const std::size_t maxGlyphs = byBytes ? 100000 : 300;
            const std::size_t maxBytes = byBytes ? 20000 : 100000000;
            GlyphCache cache(maxGlyphs, maxBytes);
            std::vector<unsigned char> first;
            GlyphMask firstMask;
            int restarts = 0;
            for (unsigned char lead = 0x88; lead <= 0x8B; ++lead) {
                const std::string text = AllOfLead(lead);
                const std::size_t before = cache.GlyphCount();
                cache.Trim();
                restarts += cache.GlyphCount() < before;
                QVERIFY(cache.GlyphCount() <= maxGlyphs && cache.ByteCount() <= maxBytes);
                for (std::size_t i = 0; i < text.size(); i += 2) {
                    const CellGlyph* g = nullptr;
                    font.CharAt(text, i, &g);
                    const GlyphMask& m = cache.Mask(cache.Find(font, *g));
                    QVERIFY(m.exact);
                    if (lead == 0x88 && i == 0) {
                        firstMask = m;
                        first.assign(cache.Coverage(m), cache.Coverage(m) + m.width * m.height);
                    }
                }
            }
            QVERIFY(restarts > 0);
            cache.Trim();
            const CellGlyph* g = nullptr;
            font.CharAt("\x88\x40", 0, &g);
            const GlyphMask& again = cache.Mask(cache.Find(font, *g));
            QCOMPARE(again.left, firstMask.left);
            QCOMPARE(again.top, firstMask.top);
            QCOMPARE(again.width, firstMask.width);
            QCOMPARE(again.height, firstMask.height);
            QVERIFY(std::equal(first.begin(), first.end(), cache.Coverage(again)));
        }
    }

    // Text drawn as the cache starts afresh within a row's calls is still right.
    void drawingAcrossAFreshStart() {
        FontCache fonts;
        QImage painted(3200, 20, QImage::Format_RGB32);
        painted.fill(Qt::white);
        QImage blended = painted;
        QtCanvas canvas(fonts, &blended);
        QtCanvas reference(fonts, &painted);
        reference.SetGlyphCacheEnabled(false);
        canvas.SetFont(Font16());
        reference.SetFont(Font16());
        std::size_t largest = 0;
        for (unsigned char lead = 0x88; lead <= 0x9F; ++lead) {
            for (QtCanvas* c : {&canvas, &reference}) {
                c->TextOut(0, 0, {0, 0, 3200, 20}, AllOfLead(lead), 0, 0xFFFFFF, true);
                c->TextOut(3, 1, {0, 0, 3200, 20}, "Ab\x88\x9F", 0x0000FF, 0, false);
            }
            largest = std::max(largest, canvas.Glyphs().GlyphCount());
        }
        QCOMPARE(blended, painted);
        QVERIFY(largest > 4000);
    }

    // Qt blends differently into non-premultiplied images: those are left to QPainter.
    void nonPremultipliedImagesArePainted() {
        FontCache fonts;
        QImage painted(100, 20, QImage::Format_ARGB32);
        painted.fill(qRgba(40, 80, 120, 128));
        QImage blended = painted;
        QtCanvas canvas(fonts, &blended);
        canvas.SetFont(Font16());
        canvas.TextOut(0, 0, {0, 0, 100, 20}, "Wag\x8A\xBF", 0x00FF00, 0, false);
        QCOMPARE(canvas.Glyphs().GlyphCount(), std::size_t{0});
        QtCanvas reference(fonts, &painted);
        reference.SetGlyphCacheEnabled(false);
        reference.SetFont(Font16());
        reference.TextOut(0, 0, {0, 0, 100, 20}, "Wag\x8A\xBF", 0x00FF00, 0, false);
        QCOMPARE(blended, painted);
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::GlyphCacheTest)
#include "GlyphCacheTest.moc"
