// Undo and redo of the performance and rhythm windows against the virtual
// synthesizer: a long random walk over both taken back and brought again
// byte for byte, a spin roll as one step from either window, and a whole
// fetch as one step. The patch never moves meanwhile.

#include "historyrig.h"
#include "randomwalk.h"
#include "setscreenhelpers.h"

#include "controls/spincw0r.h"
#include "editors/performanceform.h"
#include "editors/rhythmform.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QtTest>

using namespace setscreens;

class TestSetUndo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void randomWalkBothWindowsUndoAndRedoAll();
    void spinRollIsOneStep_data();
    void spinRollIsOneStep();
    void fetchIsOneStep_data();
    void fetchIsOneStep();
    void patchUndoInRhythmModeSparesTheRhythmSet();
};

namespace {
struct Windows
{
    TPerformanceForm *performance = nullptr;
    TRhythmForm *rhythm = nullptr;
};

// Both windows open on random sets in the unit, fetched through their Get
// buttons so that every byte is known, with an empty history.
Windows openFetched(HistoryRig &rig, quint32 seed)
{
    rig.addTransfers();
    loadRandomSets(rig, seed);
    Windows w;
    w.performance = openFromMenu<TPerformanceForm>(rig, "MPerformance",
                                                   TMidiMainForm::CommonScreen::Performance);
    w.rhythm = openFromMenu<TRhythmForm>(rig, "MRhythm", TMidiMainForm::CommonScreen::Rhythm);
    if (!w.performance || !w.rhythm)
        return {};
    w.performance->findChild<QAbstractButton *>(QStringLiteral("BGetPerf"))->click();
    if (!QTest::qWaitFor([&] { return rig.state.savedPerformance.allKnown(); }, 20000))
        return {};
    w.rhythm->findChild<QAbstractButton *>(QStringLiteral("BGetRhythm"))->click();
    if (!QTest::qWaitFor([&] { return rig.state.savedRhythm.allKnown() && !rig.state.SendLock; },
                         20000))
        return {};
    rig.history.clear();
    rig.takeReceived();
    return w;
}

void settle(HistoryRig &rig)
{
    QTRY_VERIFY_WITH_TIMEOUT(!rig.state.SendLock, 10000);
    QCoreApplication::processEvents();
}

const QStringList TransferButtons{QStringLiteral("BGetPerf"),     QStringLiteral("BSendPerf"),
                                  QStringLiteral("BWritePerf"),   QStringLiteral("BPerfEffects"),
                                  QStringLiteral("BGetRhythm"),   QStringLiteral("BSendRhythm"),
                                  QStringLiteral("BWriteRhythm"), QStringLiteral("BPlayNote")};
} // namespace

void TestSetUndo::randomWalkBothWindowsUndoAndRedoAll()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(41);
    const Windows w = openFetched(rig, 42);
    QVERIFY(w.performance && w.rhythm);
    // Editor and unit alike: performance, rhythm set, then the patch.
    const auto editor = [&] {
        return bufferPerformance(rig) + bufferRhythm(rig) + rig.imagePatch();
    };
    const auto unit = [&] { return unitPerformance(rig) + unitRhythm(rig) + rig.unitPatch(); };
    const QByteArray start = editor();
    QCOMPARE(unit(), start);

    RandomWalk perfWalk(*w.performance, 43);
    perfWalk.skip(TransferButtons);
    RandomWalk rhythmWalk(*w.rhythm, 44);
    rhythmWalk.skip(TransferButtons);
    QRandomGenerator rng(45);
    auto *notes = w.rhythm->findChild<QListWidget *>(QStringLiteral("LbNotes"));
    QStringList log;
    for (int round = 0; round < 10; ++round) {
        log << perfWalk.run(20) << rhythmWalk.run(20);
        const int row = int(rng.bounded(RhythmImage::NoteCount));
        QTest::mouseClick(notes->viewport(), Qt::LeftButton, {},
                          notes->visualItemRect(notes->item(row)).center());
        log << QStringLiteral("note row %1").arg(row);
    }
    settle(rig);
    const QString trace = log.join(QLatin1Char('\n'));
    const QByteArray end = editor();
    const qsizetype sets = PerformanceImage::Size + RhythmImage::Size;
    QVERIFY2(end.left(sets) != start.left(sets), qPrintable(trace));
    QVERIFY2(end.mid(sets) == start.mid(sets), "the walk changed the patch");
    QVERIFY2(unit() == end, qPrintable(trace));

    int steps = 0;
    for (; rig.history.canUndo(); ++steps)
        QCOMPARE(rig.history.undo(), EditHistory::Result::Done);
    QVERIFY2(steps > 50, qPrintable(QString::number(steps)));
    QVERIFY2(editor() == start, qPrintable(trace));
    QVERIFY2(unit() == start, qPrintable(trace));

    for (int i = 0; i < steps; ++i)
        QCOMPARE(rig.history.redo(), EditHistory::Result::Done);
    QVERIFY(!rig.history.canRedo());
    QVERIFY2(editor() == end, qPrintable(trace));
    QVERIFY2(unit() == end, qPrintable(trace));
}

void TestSetUndo::spinRollIsOneStep_data()
{
    QTest::addColumn<bool>("rhythmWindow"); // else the performance window
    QTest::addColumn<int>("mode");          // EditMode the test edits in
    QTest::addColumn<QString>("spin");
    QTest::addColumn<int>("position"); // of the byte in its buffer
    QTest::addColumn<QString>("undoText");
    const int pan5 = PerformanceImage::partPosition(5, 0x07);
    const int level40 = RhythmImage::notePosition(40, 0x29);
    const int patchMode = int(EditMode::Patch);
    QTest::newRow("part pan, Patch mode")
        << false << patchMode << "SpPan5" << pan5 << "Pan (part 5)";
    QTest::newRow("part pan, Perform mode")
        << false << int(EditMode::Perform) << "SpPan5" << pan5 << "Pan (part 5)";
    QTest::newRow("key level, Patch mode")
        << true << patchMode << "SpLevel" << level40 << "Level (key 40)";
    // Part 10's patch is the rhythm set: its undo must stay there.
    QTest::newRow("key level, Rhythm mode")
        << true << int(EditMode::Rhythm) << "SpLevel" << level40 << "Level (key 40)";
    QTest::newRow("key level, Perform mode")
        << true << int(EditMode::Perform) << "SpLevel" << level40 << "Level (key 40)";
}

void TestSetUndo::spinRollIsOneStep()
{
    QFETCH(bool, rhythmWindow);
    QFETCH(int, mode);
    QFETCH(QString, spin);
    QFETCH(int, position);
    QFETCH(QString, undoText);
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(51);
    // The Edit menu's keys need the main window on the screen.
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    const Windows w = openFetched(rig, 52);
    QVERIFY(w.performance && w.rhythm);
    QVERIFY(rig.state.setEditMode(EditMode(mode), 3));
    if (rhythmWindow) {
        auto *notes = w.rhythm->findChild<QListWidget *>(QStringLiteral("LbNotes"));
        const int row = 40 - RhythmImage::FirstKey;
        QTest::mouseClick(notes->viewport(), Qt::LeftButton, {},
                          notes->visualItemRect(notes->item(row)).center());
    }
    QWidget *window = rhythmWindow ? static_cast<QWidget *>(w.rhythm) : w.performance;
    const auto byte = [&] {
        return rhythmWindow ? rig.state.rhythm.data()[position]
                            : rig.state.performance.data()[position];
    };
    const auto unitByte = [&] {
        return std::uint8_t((rhythmWindow ? unitRhythm(rig) : unitPerformance(rig)).at(position));
    };
    auto *s = window->findChild<TSpincw0R *>(spin);
    QVERIFY(s);
    const QByteArray patch = rig.image();
    const QByteArray unitPatch = rig.unitPatch();
    const std::uint8_t stored = byte();
    const int shown = s->Value();

    rollSpin(s, stored > 64 ? 1 : -1);
    QVERIFY(byte() != stored);
    QCOMPARE(unitByte(), byte());
    QCOMPARE(rig.history.undoCount(), 1);
    QCOMPARE(rig.history.undoText(), undoText);

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(int(rig.state.editMode()), mode);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(byte(), stored);
    QCOMPARE(unitByte(), stored);
    QCOMPARE(s->Value(), shown);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(byte() != stored);
    QCOMPARE(unitByte(), byte());
    QVERIFY(s->Value() != shown);
    QCOMPARE(rig.image(), patch);
    QCOMPARE(rig.unitPatch(), unitPatch);
}

void TestSetUndo::fetchIsOneStep_data()
{
    QTest::addColumn<bool>("rhythm");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("performance") << false << "Get Performance";
    QTest::newRow("rhythm set") << true << "Get Rhythm Set";
}

// The unit's set changed behind the editor's back; fetching it again is one
// step, and taking that back puts the earlier set into buffer and unit.
void TestSetUndo::fetchIsOneStep()
{
    QFETCH(bool, rhythm);
    QFETCH(QString, undoText);
    HistoryRig rig;
    QVERIFY(rig.ok());
    const Windows w = openFetched(rig, 61);
    QVERIFY(w.performance && w.rhythm);
    const auto buffer = [&] { return rhythm ? bufferRhythm(rig) : bufferPerformance(rig); };
    const auto unit = [&] { return rhythm ? unitRhythm(rig) : unitPerformance(rig); };
    const QByteArray first = buffer();
    const QByteArray patch = rig.image();

    loadRandomSets(rig, 62);
    // As the editor still knows it.
    if (rhythm)
        std::copy(first.begin(), first.end(), rig.state.rhythm.data());
    else
        std::copy(first.begin(), first.end(), rig.state.performance.data());
    const QByteArray second = unit();
    QVERIFY(second != first);
    QWidget *window = rhythm ? static_cast<QWidget *>(w.rhythm) : w.performance;
    window->findChild<QAbstractButton *>(QLatin1String(rhythm ? "BGetRhythm" : "BGetPerf"))
        ->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.state.SendLock && buffer() == second, 20000);
    QCOMPARE(rig.history.undoCount(), 1);
    QCOMPARE(rig.history.undoText(), undoText);

    rig.edits->undoAction()->trigger();
    QCOMPARE(buffer(), first);
    QCOMPARE(unit(), first);
    rig.edits->redoAction()->trigger();
    QCOMPARE(buffer(), second);
    QCOMPARE(unit(), second);
    QCOMPARE(rig.image(), patch);
}

// Part 10 holds the rhythm set: a patch edit taken back there goes into the
// image alone, never into the set.
void TestSetUndo::patchUndoInRhythmModeSparesTheRhythmSet()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(71);
    const Windows w = openFetched(rig, 72);
    QVERIFY(w.performance && w.rhythm);
    const QByteArray patch = rig.image();
    auto *level = rig.form.findChild<QWidget *>(QStringLiteral("SlLevel"));
    level->setFocus();
    QTest::keyClick(level, Qt::Key_PageUp);
    QTest::keyClick(level, Qt::Key_PageDown);
    QTest::keyClick(level, Qt::Key_PageDown);
    QCoreApplication::processEvents();
    QVERIFY(rig.image() != patch);
    QVERIFY(rig.history.canUndo());
    const QByteArray rhythm = unitRhythm(rig);
    QVERIFY(rig.state.setEditMode(EditMode::Rhythm));
    rig.takeReceived();

    while (rig.history.canUndo())
        QCOMPARE(rig.history.undo(), EditHistory::Result::Done);
    QCOMPARE(rig.image(), patch);
    QCOMPARE(rig.takeDataSets(), QStringList());
    QCOMPARE(unitRhythm(rig), rhythm);
    QCOMPARE(bufferRhythm(rig), rhythm);
}

QTEST_MAIN(TestSetUndo)
#include "tst_setundo.moc"
