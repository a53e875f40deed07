#include "qt/widget/EditorFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "store/Cp932Codec.h"

namespace zentabo {
namespace {

// Smallest cell the editor can lay out; below it the geometry degenerates.
constexpr int kMinCellHeight = 4;

QFont MakeFont(const QString& family, int pixelHeight, int style) {
    QFont f(family);
    f.setPixelSize(pixelHeight);
    f.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    f.setKerning(false);
    f.setBold((style & kStyleBold) != 0);
    f.setItalic((style & kStyleItalic) != 0);
    return f;
}

bool HasFamily(const QString& family) {
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(), [&](const QString& f) {
        return f.compare(family, Qt::CaseInsensitive) == 0;
    });
}

}  // namespace

QString FallbackFixedFace() {
    static const QString face = [] {
        for (const char* name : {"IPAGothic", "IPA Gothic", "IPAゴシック", "Noto Sans Mono CJK JP",
                                 "TakaoGothic", "VL Gothic", "MS Gothic"}) {
            const QString family = QString::fromUtf8(name);
            if (IsUsableFixedFace(family)) return family;
        }
        // No Japanese fixed face at all: the system's fixed font still keeps the grid,
        // double-byte glyphs then come from Qt's own fallback.
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    return face;
}

bool IsUsableFixedFace(const QString& family) {
    if (family.isEmpty() || !HasFamily(family)) return false;
    const QFont f = MakeFont(family, 32, kStyleNone);
    if (QFontInfo(f).family().compare(family, Qt::CaseInsensitive) != 0) return false;
    const QFontMetricsF m(f);
    const qreal w = m.horizontalAdvance(QLatin1Char('0'));
    for (QChar c : QStringLiteral("iW .m")) {
        if (m.horizontalAdvance(c) != w) return false;
    }
    return w > 0;
}

ResolvedFont ResolveFont(const FontDescription& description) {
    // Settings hold the name in code page 932, as the user typed it.
    const std::u16string name = Cp932ToUtf16(description.name);
    const QString asked = QString::fromStdU16String(name);
    // FixedSys exists on some hosts as a bitmap face without Japanese glyphs.
    const bool usable = asked.compare(QLatin1String("FixedSys"), Qt::CaseInsensitive) != 0 &&
                        IsUsableFixedFace(asked);
    const QString family = usable ? asked : FallbackFixedFace();
    const int height = std::max(kMinCellHeight, description.height);

    ResolvedFont r;
    r.fellBack = !usable;
    r.font = MakeFont(family, height, description.style);
    const QFontMetricsF m(r.font);
    // The cell is wide enough for both the single-byte glyphs and half a double-byte
    // glyph, rounded up so that neighbouring glyphs never overlap.
    const qreal single = m.horizontalAdvance(QLatin1Char('0'));
    const qreal dbl = m.horizontalAdvance(QChar(0x6F22));  // a kanji
    const int cell = std::max(1, static_cast<int>(std::ceil(std::max(single, dbl / 2) - 0.01)));
    r.metrics.tmHeight = height;
    r.metrics.tmAveCharWidth = cell;
    r.ascent = std::clamp(static_cast<int>(std::lround(m.ascent())), 1, height);
    // Taken once here: the URL runs underline on every repaint.
    const QFontMetrics im(r.font);
    r.underlinePos = std::max(1, im.underlinePos());
    r.underlineWidth = std::max(1, im.lineWidth());
    return r;
}

FontDescription RulerFontDescription() {
    FontDescription d;
    d.name = "Terminal";  // not installed here: resolves to the fallback face
    d.height = 8;         // 6 points at 96 dots per inch
    return d;
}

}  // namespace zentabo
