#include "core/recoveryfile.h"

#include "core/appsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <utility>

namespace {
constexpr char KeyChanged[] = "Changed";
constexpr char KeyPatchFile[] = "PatchFile";
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

bool RecoveryFile::exists() const
{
    return QFileInfo::exists(patchPath());
}

FileResult RecoveryFile::write(const Contents &contents) const
{
    if (!QDir().mkpath(folder_))
        return FileResult{false, QStringLiteral("The folder %1 could not be made.").arg(folder_),
                          0};
    FileResult result = PatchFile::Write(patchPath(), contents.image);
    if (!result)
        return result;
    QSettings info(path(InfoName), QSettings::IniFormat);
    info.setValue(QLatin1String(KeyChanged), contents.changed.toString(Qt::ISODate));
    info.setValue(QLatin1String(KeyPatchFile), contents.patchFile);
    info.sync();
    if (info.status() != QSettings::NoError)
        return FileResult{false, QStringLiteral("%1 could not be written.").arg(path(InfoName)), 0};
    return result;
}

FileResult RecoveryFile::read(Contents &contents) const
{
    PatchImage image;
    FileResult result = PatchFile::Read(patchPath(), image);
    if (!result)
        return result;
    contents.image = image;
    contents.changed = QFileInfo(patchPath()).lastModified();
    contents.patchFile.clear();
    const QSettings info(path(InfoName), QSettings::IniFormat);
    if (info.status() == QSettings::NoError) {
        const QDateTime changed =
            QDateTime::fromString(info.value(QLatin1String(KeyChanged)).toString(), Qt::ISODate);
        if (changed.isValid())
            contents.changed = changed;
        contents.patchFile = info.value(QLatin1String(KeyPatchFile)).toString();
    }
    return result;
}

bool RecoveryFile::remove() const
{
    QFile::remove(path(InfoName));
    QFile::remove(patchPath());
    return !exists();
}

bool RecoveryFile::setAside() const
{
    const auto move = [this](const char *from, const char *to) {
        if (!QFileInfo::exists(path(from)))
            return true;
        QFile::remove(path(to));
        return QFile::rename(path(from), path(to));
    };
    const bool info = move(InfoName, AsideInfoName);
    return move(PatchName, AsideName) && info;
}
