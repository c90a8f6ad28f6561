#include "transferrig.h"

#include "app/recoverykeeper.h"
#include "core/parameterdef.h"
#include "core/performancesyx.h"
#include "core/recoveryfile.h"
#include "sim/simulatorbackend.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class TestRecovery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killedAfterAnEditOffersIt();
    void f12AfterAnEditOffersIt();
    void startWithoutRecoveryFileAsksNothing();
    void offerAnswered_data();
    void offerAnswered();
    void brokenRecoveryFileIsReportedAndSetAside_data();
    void brokenRecoveryFileIsReportedAndSetAside();
    void cleanPatchLeavesNoFile();
    void changedPerformanceAndRhythmSetAreKept();

private:
    // The editor as a process of its own, with settings and data in dir.
    struct Probe
    {
        explicit Probe(const QTemporaryDir &dir, const QString &answer = QStringLiteral("no"));
        void start(const QString &mode);
        // Waits for a line starting with prefix and returns it.
        QString waitFor(const QString &prefix);
        QStringList finish();
        QProcess process;
        QString out;
    };
    static RecoveryFile fileIn(const QTemporaryDir &dir);
};

namespace {
constexpr int StartMs = 30000; // a loaded machine starts the editor slowly
const QString Octave = QStringLiteral("octave: ");
const QString Question = QStringLiteral("question: ");
const QByteArray OctaveUp = "4";

QString recoveryFolder(const QTemporaryDir &dir)
{
    return dir.filePath(QStringLiteral("data/Korvale/TessivaW95"));
}

// Settings of a second start on the built-in synthesizer.
void writeSettings(const QTemporaryDir &dir)
{
    QSettings s(dir.filePath(QStringLiteral("config/Korvale/TessivaW95.conf")),
                QSettings::IniFormat);
    s.setValue(QStringLiteral("JVID"), 17);
    s.setValue(QStringLiteral("Midi_In1"), 0);
    s.setValue(QStringLiteral("Midi_Out"), 0);
    s.setValue(QStringLiteral("Midi_In1_Name"), SimulatorBackend::DeviceName);
    s.setValue(QStringLiteral("Midi_Out_Name"), SimulatorBackend::DeviceName);
}

// The unit's temporary performance and rhythm set in their buffers' byte
// order.
QByteArray unitSets(TransferRig &rig)
{
    rig.engine().waitIdle();
    const SynthMemory memory = rig.engine().memory();
    QByteArray out;
    const auto add = [&](const addr::Address &home, const QList<int> &blocks, auto size) {
        for (const int block : blocks)
            for (const SynthMemory::Chunk &c :
                 memory.read({home[0], home[1], std::uint8_t(block), 0}, size(block)))
                out += c.bytes;
    };
    add(addr::performanceCommonAddress(0), PerformanceImage::blocks(), PerformanceImage::blockSize);
    add(addr::rhythmCommonAddress(0), RhythmImage::blocks(), RhythmImage::blockSize);
    return out;
}

QByteArray bufferSets(const EditState &state)
{
    return QByteArray(reinterpret_cast<const char *>(state.performance.data()),
                      PerformanceImage::Size) +
           QByteArray(reinterpret_cast<const char *>(state.rhythm.data()), RhythmImage::Size);
}

// Named sets of random bytes, wholly known, as a fetch leaves them.
void fetchedRandomSets(EditState &state, quint32 seed)
{
    QRandomGenerator rng(seed);
    for (int i = 0; i < PerformanceImage::Size; ++i)
        state.performance.data()[i] = std::uint8_t(rng.bounded(128));
    for (int i = 0; i < RhythmImage::Size; ++i)
        state.rhythm.data()[i] = std::uint8_t(rng.bounded(128));
    std::copy_n("Lost Perf   ", ParameterDef::NameSize, state.performance.data());
    std::copy_n("Lost Drums  ", ParameterDef::NameSize, state.rhythm.data());
    state.performance.markKnown(0, PerformanceImage::Size);
    state.rhythm.markKnown(0, RhythmImage::Size);
    state.savedPerformance = state.performance;
    state.savedRhythm = state.rhythm;
}
} // namespace

TestRecovery::Probe::Probe(const QTemporaryDir &dir, const QString &answer)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PROBE_ANSWER"), answer);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
}

void TestRecovery::Probe::start(const QString &mode)
{
    process.start(QStringLiteral(TESSIVA_BIN_DIR "/tessiva-recovery-probe"), {mode});
}

QString TestRecovery::Probe::waitFor(const QString &prefix)
{
    for (QElapsedTimer t; !t.isValid() || t.elapsed() < StartMs;) {
        if (!t.isValid())
            t.start();
        for (const QString &line : out.split(QLatin1Char('\n')))
            if (line.startsWith(prefix))
                return line;
        if (process.state() == QProcess::NotRunning)
            break;
        process.waitForReadyRead(200);
        out += QString::fromUtf8(process.readAllStandardOutput());
    }
    return QString();
}

QStringList TestRecovery::Probe::finish()
{
    process.waitForFinished(StartMs);
    out += QString::fromUtf8(process.readAllStandardOutput());
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

RecoveryFile TestRecovery::fileIn(const QTemporaryDir &dir)
{
    return RecoveryFile(recoveryFolder(dir));
}

void TestRecovery::killedAfterAnEditOffersIt()
{
    QTemporaryDir dir;
    writeSettings(dir);
    {
        Probe editor(dir);
        editor.start(QStringLiteral("edit"));
        QCOMPARE(editor.waitFor(QStringLiteral("edited: ")), QStringLiteral("edited: ") + OctaveUp);
        // A few seconds after the edit the file is there; then the crash.
        QTRY_VERIFY_WITH_TIMEOUT(fileIn(dir).exists(), StartMs);
        QTRY_VERIFY_WITH_TIMEOUT(
            QFile::exists(recoveryFolder(dir) + QStringLiteral("/recovery.ini")), StartMs);
        editor.process.kill();
        QVERIFY(editor.process.waitForFinished(StartMs));
        QCOMPARE(editor.process.exitStatus(), QProcess::CrashExit);
    }
    Probe next(dir, QStringLiteral("yes"));
    next.start(QStringLiteral("start"));
    const QStringList lines = next.finish();
    const QStringList asked = lines.filter(Question);
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.first().startsWith(Question + RecoveryKeeper::OfferTitle +
                                      QStringLiteral("|The patch \"InitPatch\" was changed on ")),
             qPrintable(asked.first()));
    // Restored: the edit is back.
    QVERIFY2(lines.contains(Octave + OctaveUp), qPrintable(lines.join(QLatin1Char('\n'))));
}

void TestRecovery::f12AfterAnEditOffersIt()
{
    QTemporaryDir dir;
    writeSettings(dir);
    {
        Probe editor(dir);
        editor.start(QStringLiteral("edit-exit"));
        const QStringList lines = editor.finish();
        QCOMPARE(editor.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(editor.process.exitCode(), 0);
        // Exit asked nothing, and left the patch behind at once.
        QCOMPARE(lines.filter(Question), QStringList());
        QVERIFY(fileIn(dir).exists());
    }
    Probe next(dir, QStringLiteral("yes"));
    next.start(QStringLiteral("start"));
    const QStringList lines = next.finish();
    QCOMPARE(lines.filter(Question).size(), 1);
    QVERIFY(lines.contains(Octave + OctaveUp));
}

void TestRecovery::startWithoutRecoveryFileAsksNothing()
{
    QTemporaryDir dir;
    writeSettings(dir);
    Probe editor(dir, QStringLiteral("yes"));
    editor.start(QStringLiteral("start"));
    const QStringList lines = editor.finish();
    QCOMPARE(editor.process.exitCode(), 0);
    QVERIFY2(lines.contains(Octave + QStringLiteral("3")),
             qPrintable(lines.join(QLatin1Char('\n'))));
    QCOMPARE(lines.filter(Question), QStringList());
    QCOMPARE(lines.filter(QStringLiteral("info: ")), QStringList());
}

void TestRecovery::offerAnswered_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("restore") << true;
    QTest::newRow("decline") << false;
}

void TestRecovery::offerAnswered()
{
    QFETCH(bool, accept);
    QTemporaryDir dir;
    TransferRig rig;
    QVERIFY(rig.openMidi());
    const PatchImage before = rig.state.patchImage;
    rig.fillImage("Lost Strings", 77);
    const PatchImage lost = rig.state.patchImage;
    rig.state.patchImage = before;
    const QDateTime when(QDate(2026, 3, 14), QTime(15, 9));
    const RecoveryFile file = fileIn(dir);
    QVERIFY(file.write({lost, when, QStringLiteral("/patches/Strings.pat")}));

    RecoveryKeeper keeper(rig.state, rig.info, rig.form, *rig.transfer, rig.protocol, file);
    rig.info.answer = accept;
    QCOMPARE(keeper.offer(), accept);
    QCOMPARE(rig.info.questions,
             QStringList{RecoveryKeeper::OfferTitle +
                         QStringLiteral("|The patch \"Lost Strings\" was changed on 2026-03-14 "
                                        "15:09 and not saved.\r\rRestore it?")});
    QCOMPARE(rig.state.patchImage, accept ? lost : before);
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig.unitBlock(k), rig.imageBlock(k));
    QCOMPARE(rig.form.PatchFileName, accept ? QStringLiteral("/patches/Strings.pat") : QString());
    QCOMPARE(rig.state.PatchModified, accept);
    // A declined patch is out of the way, not gone.
    QCOMPARE(file.exists(), accept);
    QCOMPARE(QFile::exists(QDir(file.folder()).filePath(QLatin1String(RecoveryFile::AsideName))),
             !accept);
}

void TestRecovery::brokenRecoveryFileIsReportedAndSetAside_data()
{
    QTest::addColumn<bool>("dump"); // else the patch file
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("patch file of no patch") << false << QByteArray("not a patch") << QString();
    const QByteArray rhythm = PerformanceSyx::temporaryRhythm(RhythmImage(), 17);
    QTest::newRow("dump cut short") << true << rhythm.left(rhythm.size() - 100)
                                    << "holds no complete performance or rhythm set";
    // A whole rhythm set, and a data set into the patch beside it.
    const char patchLevel[] = "\xF0\x41\x10\x6A\x12\x03\x00\x00\x0E\x7F\x70\xF7";
    QTest::newRow("dump with a stranger")
        << true << rhythm + QByteArray(patchLevel, sizeof(patchLevel) - 1)
        << "is damaged: message 66: 03 00 00 0E holds no performance or rhythm set";
}

void TestRecovery::brokenRecoveryFileIsReportedAndSetAside()
{
    QFETCH(bool, dump);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    TransferRig rig;
    const RecoveryFile file = fileIn(dir);
    QVERIFY(QDir().mkpath(file.folder()));
    QFile broken(dump ? file.setsPath() : file.patchPath());
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(bytes);
    broken.close();
    const PatchImage before = rig.state.patchImage;
    const QByteArray sets = bufferSets(rig.state);

    RecoveryKeeper keeper(rig.state, rig.info, rig.form, *rig.transfer, rig.protocol, file);
    QVERIFY(!keeper.offer());
    QCOMPARE(rig.info.questions, QStringList());
    QCOMPARE(rig.info.messages.size(), 1);
    QVERIFY2(rig.info.messages.first().startsWith(
                 QStringLiteral("The recovery file could not be used: ")),
             qPrintable(rig.info.messages.first()));
    QVERIFY2(rig.info.messages.first().contains(reason), qPrintable(rig.info.messages.first()));
    const char *aside = dump ? RecoveryFile::AsideSetsName : RecoveryFile::AsideName;
    QVERIFY2(rig.info.messages.first().endsWith(
                 QStringLiteral("It was set aside as %1.").arg(QLatin1String(aside))),
             qPrintable(rig.info.messages.first()));
    QVERIFY(!file.exists());
    QVERIFY(QFile::exists(QDir(file.folder())
                              .filePath(QLatin1String(dump ? RecoveryFile::AsideSetsName
                                                           : RecoveryFile::AsideName))));
    QCOMPARE(rig.state.patchImage, before);
    QCOMPARE(bufferSets(rig.state), sets);
}

void TestRecovery::cleanPatchLeavesNoFile()
{
    QTemporaryDir dir;
    TransferRig rig;
    QVERIFY(rig.openMidi());
    const RecoveryFile file = fileIn(dir);
    RecoveryKeeper keeper(rig.state, rig.info, rig.form, *rig.transfer, rig.protocol, file);
    auto *octave = rig.form.findChild<QSpinBox *>(QStringLiteral("SpOctaveS"));
    octave->setFocus();
    QTest::keyClick(octave, Qt::Key_Up);
    QTRY_VERIFY_WITH_TIMEOUT(file.exists(), 20000);
    RecoveryFile::Contents kept;
    QVERIFY(file.read(kept));
    QCOMPARE(kept.image, rig.state.patchImage);

    // Back where it started: nothing left to recover.
    QTest::keyClick(octave, Qt::Key_Down);
    QTRY_VERIFY_WITH_TIMEOUT(!file.exists(), 20000);

    // Changed, then saved: clean again, and the exit writes nothing.
    QTest::keyClick(octave, Qt::Key_Up);
    keeper.flush();
    QVERIFY(file.exists());
    rig.files->setFileChooser(
        [&](const FileDialogRequest &) { return dir.filePath(QStringLiteral("saved.pat")); });
    rig.files->MSaveClick();
    keeper.flush();
    QVERIFY(!file.exists());
}

// An edited performance and rhythm set wait in the file beside no patch; the
// next start names them and brings them back into buffers and unit.
void TestRecovery::changedPerformanceAndRhythmSetAreKept()
{
    QTemporaryDir dir;
    const RecoveryFile file = fileIn(dir);
    QByteArray lost;
    {
        TransferRig rig;
        QVERIFY(rig.openMidi());
        fetchedRandomSets(rig.state, 91);
        RecoveryKeeper keeper(rig.state, rig.info, rig.form, *rig.transfer, rig.protocol, file);
        keeper.flush();
        QVERIFY(!file.exists());
        const std::uint8_t pan = rig.state.performance.part(3, 0x07);
        QVERIFY(rig.protocol.SendParameter(addr::performancePartAddress(3, 0x07),
                                           std::uint8_t(pan ^ 1)));
        const std::uint8_t level = rig.state.rhythm.note(40, 0x29);
        QVERIFY(
            rig.protocol.SendParameter(addr::rhythmNoteAddress(40, 0x29), std::uint8_t(level ^ 1)));
        lost = bufferSets(rig.state);
        QTRY_VERIFY_WITH_TIMEOUT(file.exists(), 20000);
        RecoveryFile::Contents kept;
        QVERIFY(file.read(kept));
        QVERIFY(!kept.hasPatch);
        QVERIFY(!QFile::exists(file.patchPath()));
        QVERIFY(kept.performance && kept.rhythm);
        QVERIFY(*kept.performance == rig.state.performance);
        QVERIFY(*kept.rhythm == rig.state.rhythm);
    }

    TransferRig next;
    QVERIFY(next.openMidi());
    const PatchImage patch = next.state.patchImage;
    QVERIFY(unitSets(next) != lost);
    RecoveryKeeper keeper(next.state, next.info, next.form, *next.transfer, next.protocol, file);
    next.info.answer = true;
    QVERIFY(keeper.offer());
    QCOMPARE(next.info.questions.size(), 1);
    const QString question = next.info.questions.first();
    QVERIFY2(question.startsWith(RecoveryKeeper::OfferTitle +
                                 QStringLiteral("|The performance \"Lost Perf\" and the rhythm "
                                                "set \"Lost Drums\" were changed on ")),
             qPrintable(question));
    QVERIFY2(question.endsWith(QStringLiteral(" and not saved.\r\rRestore them?")),
             qPrintable(question));
    QCOMPARE(bufferSets(next.state), lost);
    QCOMPARE(unitSets(next), lost);
    QCOMPARE(next.state.patchImage, patch);
    QCOMPARE(next.form.PatchFileName, QString());
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
