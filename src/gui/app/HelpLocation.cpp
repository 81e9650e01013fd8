#include "gui/app/HelpLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace probex {

namespace {

/// The first of the places where the program may find a file it ships: `installed` under
/// ../share/probex of an installed program, `source` in a build or source tree.
QString FindShipped(const QString& programDir, const QString& installed, const QString& source,
                    bool folder) {
    const QDir dir(programDir);
    // A build tree that was never installed finds the file in the source tree.
    const QString sourceRoot = QStringLiteral(PROBEX_SOURCE_DIR);
    const QStringList candidates = {
        dir.filePath(source),
        dir.filePath(installed),
        dir.filePath(QStringLiteral("../share/probex/") + installed),
        dir.filePath(QStringLiteral("../") + source),
        dir.filePath(QStringLiteral("../../") + source),
        QDir(sourceRoot).filePath(source),
    };
    for (const QString& candidate : candidates) {
        const QFileInfo info(candidate);
        if (folder ? info.isDir() : info.isFile()) return info.canonicalFilePath();
    }
    return {};
}

} // namespace

QString FindHelpFile(const QString& programDir) {
    return FindShipped(programDir, QStringLiteral("help/index.html"),
                       QStringLiteral("docs/help/index.html"), false);
}

QString FindExamplesFolder(const QString& programDir) {
    return FindShipped(programDir, QStringLiteral("examples"), QStringLiteral("examples"), true);
}

} // namespace probex
