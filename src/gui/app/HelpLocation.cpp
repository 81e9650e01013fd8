#include "gui/app/HelpLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace probex {

QString FindHelpFile(const QString& programDir) {
    const QDir dir(programDir);
    // A build tree that was never installed finds the manual in the source tree.
    const QString sourceRoot = QStringLiteral(PROBEX_SOURCE_DIR);
    const QStringList candidates = {
        dir.filePath(QStringLiteral("docs/help/index.html")),
        dir.filePath(QStringLiteral("help/index.html")),
        dir.filePath(QStringLiteral("../share/probex/help/index.html")),
        dir.filePath(QStringLiteral("../docs/help/index.html")),
        dir.filePath(QStringLiteral("../../docs/help/index.html")),
        QDir(sourceRoot).filePath(QStringLiteral("docs/help/index.html")),
    };
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).canonicalFilePath();
    return {};
}

} // namespace probex
