#pragma once

// Fonts named by the Windows faces the forms were designed with, mapped to what this
// desktop has: "ＭＳ Ｐゴシック" to an installed proportional Japanese face, "MS Sans
// Serif" to the desktop's own sans font. Any other face is asked for as named.

#include <QFont>
#include <QString>

namespace zentabo {

QFont DesignFont(const QString& face, int pixelHeight);

}  // namespace zentabo
