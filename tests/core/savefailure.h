#pragma once
// Real write failures for the save tests, below the file layer: a tiny
// tmpfs filled to the last byte (where the test may mount one), and a file
// size limit of 0 bytes that makes the kernel refuse every write.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>

// A tmpfs of a few pages mounted on a fresh folder and filled up. Mounting
// needs root; valid() is false where the system refuses it.
class FullFileSystem
{
public:
    FullFileSystem()
    {
        if (!dir_.isValid() || ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                                       0, "size=16k") != 0)
            return;
        mounted_ = true;
    }
    ~FullFileSystem()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    FullFileSystem(const FullFileSystem &) = delete;
    FullFileSystem &operator=(const FullFileSystem &) = delete;

    bool valid() const { return mounted_; }
    QString filePath(const QString &name) const { return dir_.filePath(name); }

    // Fills what is left with one file; true once a write was refused.
    bool fill()
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray chunk(512, 'x');
        for (int i = 0; i < 1024; ++i)
            if (filler.write(chunk) != chunk.size())
                return true;
        return false;
    }
    QStringList entries() const
    {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// While it lives, no file of this process may grow past 0 bytes: writes
// fail with EFBIG instead of raising SIGXFSZ.
class NoFileGrowth
{
public:
    NoFileGrowth()
    {
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit none = old_;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~NoFileGrowth()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    NoFileGrowth(const NoFileGrowth &) = delete;
    NoFileGrowth &operator=(const NoFileGrowth &) = delete;

private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
};
