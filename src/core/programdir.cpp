#include "core/programdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
constexpr char InstalledDataFolder[] = "../share/tessiva";

QString withSlash(const QString &dir)
{
    QString d = QDir::cleanPath(dir);
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}
} // namespace

QString FindProgramDir(const QStringList &candidates)
{
    for (const QString &dir : candidates) {
        if (QFileInfo(QDir(dir).filePath(QLatin1String(ExpansionFolderName))).exists())
            return withSlash(dir);
    }
    // The working folder is where the program looked before there was any
    // other place, so it stays the answer when nothing is installed.
    return candidates.isEmpty() ? withSlash(QDir::currentPath()) : withSlash(candidates.last());
}

QStringList ProgramDirCandidates()
{
    QStringList dirs;
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        dirs << exeDir << QDir(exeDir).filePath(QLatin1String(InstalledDataFolder));
    }
    dirs << QDir::currentPath();
    return dirs;
}

QString ProgramDir()
{
    return FindProgramDir(ProgramDirCandidates());
}
