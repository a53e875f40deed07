#include "qt/shell/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace zentabo {

QString ReplaceExtension(const QString& path, const QString& extension) {
    QFileInfo info(path);
    const QString name = info.fileName();
    // A leading dot alone ("/x/.hidden") is a name, not an extension.
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString dir = info.path();
    return (dir.isEmpty() || dir == QLatin1String(".") ? QString() : dir + QLatin1Char('/')) +
           base + extension;
}

namespace {

// QFileInfo::isWritable says little about folders on some file systems; creating a
// file is the real test.
bool CanWriteIn(const QString& dir) {
    QTemporaryFile probe(dir + QLatin1String("/.zentabo-probe-XXXXXX"));
    return probe.open();
}

// An installed program has its desktop entry in the prefix beside its bin folder. It
// keeps its files per user even where it could write beside itself (a prefix in the
// home folder), so an update of the prefix never touches the pages.
bool IsInstalled(const QString& exeDir) {
    return QFileInfo::exists(exeDir + QLatin1String("/" ZENTABO_INSTALLED_ENTRY));
}

}  // namespace

AppPaths ResolveAppPaths(const QString& dataDir) {
    QString exe = QCoreApplication::applicationFilePath();
    if (exe.isEmpty()) exe = QStringLiteral("zentabo");
    QString base = exe;
    if (!dataDir.isEmpty()) {
        base = QDir(dataDir).filePath(QFileInfo(exe).fileName());
    } else if (const QString exeDir = QFileInfo(exe).absolutePath();
               IsInstalled(exeDir) || !CanWriteIn(exeDir)) {
        const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(appData);
        base = QDir(appData).filePath(QFileInfo(exe).fileName());
    }
    return {ReplaceExtension(base, QStringLiteral(".ini")),
            ReplaceExtension(base, QStringLiteral(".ztb"))};
}

}  // namespace zentabo
