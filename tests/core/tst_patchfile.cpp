#include "core/patchfile.h"
#include "savefailure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>

class TestPatchFile : public QObject
{
    Q_OBJECT

    QString path(const char *name) const { return dir_->filePath(QLatin1String(name)); }
    std::unique_ptr<QTemporaryDir> dir_;

    static PatchImage patterned()
    {
        PatchImage img;
        for (int k = 0; k < addr::SlotCount; ++k)
            for (int i = 0; i < addr::SlotSize; ++i)
                img.set(k, i, std::uint8_t((k * 31 + i * 7 + 3) & 0x7F));
        return img;
    }

private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void saveThenOpenReproducesEveryByte()
    {
        const PatchImage saved = patterned();
        const FileResult w = PatchFile::Write(path("p.pat"), saved);
        QVERIFY2(w.ok, qPrintable(w.error));
        QCOMPARE(w.bytes, 645);
        QCOMPARE(QFileInfo(path("p.pat")).size(), 645);

        PatchImage read;
        // The two bytes past each block are not in the file and must survive.
        for (int k = 0; k < addr::SlotCount; ++k) {
            read.set(k, 129, 0x55);
            read.set(k, 130, 0x66);
        }
        const FileResult r = PatchFile::Read(path("p.pat"), read);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.error, QString());
        for (int k = 0; k < addr::SlotCount; ++k) {
            for (int i = 0; i < PatchFile::BlockSize; ++i)
                QCOMPARE(read.at(k, i), saved.at(k, i));
            QCOMPARE(read.at(k, 129), 0x55);
            QCOMPARE(read.at(k, 130), 0x66);
        }
    }

    void fileLayoutIsFiveBlocks()
    {
        PatchImage img;
        img.set(0, 0x80, 0x11);
        img.set(1, 0x00, 0x21);
        img.set(4, 0x80, 0x7F);
        img.set(2, 129, 0x44); // outside the block: never written
        const QByteArray bytes = PatchFile::toBytes(img);
        QCOMPARE(bytes.size(), 645);
        QCOMPARE(bytes.left(12), QByteArray("InitPatch   "));
        QCOMPARE(bytes.mid(128, 4), QByteArray::fromHex("11210001"));
        QCOMPARE(bytes.mid(257, 4), QByteArray::fromHex("00000001"));
        QCOMPARE(bytes.right(1), QByteArray::fromHex("7f"));
        QVERIFY(!bytes.contains(char(0x44)));
    }

    void refusedFileLeavesImage_data()
    {
        QTest::addColumn<QByteArray>("contents"); // written unless null
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        const QByteArray good(645, 0x01);
        QByteArray high = good;
        high[300] = char(0x80);
        QByteArray last = good;
        last[644] = char(0xF7);
        const std::tuple<const char *, QByteArray, const char *, const char *> rows[] = {
            {"short", good.left(644), "short.pat", "holds 644 bytes"},
            {"empty", QByteArray(""), "empty.pat", "holds 0 bytes"},
            {"one byte long", good + "\x01", "long.pat", "holds 646 bytes"},
            {"8-bit byte", high, "high.pat", "byte 300 is 80"},
            {"8-bit last byte", last, "last.pat", "byte 644 is F7"},
            {"missing", QByteArray(), "none.pat", "could not be opened"},
            {"a folder", QByteArray(), ".", "could not be"},
            {"a device", QByteArray(), "/dev/zero", "is not a regular file"}};
        for (const auto &[row, contents, name, reason] : rows)
            QTest::newRow(row) << contents << QString(name) << QString(reason);
    }

    void refusedFileLeavesImage()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString file = QDir::cleanPath(QDir(dir_->path()).filePath(name));
        if (!contents.isNull()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contents);
        }
        PatchImage img = patterned();
        const PatchImage before = img;
        const FileResult r = PatchFile::Read(file, img);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QDir::toNativeSeparators(file)), qPrintable(r.error));
        QVERIFY2(r.error.contains(reason), qPrintable(r.error));
        QVERIFY(img == before);
    }

    void failedSaveNamesFileAndReason_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder missing") << "nowhere/p.pat"
                                        << "could not be created: ";
        QTest::newRow("target is a folder") << "sub"
                                            << "could not be ";
        // Saving over a pipe or device would put a file in its place.
        QTest::newRow("a pipe") << "pipe" << "is not a regular file.";
    }

    void failedSaveNamesFileAndReason()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        {
            QFile f(dir_->filePath(QStringLiteral("plain.txt")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("keep");
        }
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("sub")));
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
        const QString file = dir_->filePath(target);
        const FileResult r = PatchFile::Write(file, patterned());
        QVERIFY(!r.ok);
        QCOMPARE(r.bytes, 0);
        const QString prefix = QLatin1Char('"') + QDir::toNativeSeparators(file) + "\" " + reason;
        QVERIFY2(r.error.startsWith(prefix), qPrintable(r.error));
        // The system's reason follows the colon.
        if (reason.endsWith(QLatin1String(": ")))
            QVERIFY(r.error.size() > prefix.size() + 1);
        QVERIFY(!QFileInfo(path("pipe")).isFile());
        QFile plain(dir_->filePath(QStringLiteral("plain.txt")));
        QVERIFY(plain.open(QIODevice::ReadOnly));
        QCOMPARE(plain.readAll(), QByteArray("keep"));
        QVERIFY(QFileInfo(dir_->filePath(QStringLiteral("sub"))).isDir());
    }

    // A real write failure below Qt (no space left, or no file may grow)
    // fails the save with the system's reason; the old file keeps its bytes
    // and no temporary file is left behind.
    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full file system") << true << QString::fromLocal8Bit(strerror(ENOSPC));
        QTest::newRow("file size limit") << false << QString::fromLocal8Bit(strerror(EFBIG));
    }

    void failedWriteKeepsOldFile()
    {
        QFETCH(bool, fullDisk);
        QFETCH(QString, reason);
        FullFileSystem fs;
        if (fullDisk && !fs.valid())
            QSKIP("mounting a tmpfs needs root; the file size row runs the same path");
        const auto place = [&](const char *name) {
            return fullDisk ? fs.filePath(QLatin1String(name)) : path(name);
        };
        const QString file = place("old.pat");
        PatchImage old = patterned();
        QVERIFY(PatchFile::Write(file, old).ok);
        const QByteArray oldBytes = PatchFile::toBytes(old);
        if (fullDisk)
            QVERIFY(fs.fill());

        FileResult r;
        {
            std::optional<NoFileGrowth> limit;
            if (!fullDisk)
                limit.emplace();
            r = PatchFile::Write(file, PatchImage());
        }
        QVERIFY(!r.ok);
        QCOMPARE(r.bytes, 0);
        QCOMPARE(r.error, QStringLiteral("\"%1\" could not be written: %2.")
                              .arg(QDir::toNativeSeparators(file), reason));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), oldBytes);
        const QStringList left =
            fullDisk ? fs.entries() : QDir(dir_->path()).entryList(QDir::Files);
        const QStringList kept =
            fullDisk ? QStringList{"filler", "old.pat"} : QStringList{"old.pat"};
        QCOMPARE(left, kept);
    }

    void defaultFileName_data()
    {
        QTest::addColumn<QByteArray>("patchName");
        QTest::addColumn<QString>("expected");
        const std::pair<const char *, const char *> rows[] = {
            {"Strings 1   ", "Strings_.pat"}, {"InitPatch   ", "InitPatc.pat"},
            {"0z09AZaz    ", "0z09AZaz.pat"}, {"A;B=C[D]^`_ ", "A;B=C[D].pat"},
            {"{|}~!#/.-+  ", "________.pat"}, {"C:\\x<y>?@   ", "C__x_y__.pat"}};
        for (const auto &[name, file] : rows)
            QTest::newRow(name) << QByteArray(name) << QString(file);
    }

    void defaultFileName()
    {
        QFETCH(QByteArray, patchName);
        QFETCH(QString, expected);
        PatchImage img;
        for (int i = 0; i < addr::PatchNameSize; ++i)
            img.set(0, i, std::uint8_t(patchName[i]));
        QCOMPARE(PatchFile::DefaultFileName(img), expected);
    }

    void patchSuffix_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("upper case") << "C:/x/A.PAT" << true;
        QTest::newRow("mixed case") << "/home/u/b.Pat" << true;
        QTest::newRow("folder named .pat") << "/home/u.pat/b.syx" << false;
        QTest::newRow("backup of a patch") << "b.pat.bak" << false;
    }

    void patchSuffix()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QCOMPARE(PatchFile::hasPatchSuffix(name), accepted);
    }
};

QTEST_GUILESS_MAIN(TestPatchFile)
#include "tst_patchfile.moc"
