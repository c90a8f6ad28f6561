#include "historyrig.h"
#include "randomwalk.h"
#include "setscreenhelpers.h"

#include "controls/sliderbase.h"
#include "controls/spincw0r.h"
#include "editors/performanceform.h"
#include "editors/ptvaform.h"
#include "editors/rhythmform.h"

#include <QAbstractButton>
#include <QAction>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

class TestCompare : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void compareBetweenEditsKeepsThem();
    void editAttemptWhileComparingSendsNothing_data();
    void editAttemptWhileComparingSendsNothing();
    void aCommandEndsTheComparison();
    void withMidiClosedThereIsNothingToCompare();
    void performAndRhythmCompareTheirSets_data();
    void performAndRhythmCompareTheirSets();
};

namespace {
// A fetched patch: the version Compare plays.
void fetched(HistoryRig &rig, quint32 seed)
{
    rig.loadRandom(seed);
    rig.state.savedImage = rig.state.patchImage;
    rig.history.clear();
}
} // namespace

void TestCompare::compareBetweenEditsKeepsThem()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    fetched(rig, 3);
    const QByteArray saved = rig.imagePatch();
    auto *tva = rig.open<TPTVAForm>("BTVF_TVA", 2);
    QVERIFY(tva);
    RandomWalk walk(*tva, 8);
    auto *button = rig.form.findChild<QToolButton *>(QStringLiteral("BCompare"));
    QVERIFY(button);
    const QString title = rig.form.windowTitle();

    for (int round = 0; round < 4; ++round) {
        const QStringList log = walk.run(25);
        QCoreApplication::processEvents();
        const QByteArray edited = rig.imagePatch();
        QVERIFY2(edited != saved, qPrintable(log.join(QLatin1Char('\n'))));
        const int steps = rig.history.undoCount();

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(rig.compare->comparing());
        QCOMPARE(rig.unitPatch(), saved);
        QCOMPARE(rig.imagePatch(), edited);
        QCOMPARE(rig.form.windowTitle(), title + CompareToggle::TitleMark);
        QCOMPARE(rig.form.statusBar()->currentMessage(), CompareToggle::StatusText);
        QVERIFY(!tva->isEnabled());
        QVERIFY(!rig.form.centralWidget()->isEnabled());

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!rig.compare->comparing());
        QCOMPARE(rig.unitPatch(), edited);
        QCOMPARE(rig.imagePatch(), edited);
        QCOMPARE(rig.form.windowTitle(), title);
        QVERIFY(tva->isEnabled());
        // Playing the other version is no edit.
        QCOMPARE(rig.history.undoCount(), steps);
    }
}

void TestCompare::editAttemptWhileComparingSendsNothing_data()
{
    QTest::addColumn<bool>("onScreen"); // else the main window
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::newRow("main level, key") << false << "SlLevel" << int(Qt::Key_PageDown);
    QTest::newRow("main tone level, key") << false << "SpLevOut1" << int(Qt::Key_Down);
    QTest::newRow("cutoff, key") << true << "SlCutOffF" << int(Qt::Key_PageUp);
    QTest::newRow("attack, key") << true << "SpTimeA1" << int(Qt::Key_Up);
    QTest::newRow("cutoff, drag") << true << "SlCutOffF" << 0;
}

void TestCompare::editAttemptWhileComparingSendsNothing()
{
    QFETCH(bool, onScreen);
    QFETCH(QString, control);
    QFETCH(int, key);
    HistoryRig rig;
    QVERIFY(rig.ok());
    fetched(rig, 5);
    auto *tva = rig.open<TPTVAForm>("BTVF_TVA", 1);
    QVERIFY(tva);
    QWidget *w =
        (onScreen ? static_cast<QWidget *>(tva) : &rig.form)->findChild<QWidget *>(control);
    QVERIFY(w);
    rig.compare->action()->trigger();
    QVERIFY(rig.compare->comparing());
    rig.takeReceived();
    const QByteArray image = rig.image();

    // "Update Now" reloads the controls and lets go of SendLock; Compare
    // must hold all the same.
    rig.form.B_UpdateAllClick();
    w->setFocus();
    if (key != 0) {
        QTest::keyClick(w, Qt::Key(key));
    } else {
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(w->width() / 2, 30));
        QTest::mouseMove(w, QPoint(w->width() / 2, 60));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(w->width() / 2, 60));
    }
    // Even a handler reached another way sends nothing.
    rig.protocol.SendDataSet(rig.state.commonAddress(addr::common::PatchLevel), 1);
    QCOMPARE(rig.takeDataSets(), QStringList());
    QCOMPARE(rig.image(), image);
    QCOMPARE(rig.history.undoCount(), 0);
}

void TestCompare::aCommandEndsTheComparison()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    fetched(rig, 9);
    // The keys of the main window's actions need it on the screen.
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    auto *level = rig.form.findChild<TSliderBase *>(QStringLiteral("SlLevel"));
    level->setFocus();
    QTest::keyClick(level, level->Position() > 64 ? Qt::Key_PageDown : Qt::Key_PageUp);
    QCoreApplication::processEvents();
    const QByteArray edited = rig.imagePatch();
    QTest::keyClick(&rig.form, Qt::Key_F8);
    QVERIFY(rig.compare->comparing());
    // Send Patch must send the edited patch, not the compared one.
    rig.form.BSendPatchClick();
    QVERIFY(!rig.compare->comparing());
    QCOMPARE(rig.unitPatch(), edited);
    // Undo leaves the comparison first, then takes the edit back.
    QTest::keyClick(&rig.form, Qt::Key_F8);
    QVERIFY(rig.compare->comparing());
    rig.edits->undoAction()->trigger();
    QVERIFY(!rig.compare->comparing());
    QCOMPARE(rig.imagePatch(), rig.unitPatch());
    QCOMPARE(rig.state.patchImage, rig.state.savedImage);
}

void TestCompare::withMidiClosedThereIsNothingToCompare()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    fetched(rig, 13);
    rig.hub->closeMidi();
    rig.compare->action()->trigger();
    QVERIFY(!rig.compare->comparing());
    QVERIFY(!rig.compare->action()->isChecked());
    QCOMPARE(rig.form.statusBar()->currentMessage(), CompareToggle::ClosedText);
    QVERIFY(rig.form.centralWidget()->isEnabled());
}

void TestCompare::performAndRhythmCompareTheirSets_data()
{
    QTest::addColumn<bool>("rhythm");
    QTest::newRow("Perform mode: the performance") << false;
    QTest::newRow("Rhythm mode: the rhythm set") << true;
}

// Compare needs the set fetched, which the mode buttons do; it then plays
// it as fetched, and brings the edits back on the second press.
void TestCompare::performAndRhythmCompareTheirSets()
{
    QFETCH(bool, rhythm);
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.addTransfers();
    fetched(rig, 17);
    setscreens::loadRandomSets(rig, 18);
    // Never fetched, the set has nothing true to play: nothing goes out.
    const EditMode mode = rhythm ? EditMode::Rhythm : EditMode::Perform;
    QVERIFY(rig.state.setEditMode(mode, 2));
    rig.compare->action()->trigger();
    QVERIFY(!rig.compare->comparing());
    QCOMPARE(rig.form.statusBar()->currentMessage(),
             rhythm ? CompareToggle::NoRhythmText : CompareToggle::NoPerformanceText);
    QCOMPARE(rig.takeDataSets(), QStringList());
    QVERIFY(rig.state.setEditMode(EditMode::Patch));
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    QTest::mouseClick(
        rig.form.findChild<QAbstractButton *>(QLatin1String(rhythm ? "SpBRhythm" : "SpBPerf")),
        Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        !rig.state.SendLock &&
            (rhythm ? rig.state.savedRhythm.allKnown() : rig.state.savedPerformance.allKnown()),
        20000);
    QWidget *window = rhythm ? static_cast<QWidget *>(setscreens::openFromMenu<TRhythmForm>(
                                   rig, "MRhythm", TMidiMainForm::CommonScreen::Rhythm))
                             : setscreens::openFromMenu<TPerformanceForm>(
                                   rig, "MPerformance", TMidiMainForm::CommonScreen::Performance);
    QVERIFY(window);
    const auto buffer = [&] {
        return rhythm ? setscreens::bufferRhythm(rig) : setscreens::bufferPerformance(rig);
    };
    const auto unit = [&] {
        return rhythm ? setscreens::unitRhythm(rig) : setscreens::unitPerformance(rig);
    };
    const QByteArray saved = buffer();
    const QByteArray patch = rig.image();
    const QString statusText =
        rhythm ? CompareToggle::RhythmStatusText : CompareToggle::PerformanceStatusText;
    rig.history.clear();
    RandomWalk walk(*window, 19);
    walk.skip({QStringLiteral("BGetPerf"), QStringLiteral("BSendPerf"),
               QStringLiteral("BWritePerf"), QStringLiteral("BPerfEffects"),
               QStringLiteral("BGetRhythm"), QStringLiteral("BSendRhythm"),
               QStringLiteral("BWriteRhythm"), QStringLiteral("BPlayNote")});
    auto *button = rig.form.findChild<QToolButton *>(QStringLiteral("BCompare"));

    for (int round = 0; round < 3; ++round) {
        const QStringList log = walk.run(25);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.state.SendLock, 10000);
        const QByteArray edited = buffer();
        QVERIFY2(edited != saved, qPrintable(log.join(QLatin1Char('\n'))));
        const int steps = rig.history.undoCount();

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(rig.compare->comparing());
        QCOMPARE(unit(), saved);
        QCOMPARE(buffer(), edited);
        QCOMPARE(rig.form.statusBar()->currentMessage(), statusText);
        QVERIFY(!window->isEnabled());
        // Nothing the window could still reach goes out.
        rig.takeReceived();
        rig.protocol.SendDataSet(
            rhythm ? addr::rhythmNoteAddress(50, 0x29) : addr::performancePartAddress(2, 0x07), 1);
        QCOMPARE(rig.takeDataSets(), QStringList());

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!rig.compare->comparing());
        QCOMPARE(unit(), edited);
        QCOMPARE(buffer(), edited);
        QVERIFY(window->isEnabled());
        QCOMPARE(rig.history.undoCount(), steps);
        QCOMPARE(rig.image(), patch);
    }
}

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
