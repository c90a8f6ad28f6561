#include "core/syxfile.h"

// Placeholder bodies until the reader and writer are in.

QString SyxReadReport::summary() const
{
    return QString();
}

SyxReadReport SyxFile::parse(const QByteArray &)
{
    return {};
}

SyxReadReport SyxFile::read(const QString &)
{
    return {};
}

QByteArray SyxFile::temporaryPatch(const PatchImage &, int)
{
    return {};
}

QByteArray SyxFile::placePatch(const PatchImage &, bool, int, int)
{
    return {};
}

QByteArray SyxFile::bank(const PatchBank &, int)
{
    return {};
}

PatchBank SyxFile::toBank(const SyxReadReport &, int *)
{
    return {};
}

FileResult SyxFile::write(const QString &, const QByteArray &)
{
    return {};
}

bool SyxFile::hasSyxSuffix(const QString &path)
{
    return path.endsWith(QLatin1String(Suffix), Qt::CaseInsensitive);
}
