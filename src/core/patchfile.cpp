#include "core/patchfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

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

FileResult failure(const QString &path, const QString &what)
{
    return FileResult{false, QStringLiteral("\"%1\" %2").arg(QDir::toNativeSeparators(path), what),
                      0};
}
// Devices and pipes have no size to check, and a save would replace them.
const QString NotRegular = QStringLiteral("is not a regular file.");

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
        return failure(path, NotRegular);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return failure(path, QStringLiteral("could not be opened: %1.").arg(f.errorString()));
    // One byte more than a patch tells a long file from a right one without
    // reading all of it.
    QByteArray bytes = f.read(FileSize + 1);
    if (f.error() != QFileDevice::NoError)
        return failure(path, QStringLiteral("could not be read: %1.").arg(f.errorString()));
    // A long file is told by its real size where the system knows it.
    if (bytes.size() > FileSize && !f.isSequential())
        return failure(path, sizeProblem(f.size()));
    const QString why = problem(bytes);
    if (!why.isEmpty())
        return failure(path, why);
    fromBytes(bytes, image);
    return FileResult{true, {}, FileSize};
}

FileResult PatchFile::Write(const QString &path, const PatchImage &image)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return failure(path, NotRegular);
    const QByteArray bytes = toBytes(image);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return failure(path, QStringLiteral("could not be created: %1.").arg(f.errorString()));
    const auto writeFailed = [&](const QString &why) {
        f.cancelWriting();
        return failure(path, QStringLiteral("could not be written: %1.").arg(why));
    };
    // The bytes sit in Qt's buffer until the file is flushed, and commit()
    // has been seen to succeed after that flush failed on a full disk,
    // putting an empty file in place of the old one. So every step is
    // checked before the new file may replace the old.
    if (f.write(bytes) != bytes.size() || !f.flush() || f.error() != QFileDevice::NoError)
        return writeFailed(f.errorString());
#ifdef Q_OS_UNIX
    // Some file systems report a lack of space only when the data goes to
    // the disk; commit() would not say.
    if (::fsync(f.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return writeFailed(QString::fromLocal8Bit(std::strerror(errno)));
#endif
    if (!f.commit() || f.error() != QFileDevice::NoError)
        return failure(path, QStringLiteral("could not be written: %1.").arg(f.errorString()));
    return FileResult{true, {}, bytes.size()};
}

QString PatchFile::DefaultFileName(const PatchImage &image)
{
    QString name(DefaultNameLength, QLatin1Char(Placeholder));
    for (int i = 0; i < DefaultNameLength; ++i) {
        const char c = char(image.common(addr::common::Name + i));
        if (c >= FirstNameChar && c <= LastNameChar && !unusableInFileName(c))
            name[i] = QLatin1Char(c);
    }
    return name + QLatin1String(Suffix);
}

bool PatchFile::hasPatchSuffix(const QString &path)
{
    return QFileInfo(path).fileName().toLower().endsWith(QLatin1String(Suffix));
}
