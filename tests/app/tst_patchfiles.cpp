// Patch files in the main window: Save, Open, dropped files and refused
// files, with the file dialog replaced by a scripted choice.

#include "core/patchfile.h"
#include "core/savefailure.h"
#include "transferrig.h"

#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {
enum SaveFailure
{
    MissingFolder,
    FullDisk,
    SizeLimit
};

const QString Changed =
    QStringLiteral(" Patch CHANGED, click Cancel to Save first.\r\r Exit TessivaW99 ?");
const QString Unchanged =
    QStringLiteral(" Patch NOT changed since last save.\r\r Exit TessivaW99 ?");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void dropFiles(QWidget &target, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    // A drop goes where the drag entered.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
}
} // namespace

class TestPatchFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void saveThenOpenReproducesEveryByte();
    void saveProposesTheNameAndCancelKeepsAll_data();
    void saveProposesTheNameAndCancelKeepsAll();
    void refusedFilesChangeNothing_data();
    void refusedFilesChangeNothing();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void droppedFiles_data();
    void droppedFiles();

private:
    // The exit question as the close button would ask it now.
    QString exitQuestion();
    void chooseFile(const QString &path);

    std::unique_ptr<TransferRig> rig;
    std::unique_ptr<QTemporaryDir> folder;
    QString tempPath(const char *name) const { return folder->filePath(QLatin1String(name)); }
    QList<FileDialogRequest> asked;
};

void TestPatchFiles::init()
{
    folder = std::make_unique<QTemporaryDir>();
    rig = std::make_unique<TransferRig>();
    QVERIFY(rig->openMidi());
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig->form));
    rig->info.messages.clear();
    asked.clear();
}

void TestPatchFiles::cleanup()
{
    rig.reset();
}

QString TestPatchFiles::exitQuestion()
{
    rig->info.questions.clear();
    rig->form.FormCloseQuery();
    const QString q = rig->info.questions.value(0);
    return q.mid(q.indexOf(QLatin1Char('|')) + 1);
}

void TestPatchFiles::chooseFile(const QString &path)
{
    rig->files->setFileChooser([this, path](const FileDialogRequest &r) {
        asked << r;
        return path;
    });
}

void TestPatchFiles::saveThenOpenReproducesEveryByte()
{
    const QString file = tempPath("round.pat");
    rig->fillImage("Round Trip", 3);
    // What the fifth slot byte holds beyond the common block goes along too.
    rig->state.patchImage.set(0, 0x50, 0x2A);
    const PatchImage saved = rig->state.patchImage;
    rig->state.PatchModified = true;
    chooseFile(file);
    QTest::keyClick(&rig->form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].save);
    QCOMPARE(rig->child<QLabel>("LInfo")->text(), QStringLiteral("645 bytes ok"));
    QCOMPARE(rig->form.PatchFileName, file);
    QCOMPARE(rig->form.LastPatchFile, file);
    QVERIFY(rig->form.windowTitle().contains(file));
    QCOMPARE(exitQuestion(), Unchanged);

    rig->state.patchImage.Initialise();
    rig->form.LastPatchFile.clear();
    QTest::keyClick(&rig->form, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(asked.size(), 2);
    QVERIFY(!asked[1].save);
    QCOMPARE(PatchFile::toBytes(rig->state.patchImage), PatchFile::toBytes(saved));
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text(), QStringLiteral("Round Trip  "));
    // Opening sends the patch at once, which counts as a change.
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->unitBlock(k), rig->imageBlock(k));
    QCOMPARE(exitQuestion(), Changed);
    QVERIFY(rig->info.messages.isEmpty());
}

void TestPatchFiles::saveProposesTheNameAndCancelKeepsAll_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("space in name") << QByteArray("Strings 1") << "Strings_.pat";
    QTest::newRow("initial patch") << QByteArray("InitPatch   ") << "InitPatc.pat";
}

void TestPatchFiles::saveProposesTheNameAndCancelKeepsAll()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, proposed);
    rig->fillImage(name, 4);
    rig->state.PatchModified = true;
    const QString title = rig->form.windowTitle();
    chooseFile(QString());
    rig->child<QAction>("MSave")->trigger();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].proposed, proposed);
    QCOMPARE(asked[0].filter,
             QStringLiteral("Patch Files (*.pat);;Sysex Files (*.syx);;All Files (*.*)"));
    QVERIFY(rig->form.PatchFileName.isEmpty());
    QCOMPARE(rig->form.windowTitle(), title);
    QVERIFY(rig->state.PatchModified);

    rig->form.LastPatchFile = tempPath("last.pat");
    rig->child<QAction>("MOpen")->trigger();
    QCOMPARE(asked[1].proposed, rig->form.LastPatchFile);
    QVERIFY(rig->form.PatchFileName.isEmpty());
    QVERIFY(rig->engine().received().isEmpty());
}

void TestPatchFiles::refusedFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("one byte short") << QByteArray(644, 0) << "644 bytes";
    QTest::newRow("one byte long") << QByteArray(646, 0) << "646 bytes";
    QByteArray high(645, 0);
    high[300] = char(0x80);
    QTest::newRow("8-bit byte") << high << "byte 300";
}

void TestPatchFiles::refusedFilesChangeNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString file = tempPath("bad.pat");
    writeFile(file, bytes);
    rig->fillImage("Untouched", 9);
    rig->form.B_UpdateAllClick();
    const PatchImage before = rig->state.patchImage;
    rig->form.PatchFileName = tempPath("old.pat");
    rig->form.LastPatchFile = rig->form.PatchFileName;
    rig->form.UpdateCaption();
    const QString title = rig->form.windowTitle();

    for (int way = 0; way < 2; ++way) { // Open, then drop
        rig->info.messages.clear();
        if (way == 0) {
            chooseFile(file);
            rig->child<QAction>("MOpen")->trigger();
        } else {
            dropFiles(rig->form, {file});
        }
        QCOMPARE(rig->info.messages.size(), 1);
        const QString shown = rig->info.messages.first();
        QVERIFY2(shown.contains(QLatin1String("bad.pat")) && shown.contains(reason),
                 qPrintable(shown));
        QVERIFY(rig->state.patchImage == before);
        QCOMPARE(rig->child<QLineEdit>("EPtchName")->text(), QStringLiteral("Untouched   "));
        QCOMPARE(rig->form.PatchFileName, tempPath("old.pat"));
        QCOMPARE(rig->form.LastPatchFile, rig->form.PatchFileName);
        QCOMPARE(rig->form.windowTitle(), title);
        QVERIFY(rig->engine().received().isEmpty());
    }
}

// The editor's Save goes through the same file code as the command line:
// a failure below the program is told with the system's reason, the old
// file stays whole and the patch still counts as unsaved.
void TestPatchFiles::failedSaveChangesNothing_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder missing") << int(MissingFolder) << "could not be created: ";
    QTest::newRow("full file system")
        << int(FullDisk) << QStringLiteral("could not be written: %1.").arg(strerror(ENOSPC));
    QTest::newRow("file size limit")
        << int(SizeLimit) << QStringLiteral("could not be written: %1.").arg(strerror(EFBIG));
}

void TestPatchFiles::failedSaveChangesNothing()
{
    QFETCH(int, failure);
    QFETCH(QString, reason);
    FullFileSystem fs;
    if (failure == FullDisk && !fs.valid())
        QSKIP("mounting a tmpfs needs root; the file size row runs the same path");
    QString file = tempPath("no/such/folder/x.pat");
    QByteArray old;
    if (failure != MissingFolder) {
        file = failure == FullDisk ? fs.filePath(QStringLiteral("x.pat")) : tempPath("x.pat");
        old = QByteArray(PatchFile::FileSize, 0x05);
        writeFile(file, old);
        if (failure == FullDisk)
            QVERIFY(fs.fill());
    }
    rig->fillImage("New Sound", 5);
    rig->state.PatchModified = true;
    chooseFile(file);
    {
        std::optional<NoFileGrowth> limit;
        if (failure == SizeLimit)
            limit.emplace();
        rig->child<QAction>("MSave")->trigger();
    }
    QCOMPARE(rig->info.messages.size(), 1);
    QVERIFY2(rig->info.messages.first().startsWith(
                 QStringLiteral("\"%1\" %2").arg(QDir::toNativeSeparators(file), reason)),
             qPrintable(rig->info.messages.first()));
    QVERIFY(rig->form.PatchFileName.isEmpty());
    QVERIFY(rig->form.LastPatchFile.isEmpty());
    QVERIFY(rig->state.PatchModified);
    QVERIFY(rig->child<QLabel>("LInfo")->text().isEmpty());
    if (!old.isEmpty()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
    }
}

void TestPatchFiles::droppedFiles_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("lext");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("message"); // what the refusal says, in part
    QTest::newRow("upper-case .PAT") << QStringList{"A.PAT"} << ".pat OK, Pat" << true << "";
    // A .syx goes to the sysex reader, which finds no dump in a patch file.
    QTest::newRow("sysex first of two")
        << QStringList{"dump.syx", "c.pat"} << ".syx OK, Syx" << false << "dump.syx\": ";
    QTest::newRow("neither") << QStringList{"notes.txt"} << ".txt No Pat file" << false
                             << "Only *.pat and *.syx files can be dropped.";
}

void TestPatchFiles::droppedFiles()
{
    QFETCH(QStringList, names);
    QFETCH(QString, lext);
    QFETCH(bool, loaded);
    QFETCH(QString, message);
    PatchImage file;
    file.Initialise();
    for (int i = 0; i < addr::PatchNameSize; ++i)
        file.set(0, i, std::uint8_t("Dropped Patc"[i]));
    QStringList paths;
    for (const QString &n : names) {
        paths << folder->filePath(n);
        writeFile(paths.last(), PatchFile::toBytes(file));
    }
    const PatchImage before = rig->state.patchImage;
    dropFiles(rig->form, paths);
    QCOMPARE(rig->child<QLabel>("Lext")->text(), lext);
    if (loaded) {
        QVERIFY(rig->info.messages.isEmpty());
        QCOMPARE(rig->state.patchImage.name(), QByteArray("Dropped Patc"));
        QCOMPARE(rig->form.PatchFileName, paths.first());
        QCOMPARE(rig->form.LastPatchFile, paths.first());
        QCOMPARE(rig->unitBlock(0), rig->imageBlock(0));
    } else {
        QCOMPARE(rig->info.messages.size(), 1);
        QVERIFY2(rig->info.messages.first().contains(message),
                 qPrintable(rig->info.messages.first()));
        QVERIFY(rig->state.patchImage == before);
        QVERIFY(rig->form.PatchFileName.isEmpty());
        QVERIFY(rig->engine().received().isEmpty());
    }
}

QTEST_MAIN(TestPatchFiles)
#include "tst_patchfiles.moc"
