#include "core/atomicfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

const QString AtomicFile::NotRegular = QStringLiteral("is not a regular file.");

FileResult AtomicFile::failure(const QString &path, const QString &what)
{
    return FileResult{false, QStringLiteral("\"%1\" %2").arg(QDir::toNativeSeparators(path), what),
                      0};
}

FileResult AtomicFile::write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return failure(path, NotRegular);
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
