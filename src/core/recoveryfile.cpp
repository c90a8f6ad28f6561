#include "core/recoveryfile.h"

#include "core/appsettings.h"
#include "core/atomicfile.h"
#include "core/performancesyx.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <utility>

namespace {
constexpr char KeyChanged[] = "Changed";
constexpr char KeyPatchFile[] = "PatchFile";
// The dump is the editor's own: any unit ID would do, reading ignores it.
constexpr int DumpUnitId = 17;
} // namespace

QString RecoveryFile::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1Char('/') + QLatin1String(AppSettings::Organisation) + QLatin1Char('/') +
           QLatin1String(AppSettings::Application);
}

RecoveryFile::RecoveryFile(QString folder) : folder_(std::move(folder)) {}

QString RecoveryFile::path(const char *name) const
{
    return QDir(folder_).filePath(QLatin1String(name));
}

QString RecoveryFile::patchPath() const
{
    return path(PatchName);
}

QString RecoveryFile::setsPath() const
{
    return path(SetsName);
}

bool RecoveryFile::exists() const
{
    return QFileInfo::exists(patchPath()) || QFileInfo::exists(setsPath());
}

FileResult RecoveryFile::write(const Contents &contents) const
{
    if (!QDir().mkpath(folder_))
        return FileResult{false, QStringLiteral("The folder %1 could not be made.").arg(folder_),
                          0};
    FileResult result{true, QString(), 0};
    if (contents.hasPatch) {
        result = PatchFile::Write(patchPath(), contents.image);
        if (!result)
            return result;
    }
    QByteArray dump;
    if (contents.performance)
        dump += PerformanceSyx::temporaryPerformance(*contents.performance, DumpUnitId);
    if (contents.rhythm)
        dump += PerformanceSyx::temporaryRhythm(*contents.rhythm, DumpUnitId);
    if (!dump.isEmpty()) {
        const FileResult written = PerformanceSyx::write(setsPath(), dump);
        if (!written)
            return written;
        result.bytes += written.bytes;
    }
    // What is no longer changed goes only once the rest is safe.
    if (!contents.hasPatch)
        QFile::remove(patchPath());
    if (dump.isEmpty())
        QFile::remove(setsPath());
    QSettings info(path(InfoName), QSettings::IniFormat);
    info.setValue(QLatin1String(KeyChanged), contents.changed.toString(Qt::ISODate));
    info.setValue(QLatin1String(KeyPatchFile), contents.patchFile);
    info.sync();
    if (info.status() != QSettings::NoError)
        return FileResult{false, QStringLiteral("%1 could not be written.").arg(path(InfoName)), 0};
    return result;
}

FileResult RecoveryFile::readSets(Contents &contents) const
{
    const PerformanceSyxReport report = PerformanceSyx::read(setsPath());
    if (!report.ok)
        return FileResult{false, report.error, 0};
    // Whatever else it holds is no dump of the editor's: none of it counts.
    if (report.skipped > 0 || !report.problems.isEmpty())
        return AtomicFile::failure(setsPath(),
                                   QStringLiteral("is damaged: %1.").arg(report.problems.value(0)));
    contents.performance = report.performance;
    contents.rhythm = report.rhythm;
    return FileResult{true, QString(), QFileInfo(setsPath()).size()};
}

FileResult RecoveryFile::read(Contents &contents) const
{
    const bool patch = QFileInfo::exists(patchPath());
    const bool sets = QFileInfo::exists(setsPath());
    if (!patch && !sets)
        return AtomicFile::failure(patchPath(), QStringLiteral("does not exist."));
    Contents found;
    found.hasPatch = patch;
    FileResult result{true, QString(), 0};
    if (patch) {
        result = PatchFile::Read(patchPath(), found.image);
        if (!result)
            return result;
    }
    if (sets) {
        const FileResult dump = readSets(found);
        if (!dump)
            return dump;
        result.bytes += dump.bytes;
    }
    found.changed = QFileInfo(patch ? patchPath() : setsPath()).lastModified();
    const QSettings info(path(InfoName), QSettings::IniFormat);
    if (info.status() == QSettings::NoError) {
        const QDateTime changed =
            QDateTime::fromString(info.value(QLatin1String(KeyChanged)).toString(), Qt::ISODate);
        if (changed.isValid())
            found.changed = changed;
        found.patchFile = info.value(QLatin1String(KeyPatchFile)).toString();
    }
    contents = found;
    return result;
}

bool RecoveryFile::remove() const
{
    QFile::remove(path(InfoName));
    QFile::remove(patchPath());
    QFile::remove(setsPath());
    return !exists();
}

bool RecoveryFile::setAside() const
{
    const auto move = [this](const char *from, const char *to) {
        // An older aside file of a kind this recovery lacks would pair
        // with the wrong ones.
        QFile::remove(path(to));
        if (!QFileInfo::exists(path(from)))
            return true;
        return QFile::rename(path(from), path(to));
    };
    const bool info = move(InfoName, AsideInfoName);
    const bool sets = move(SetsName, AsideSetsName);
    return move(PatchName, AsideName) && info && sets;
}
