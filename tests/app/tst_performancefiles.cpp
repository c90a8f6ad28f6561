// Performances and rhythm sets as .syx files in the main window, and their
// writing into USER memory, against the virtual synthesizer: what a file
// brings must reach the buffer, the open window and the unit whole, and a
// broken file must change nothing.

#include "app/editorscreens.h"
#include "app/performancecommands.h"
#include "core/performancesyx.h"
#include "core/sysexmessage.h"
#include "core/syxfile.h"
#include "midi/edithistory.h"
#include "transferrig.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
using Bank = SynthMemory::Bank;
using Screen = TMidiMainForm::CommonScreen;

constexpr int UnitId = 17;

template <typename Image> QByteArray bytesOf(const Image &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()), Image::Size);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The unit's factory set with its name and some levels changed, every byte
// inside its range, so the windows show it as they would a fetched one.
PerformanceImage performanceNamed(const SynthMemory &memory, const char *name, std::uint8_t level)
{
    PerformanceImage image = memory.performance();
    const QByteArray n = QByteArray(name).leftJustified(addr::PatchNameSize, ' ', true);
    for (int i = 0; i < addr::PatchNameSize; ++i)
        image.setCommon(addr::performance::Name + i, std::uint8_t(n[i]));
    image.setCommon(addr::performance::ReverbLevel, level);
    for (int part = 1; part <= addr::PerformancePartCount; ++part)
        image.setPart(part, addr::part::Level, std::uint8_t(level - part));
    return image;
}

RhythmImage rhythmNamed(const SynthMemory &memory, const char *name, std::uint8_t level)
{
    RhythmImage image = memory.rhythm();
    const QByteArray n = QByteArray(name).leftJustified(addr::PatchNameSize, ' ', true);
    for (int i = 0; i < addr::PatchNameSize; ++i)
        image.setCommon(i, std::uint8_t(n[i]));
    for (int key = RhythmImage::FirstKey; key <= RhythmImage::LastKey; ++key)
        image.setNote(key, addr::note::ToneLevel, std::uint8_t(level - key % 8));
    return image;
}

} // namespace

class TestPerformanceFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void saveChangeOpenRestores_data();
    void saveChangeOpenRestores();
    void writeUserPlace_data();
    void writeUserPlace();
    void brokenFilesLoadNothing_data();
    void brokenFilesLoadNothing();
    void performanceWithPatchesLoadsThePerformance();
    void busyEditorLoadsNothing_data();
    void busyEditorLoadsNothing();

private:
    // Puts a set named name into the buffer the row is about.
    void fillBuffer(bool rhythm, const char *name, std::uint8_t level);
    QByteArray buffer(bool rhythm) const
    {
        return rhythm ? bytesOf(rig->state.rhythm) : bytesOf(rig->state.performance);
    }
    // The unit's set once it has handled everything sent so far.
    QByteArray unit(bool rhythm, Bank bank = Bank::Temporary, int number = 1);
    QWidget *openWindow(bool rhythm);
    // Until the fetches a mode change or a load starts are over.
    void waitForFetches();
    void chooseFile(const QString &path);
    void trigger(const char *action);

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<TransferRig> rig;
    std::unique_ptr<EditorScreens> screens;
    PerformanceCommands *commands = nullptr;
    QList<FileDialogRequest> asked;
};

void TestPerformanceFiles::init()
{
    folder = std::make_unique<QTemporaryDir>();
    rig = std::make_unique<TransferRig>();
    QVERIFY(rig->openMidi());
    screens = std::make_unique<EditorScreens>(rig->form, rig->state, rig->protocol);
    commands =
        new PerformanceCommands(rig->form, rig->state, rig->info, rig->protocol, *rig->transfer);
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig->form));
    rig->info.messages.clear();
    asked.clear();
}

void TestPerformanceFiles::cleanup()
{
    screens.reset();
    rig.reset();
}

void TestPerformanceFiles::fillBuffer(bool rhythm, const char *name, std::uint8_t level)
{
    const SynthMemory memory = rig->engine().memory();
    if (rhythm)
        rig->state.rhythm = rhythmNamed(memory, name, level);
    else
        rig->state.performance = performanceNamed(memory, name, level);
}

QByteArray TestPerformanceFiles::unit(bool rhythm, Bank bank, int number)
{
    rig->engine().waitIdle();
    const SynthMemory memory = rig->engine().memory();
    return rhythm ? bytesOf(memory.rhythm(bank, number))
                  : bytesOf(memory.performance(bank, number));
}

QWidget *TestPerformanceFiles::openWindow(bool rhythm)
{
    const Screen screen = rhythm ? Screen::Rhythm : Screen::Performance;
    screens->openCommonScreen(screen);
    QWidget *w = screens->commonScreen(screen);
    return w && QTest::qWaitForWindowExposed(w) ? w : nullptr;
}

void TestPerformanceFiles::waitForFetches()
{
    QTRY_VERIFY_WITH_TIMEOUT(!commands->engine().fetching() &&
                                 !rig->transfer->engine().fetching() && !rig->state.SendLock,
                             20000);
}

void TestPerformanceFiles::chooseFile(const QString &path)
{
    rig->files->setFileChooser([this, path](const FileDialogRequest &r) {
        asked << r;
        return path;
    });
}

void TestPerformanceFiles::trigger(const char *action)
{
    rig->form.findChild<QAction *>(QLatin1String(action))->trigger();
}

void TestPerformanceFiles::saveChangeOpenRestores_data()
{
    QTest::addColumn<bool>("rhythm");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QByteArray>("address"); // of the file's first message
    QTest::addColumn<int>("messages");
    QTest::newRow("performance") << false << MainFormSysex::SavePerformanceTitle
                                 << QByteArray("\x01\x00\x00\x00", 4) << 17;
    QTest::newRow("rhythm set") << true << MainFormSysex::SaveRhythmTitle
                                << QByteArray("\x02\x09\x00\x00", 4) << 65;
}

// Saved in the mode that edits it, changed in buffer and unit, opened
// again: buffer, window and unit hold the saved bytes, the patch is left
// alone; a save that fails says why.
void TestPerformanceFiles::saveChangeOpenRestores()
{
    QFETCH(bool, rhythm);
    QFETCH(QString, title);
    QFETCH(QByteArray, address);
    QFETCH(int, messages);

    QTest::mouseClick(rig->child<QAbstractButton>(rhythm ? "SpBRhythm" : "SpBPerf"),
                      Qt::LeftButton);
    QCOMPARE(rig->state.editMode(), rhythm ? EditMode::Rhythm : EditMode::Perform);
    // The new mode fetches what it edits; a load must not race with that.
    waitForFetches();
    QWidget *window = openWindow(rhythm);
    QVERIFY(window);
    auto *name = window->findChild<QLineEdit *>(rhythm ? "ERhythmName" : "EPerfName");
    QVERIFY(name);
    const PatchImage patch = rig->state.patchImage;

    fillBuffer(rhythm, "Saved", 100);
    const QByteArray saved = buffer(rhythm);
    const QString file = folder->filePath(QStringLiteral("set.syx"));
    chooseFile(file);
    trigger("MSaveSysex");
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].save);
    QCOMPARE(asked[0].title, title);
    QCOMPARE(asked[0].proposed, QStringLiteral("Saved___.syx"));
    const QByteArray written = readFile(file);
    QCOMPARE(sysex::splitMessages(written).size(), messages);
    QCOMPARE(written.mid(sysex::AddressPos, 4).toHex(' '), address.toHex(' '));
    QCOMPARE(rig->child<QLabel>("LInfo")->text(),
             QStringLiteral("%1 bytes ok").arg(written.size()));

    fillBuffer(rhythm, "Changed", 60);
    rig->form.requestTransfer(
        rhythm ? EditorHost::Transfer::SendRhythm : EditorHost::Transfer::SendPerformance, 0);
    QCOMPARE(unit(rhythm), buffer(rhythm));
    QVERIFY(unit(rhythm) != saved);

    const QByteArray changed = buffer(rhythm);
    const qsizetype seen = rig->engine().received().size();
    EditHistory history(rig->state, rig->protocol);
    chooseFile(file);
    trigger("MOpenSysex");
    QVERIFY2(rig->info.messages.isEmpty(), qPrintable(rig->info.messages.join('|')));
    QCOMPARE(buffer(rhythm), saved);
    QCOMPARE(unit(rhythm), saved);
    QCOMPARE(name->text().trimmed(), QStringLiteral("Saved"));
    // A new performance may give the edited part another patch: it is
    // fetched again. The rhythm set touches no part's patch.
    waitForFetches();
    const QList<QByteArray> after = rig->engine().received().mid(seen);
    const bool partFetched = std::any_of(after.begin(), after.end(), [](const QByteArray &m) {
        return m.size() > sysex::DataPos &&
               std::uint8_t(m[sysex::CommandPos]) == sysex::CommandRequest &&
               m.mid(sysex::AddressPos, 4) == QByteArray("\x02\x00\x00\x00", 4);
    });
    QCOMPARE(partFetched, !rhythm);
    QVERIFY(rig->state.patchImage == patch);

    // Opening the file is one step: taken back, buffer and unit hold the
    // changed set again, and it can be redone.
    QVERIFY(history.canUndo());
    QCOMPARE(history.undoText(), QStringLiteral("Open set.syx"));
    history.undo();
    QCOMPARE(buffer(rhythm), changed);
    QCOMPARE(unit(rhythm), changed);
    history.redo();
    QCOMPARE(buffer(rhythm), saved);
    QCOMPARE(unit(rhythm), saved);

    // Where no file can be made, the system's reason is shown.
    chooseFile(folder->filePath(QStringLiteral("missing/set.syx")));
    trigger("MSaveSysex");
    QCOMPARE(rig->info.messages.size(), 1);
    QVERIFY2(rig->info.messages.first().contains(QLatin1String("set.syx\" could not be created: ")),
             qPrintable(rig->info.messages.first()));
}

void TestPerformanceFiles::writeUserPlace_data()
{
    QTest::addColumn<bool>("rhythm");
    QTest::addColumn<int>("place"); // the highest, reached with End
    QTest::newRow("performance") << false << addr::PerformancePlaceCount;
    QTest::newRow("rhythm set") << true << addr::RhythmPlaceCount;
}

// The window's Write USER button, once confirmed, leaves the USER place
// equal to the buffer byte for byte and the temporary one untouched; a
// cancelled question writes nothing.
void TestPerformanceFiles::writeUserPlace()
{
    QFETCH(bool, rhythm);
    QFETCH(int, place);
    QWidget *window = openWindow(rhythm);
    QVERIFY(window);
    auto *spin = window->findChild<QWidget *>(rhythm ? "SpRhythmPlace" : "SpPerfPlace");
    auto *write = window->findChild<QPushButton *>(rhythm ? "BWriteRhythm" : "BWritePerf");
    QVERIFY(spin && write);
    QTest::mouseClick(spin, Qt::LeftButton);
    QTest::keyClick(spin, Qt::Key_End);

    fillBuffer(rhythm, "Stored", 90);
    const QByteArray stored = buffer(rhythm);
    const QByteArray temporary = unit(rhythm);
    QTest::mouseClick(write, Qt::LeftButton);
    QCOMPARE(rig->info.questions.size(), 1);
    const QString what = rhythm ? QStringLiteral("rhythm set") : QStringLiteral("performance");
    QVERIFY2(rig->info.questions[0].contains(QStringLiteral("USER %1 %2").arg(what).arg(place)),
             qPrintable(rig->info.questions[0]));
    QCOMPARE(unit(rhythm, Bank::User, place), stored);
    QCOMPARE(unit(rhythm), temporary);
    QCOMPARE(buffer(rhythm), stored);

    rig->info.answer = false;
    fillBuffer(rhythm, "Not Stored", 30);
    QTest::mouseClick(write, Qt::LeftButton);
    QCOMPARE(rig->info.questions.size(), 2);
    QCOMPARE(unit(rhythm, Bank::User, place), stored);
}

void TestPerformanceFiles::brokenFilesLoadNothing_data()
{
    QTest::addColumn<bool>("rhythm");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("reasons");

    const SynthMemory memory;
    const QByteArray perf =
        PerformanceSyx::temporaryPerformance(performanceNamed(memory, "Broken", 80), UnitId);
    const QByteArray kit =
        PerformanceSyx::temporaryRhythm(rhythmNamed(memory, "Broken", 80), UnitId);
    const QList<QByteArray> perfMessages = sysex::splitMessages(perf);
    const QList<QByteArray> kitMessages = sysex::splitMessages(kit);

    // Cut inside the message of part 9.
    const qsizetype cut = perf.indexOf(perfMessages[9]) + 20;
    QTest::newRow("truncated") << false << perf.left(cut)
                               << QStringList{"not a complete System Exclusive message",
                                              "temporary performance: part 9 missing"};

    QByteArray badSum = perf;
    const qsizetype part2 = perf.indexOf(perfMessages[2]);
    const qsizetype sumAt = part2 + perfMessages[2].size() - 2;
    badSum[sumAt] = char((badSum[sumAt] + 1) & sysex::DataMask);
    QTest::newRow("bad checksum") << false << badSum
                                  << QStringList{"message 3: checksum",
                                                 "temporary performance: part 2 missing"};

    QByteArray keyless;
    for (qsizetype i = 0; i < kitMessages.size(); ++i)
        if (i != 40 - RhythmImage::FirstKey + 1)
            keyless += kitMessages[i];
    QTest::newRow("rhythm key missing")
        << true << keyless << QStringList{"temporary rhythm set: key 40 missing"};
}

// Nothing of a broken file reaches buffer or unit; one message names the
// file and what is wrong with it.
void TestPerformanceFiles::brokenFilesLoadNothing()
{
    QFETCH(bool, rhythm);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, reasons);

    const QString file = folder->filePath(QStringLiteral("broken.syx"));
    writeFile(file, bytes);
    fillBuffer(rhythm, "Kept", 70);
    const QByteArray before = buffer(rhythm);
    const QByteArray unitBefore = unit(rhythm);
    const PatchImage patch = rig->state.patchImage;
    const qsizetype seen = rig->engine().received().size();

    chooseFile(file);
    trigger("MOpenSysex");
    QCOMPARE(rig->info.messages.size(), 1);
    const QString text = rig->info.messages.first();
    QVERIFY2(text.contains(QLatin1String("broken.syx")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("no complete performance or rhythm set")),
             qPrintable(text));
    for (const QString &reason : reasons)
        QVERIFY2(text.contains(reason), qPrintable(reason + QLatin1String(" in ") + text));
    QCOMPARE(buffer(rhythm), before);
    QCOMPARE(unit(rhythm), unitBefore);
    QVERIFY(rig->state.patchImage == patch);
    QCOMPARE(rig->engine().received().size(), seen);
}

// A file with a patch beside a performance loads the performance and says
// that the patch stayed in the file.
void TestPerformanceFiles::performanceWithPatchesLoadsThePerformance()
{
    const SynthMemory memory = rig->engine().memory();
    const PerformanceImage perf = performanceNamed(memory, "With Patch", 110);
    rig->fillImage("Other Patch", 5);
    const QByteArray file = SyxFile::temporaryPatch(rig->state.patchImage, UnitId) +
                            PerformanceSyx::temporaryPerformance(perf, UnitId);
    rig->fillImage("Kept Patch", 6);
    const PatchImage patch = rig->state.patchImage;
    const QString path = folder->filePath(QStringLiteral("both.syx"));
    writeFile(path, file);

    chooseFile(path);
    trigger("MOpenSysex");
    QCOMPARE(bytesOf(rig->state.performance), bytesOf(perf));
    QCOMPARE(unit(false), bytesOf(perf));
    QVERIFY(rig->state.patchImage == patch);
    QCOMPARE(rig->info.messages.size(), 1);
    const QString text = rig->info.messages.first();
    QVERIFY2(text.contains(QLatin1String("loaded the performance \"With Patch\"")),
             qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("The patch in the file was not loaded")),
             qPrintable(text));
}

void TestPerformanceFiles::busyEditorLoadsNothing_data()
{
    QTest::addColumn<bool>("comparing");
    QTest::addColumn<QString>("reason");
    QTest::newRow("comparing") << true << "End Compare";
    QTest::newRow("answer awaited") << false << "still answering";
}

// While Compare plays the saved patch, or an answer is awaited, no data set
// would leave: a whole performance file is refused rather than shown in the
// window and never sent.
void TestPerformanceFiles::busyEditorLoadsNothing()
{
    QFETCH(bool, comparing);
    QFETCH(QString, reason);
    const QString path = folder->filePath(QStringLiteral("good.syx"));
    writeFile(path, PerformanceSyx::temporaryPerformance(
                        performanceNamed(rig->engine().memory(), "Refused", 50), UnitId));
    fillBuffer(false, "Kept", 70);
    const QByteArray before = buffer(false);
    const QByteArray unitBefore = unit(false);
    (comparing ? rig->state.Comparing : rig->state.SendLock) = true;

    chooseFile(path);
    trigger("MOpenSysex");
    QCOMPARE(rig->info.messages.size(), 1);
    QVERIFY2(rig->info.messages.first().contains(reason), qPrintable(rig->info.messages.first()));
    QCOMPARE(buffer(false), before);
    QCOMPARE(unit(false), unitBefore);
    rig->state.Comparing = false;
    rig->state.SendLock = false;
}

QTEST_MAIN(TestPerformanceFiles)
#include "tst_performancefiles.moc"
