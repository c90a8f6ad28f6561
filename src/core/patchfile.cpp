#include "core/patchfile.h"

#include "core/atomicfile.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr int DefaultNameLength = 8;
constexpr char Placeholder = '_';
constexpr char FirstNameChar = '0';
constexpr char LastNameChar = 'z';
constexpr std::uint8_t MaxDataByte = 0x7F;

// Characters of '0'..'z' that would make a drive or folder part, or that
// some systems refuse in a file name.
bool unusableInFileName(char c)
{
    return c == ':' || c == '<' || c == '>' || c == '?' || c == '\\';
}

QString sizeProblem(qint64 size)
{
    return QStringLiteral("is not a patch file: it holds %1 bytes, a patch file holds exactly %2.")
        .arg(size)
        .arg(PatchFile::FileSize);
}
} // namespace

QByteArray PatchFile::toBytes(const PatchImage &image)
{
    QByteArray out;
    out.reserve(FileSize);
    for (int k = 0; k < addr::SlotCount; ++k)
        out.append(reinterpret_cast<const char *>(image.slotData(k)), BlockSize);
    return out;
}

QString PatchFile::problem(const QByteArray &bytes)
{
    if (bytes.size() != FileSize)
        return sizeProblem(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = std::uint8_t(bytes[i]);
        if (b > MaxDataByte)
            return QStringLiteral("is not a patch file: byte %1 is %2, but every byte of a patch "
                                  "file is below 80 hex.")
                .arg(i)
                .arg(QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper());
    }
    return {};
}

void PatchFile::fromBytes(const QByteArray &bytes, PatchImage &image)
{
    for (int k = 0; k < addr::SlotCount; ++k)
        for (int i = 0; i < BlockSize; ++i)
            image.set(k, i, std::uint8_t(bytes[k * BlockSize + i]));
}

FileResult PatchFile::Read(const QString &path, PatchImage &image)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return AtomicFile::failure(path, AtomicFile::NotRegular);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return AtomicFile::failure(path,
                                   QStringLiteral("could not be opened: %1.").arg(f.errorString()));
    // One byte more than a patch tells a long file from a right one without
    // reading all of it.
    QByteArray bytes = f.read(FileSize + 1);
    if (f.error() != QFileDevice::NoError)
        return AtomicFile::failure(path,
                                   QStringLiteral("could not be read: %1.").arg(f.errorString()));
    // A long file is told by its real size where the system knows it.
    if (bytes.size() > FileSize && !f.isSequential())
        return AtomicFile::failure(path, sizeProblem(f.size()));
    const QString why = problem(bytes);
    if (!why.isEmpty())
        return AtomicFile::failure(path, why);
    fromBytes(bytes, image);
    return FileResult{true, {}, FileSize};
}

FileResult PatchFile::Write(const QString &path, const PatchImage &image)
{
    return AtomicFile::write(path, toBytes(image));
}

QString PatchFile::DefaultFileName(const PatchImage &image)
{
    return DefaultFileName(image.name());
}

QString PatchFile::DefaultFileName(const QByteArray &stored)
{
    QString name(DefaultNameLength, QLatin1Char(Placeholder));
    for (int i = 0; i < DefaultNameLength && i < stored.size(); ++i) {
        const char c = stored.at(i);
        if (c >= FirstNameChar && c <= LastNameChar && !unusableInFileName(c))
            name[i] = QLatin1Char(c);
    }
    return name + QLatin1String(Suffix);
}

bool PatchFile::hasPatchSuffix(const QString &path)
{
    return QFileInfo(path).fileName().toLower().endsWith(QLatin1String(Suffix));
}
