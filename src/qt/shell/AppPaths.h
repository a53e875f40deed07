#pragma once

// Where the settings and the page store live: beside the executable, sharing its
// base name, so a copied program folder carries its pages along. Where that folder
// cannot be written, or where the program is installed (its desktop entry is found in
// the share folder beside its bin folder), the per-user application data folder.

#include <QString>

namespace zentabo {

struct AppPaths {
    QString SettingsPath;   // <base>.ini
    QString PageStorePath;  // <base>.ztb
};

// The executable's path with `extension` (".ini") put in place of its own extension,
// or appended where the file name has none.
QString ReplaceExtension(const QString& path, const QString& extension);

// Paths for the running program. A non-empty dataDir (used by tests only) puts both
// files in that folder under the executable's base name instead.
AppPaths ResolveAppPaths(const QString& dataDir = QString());

}  // namespace zentabo
