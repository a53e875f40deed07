#include "qt/dialogs/DesignFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace zentabo {

namespace {

bool Installed(const QString& family) {
    const QStringList families = QFontDatabase::families();
    return families.contains(family, Qt::CaseInsensitive);
}

QString DesktopSans() {
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString ProportionalJapanese() {
    static const QString face = [] {
        for (const char* name :
             {"IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic"}) {
            const QString family = QString::fromUtf8(name);
            if (Installed(family)) return family;
        }
        // Qt's own fallback then supplies the Japanese glyphs.
        return DesktopSans();
    }();
    return face;
}

}  // namespace

QFont DesignFont(const QString& face, int pixelHeight) {
    QString family = face;
    if (face == QStringLiteral("ＭＳ Ｐゴシック"))
        family = ProportionalJapanese();
    else if (face == QStringLiteral("MS Sans Serif"))
        family = DesktopSans();
    QFont font(family);
    font.setPixelSize(pixelHeight);
    return font;
}

}  // namespace zentabo
