// The effects screen against the virtual synthesizer: the type change with
// its request, the sliders' ranges and geometry by list, the send guard, the
// Patch/Performance switch through the main window's own routine with the
// patch image left alone, unknown type bytes, and a random walk over the
// effects screen and the mixer that must leave the unit equal to the image.

#include "commonscreenhelpers.h"
#include "editorrig.h"
#include "randomwalk.h"

#include "controls/sliddt.h"
#include "controls/spincw0r.h"
#include "core/effecttables.h"
#include "editors/efxform.h"
#include "editors/mixerform.h"

#include <QComboBox>
#include <QLabel>
#include <QtTest>

class TestEfxForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typeChoiceSendsAndRequests();
    void sliderGeometry_data();
    void sliderGeometry();
    void equalEventsSendOnce();
    void controlDepthEdges();
    void titleNamesTypeAfterRefresh();
    void unknownTypeHidesSliders();
    void performanceModeLeavesPatchAlone();
    void randomWalkBothScreens();
};

using CommonScreen = TMidiMainForm::CommonScreen;

static const addr::Address PatchType{addr::AreaTempPatch, 0, addr::BlockCommon,
                                     addr::common::EffectType};
static const addr::Address PerformanceType{addr::AreaTempPerformance, 0, addr::BlockCommon,
                                           TEfxForm::PerformanceBase};
static const QString TwentyOneBytes = QStringLiteral("00 00 00 15");

// Puts the effect type byte and parameters k (1..20) into unit and image.
static void loadEffect(EditorRig &rig, int type, const QMap<int, int> &parameters = {})
{
    PatchMemory p = rig.engine().memory().patch(SynthMemory::Bank::Temporary, 0);
    p.block(0)[addr::common::EffectType] = std::uint8_t(type);
    for (auto it = parameters.begin(); it != parameters.end(); ++it)
        p.block(0)[addr::common::EffectType + it.key()] = std::uint8_t(it.value());
    rig.loadPatch(p);
}

// The unit's thread may stall for seconds on a loaded machine; an answer
// that came after the screen stopped waiting would land on top of later
// edits. The wait still ends as soon as the answer is in.
constexpr int PatientAnswerMs = 60000;

static TEfxForm *openEffects(EditorRig &rig)
{
    auto *efx = openCommon<TEfxForm>(rig, "BEffect", CommonScreen::Effect);
    if (efx)
        efx->setAnswerTimeoutMs(PatientAnswerMs);
    return efx;
}

template <typename T> static T *child(QWidget *w, const QString &name)
{
    return w->findChild<T *>(name);
}

static TSliddt *slider(QWidget *w, int slot)
{
    return child<TSliddt>(w, QStringLiteral("Sliddt%1").arg(slot));
}

static QString title(QWidget *w)
{
    return child<QLabel>(w, QStringLiteral("STop1"))->text();
}

void TestEfxForm::typeChoiceSendsAndRequests()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadEffect(rig, 0);
    TEfxForm *efx = openEffects(rig);
    QVERIFY(efx);
    rig.takeReceived();

    auto *list = child<QComboBox>(efx, QStringLiteral("CbEFXType"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    const QList<QByteArray> got = rig.takeReceived();
    QCOMPARE(dataSetsIn(got), QStringList{hexData(PatchType, 1)});
    QCOMPARE(requestsIn(got),
             QStringList{sysex::hexLine(PatchType.data(), 4) + " | " + TwentyOneBytes});
    // Labels change at once; "Update from JV" brings the answer in, which
    // opens the lock again.
    QCOMPARE(child<QLabel>(efx, QStringLiteral("Lpm1"))->text(), QStringLiteral("Amp Type"));
    QCOMPARE(title(efx), QStringLiteral("Patch EFX 02: Overdrive"));
    QTRY_COMPARE(imageCommon(rig), unitCommon(rig));
    QVERIFY(!rig.state.SendLock);
}

void TestEfxForm::sliderGeometry_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("ticks");
    // Stereo-EQ: Hi Freq (2 entries), Pk1 BWidth (5), Peak1 Gain (31), Out Level (128).
    // Two entries would make 32 pixels, less than a slider can paint.
    QTest::newRow("V1") << 0 << 9 << 1 << 36 << 2;
    QTest::newRow("V4") << 0 << 2 << 4 << 68 << 5;
    QTest::newRow("V2") << 0 << 3 << 30 << 147 << 7;
    QTest::newRow("V5") << 0 << 12 << 127 << 147 << 13;
    // Tremolo-Chorus phase (91 entries) and balance (101).
    QTest::newRow("V20") << 11 << 4 << 90 << 147 << 10;
    QTest::newRow("V19") << 11 << 11 << 100 << 147 << 11;
    // Stereo-Delay: the 127-entry delay time.
    QTest::newRow("V24") << 16 << 1 << 126 << 147 << 12;
}

void TestEfxForm::sliderGeometry()
{
    QFETCH(int, type);
    QFETCH(int, slot);
    QFETCH(int, maximum);
    QFETCH(int, height);
    QFETCH(int, ticks);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadEffect(rig, type);
    TEfxForm *efx = openEffects(rig);
    QVERIFY(efx);
    TSliddt *s = slider(efx, slot);
    QVERIFY(s->isVisible());
    QCOMPARE(s->MinValue(), 0);
    QCOMPARE(s->MaxValue(), maximum);
    QCOMPARE(s->height(), height);
    QCOMPARE(s->Ticks(), ticks);
    // The top of the range shows the list's last text.
    s->setFocus();
    QTest::keyClick(s, Qt::Key_End);
    const EffectTables &tables = EffectTables::instance();
    const int list = tables.slot(type, slot - 1).list;
    QCOMPARE(s->Text(), tables.text(list, maximum).left(TSliddt::MaxTextLength));
}

void TestEfxForm::equalEventsSendOnce()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadEffect(rig, 1, {{1, 10}, {2, 64}, {3, 0}, {6, 100}});
    TEfxForm *efx = openEffects(rig);
    QVERIFY(efx);
    rig.takeReceived();
    // Overdrive slot 2 is Drive, parameter 1.
    TSliddt *drive = slider(efx, 2);
    QCOMPARE(drive->Position(), 10);
    drive->setFocus();
    QTest::keyClick(drive, Qt::Key_Up);
    QSignalSpy changes(drive, &TSliderBase::OnChange);
    drive->setPosition(11);
    drive->setPosition(11);
    QCOMPARE(changes.count(), 2);
    const addr::Address driveAddress{addr::AreaTempPatch, 0, addr::BlockCommon,
                                     addr::common::EffectType + 1};
    QCOMPARE(rig.takeDataSets(), QStringList{hexData(driveAddress, 11)});
    QCOMPARE(drive->Text(), QStringLiteral(" 11"));
}

void TestEfxForm::controlDepthEdges()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadEffect(rig, 3, {{TEfxForm::Depth1K, 63}});
    TEfxForm *efx = openEffects(rig);
    QVERIFY(efx);
    rig.takeReceived();
    auto *depth = child<TSpincw0R>(efx, QStringLiteral("SpCDepth1"));
    depth->setFocus();
    QTest::keyClick(depth, Qt::Key_Home);
    QTest::keyClick(depth, Qt::Key_End);
    const auto at = [](int k) {
        return addr::Address{addr::AreaTempPatch, 0, addr::BlockCommon,
                             std::uint8_t(TEfxForm::PatchBase + k)};
    };
    QCOMPARE(rig.takeDataSets(),
             (QStringList{hexData(at(TEfxForm::Depth1K), 0), hexData(at(TEfxForm::Depth1K), 126)}));
    // The control labels are the type's (Phaser: Manual Hz. and Rate).
    QCOMPARE(child<QLabel>(efx, QStringLiteral("Lpm13"))->text(), QStringLiteral("Manual Hz."));
    QCOMPARE(child<QLabel>(efx, QStringLiteral("Lpm14"))->text(), QStringLiteral("Rate"));
}

void TestEfxForm::titleNamesTypeAfterRefresh()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadEffect(rig, 0);
    TEfxForm *efx = openEffects(rig);
    QVERIFY(efx);
    QCOMPARE(title(efx), QStringLiteral("Patch EFX 01: Stereo-EQ"));
    // A patch arrives with another type: the update names it, the lists follow.
    QVERIFY(rig.loadDump(QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/JV1080_AGSOUND1_user01-46.syx"),
                         44));
    QCOMPARE(title(efx), QStringLiteral("Patch EFX 08: Rotary"));
    QCOMPARE(child<QComboBox>(efx, QStringLiteral("CbEFXType"))->currentIndex(), 7);
    QCOMPARE(child<QLabel>(efx, QStringLiteral("Lpm6"))->text(), QStringLiteral("Separation"));
    QCOMPARE(slider(efx, 6)->Position(), int(rig.state.patchImage.common(0x0C + 10)));
    QVERIFY(!slider(efx, 11)->isVisible());
}

void TestEfxForm::unknownTypeHidesSliders()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TEfxForm *efx = openEffects(rig);
    QVERIFY(efx);
    loadEffect(rig, 45, {{1, 127}, {2, 127}, {3, 127}});
    for (int s = 1; s <= TEfxForm::SlotCount; ++s)
        QVERIFY2(!slider(efx, s)->isVisible(), qPrintable(QString::number(s)));
    auto *note = child<QLabel>(efx, QStringLiteral("LUnknownType"));
    QVERIFY(note->isVisible());
    QVERIFY(note->text().contains(QStringLiteral("45")));
    QVERIFY(title(efx).endsWith(QStringLiteral("45")));
    QCOMPARE(child<QComboBox>(efx, QStringLiteral("CbEFXType"))->currentIndex(), -1);
    // Choosing a type from there works as always.
    auto *list = child<QComboBox>(efx, QStringLiteral("CbEFXType"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    QVERIFY(slider(efx, 1)->isVisible());
    QVERIFY(!note->isVisible());
}

void TestEfxForm::performanceModeLeavesPatchAlone()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadEffect(rig, 0);
    TEfxForm *efx = openEffects(rig);
    QVERIFY(efx);
    // Give the temporary performance an effect of its own.
    SynthMemory memory = rig.engine().memory();
    memory.performance().setCommon(TEfxForm::PerformanceBase, 23);
    memory.performance().setCommon(TEfxForm::PerformanceBase + 3, 50);
    rig.engine().setMemory(memory);
    rig.takeReceived();

    auto *mode = child<QAbstractButton>(efx, QStringLiteral("SpMode"));
    QCOMPARE(mode->text(), QStringLiteral("Performance EFX Edit"));
    mode->click();
    // The main window's routine: Perform mode on part 1, sound mode sent.
    QCOMPARE(rig.state.EditPrefix, (std::array<std::uint8_t, 2>{addr::AreaPerformancePart, 0}));
    QTRY_VERIFY(child<QWidget>(efx, QStringLiteral("Sliddt1"))->isEnabled());
    QTRY_COMPARE(title(efx), QStringLiteral("Performance EFX 24: Reverb"));
    const QList<QByteArray> got = rig.takeReceived();
    const addr::Address soundMode{addr::AreaSystem, 0, 0, addr::system::SoundMode};
    QVERIFY(dataSetsIn(got).contains(hexData(soundMode, 0)));
    QVERIFY(requestsIn(got).contains(sysex::hexLine(PerformanceType.data(), 4) + " | " +
                                     TwentyOneBytes));
    QCOMPARE(mode->text(), QStringLiteral("Patch EFX Edit"));
    QVERIFY(efx->windowTitle().startsWith(QStringLiteral("Effects")));
    QCOMPARE(slider(efx, 2)->Position(), 50);

    QTRY_VERIFY(!rig.state.SendLock);
    const PatchImage before = rig.state.patchImage;
    auto *list = child<QComboBox>(efx, QStringLiteral("CbEFXType"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    QTRY_VERIFY(!rig.state.SendLock);
    TSliddt *level = slider(efx, 12);
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Home);
    const QStringList sets = rig.takeDataSets();
    QCOMPARE(sets.first(), hexData(PerformanceType, 22));
    for (const QString &set : sets)
        QVERIFY2(set.startsWith(QStringLiteral("01 00 00 ")), qPrintable(set));
    QVERIFY(rig.state.patchImage == before);
    QCOMPARE(rig.state.performance.common(TEfxForm::PerformanceBase), std::uint8_t(22));

    // And back: the patch's own effect, on 03 00.
    mode->click();
    QCOMPARE(rig.state.EditPrefix, (std::array<std::uint8_t, 2>{addr::AreaTempPatch, 0}));
    QTRY_COMPARE(title(efx), QStringLiteral("Patch EFX 01: Stereo-EQ"));
    QCOMPARE(mode->text(), QStringLiteral("Performance EFX Edit"));
    QVERIFY(rig.takeDataSets().contains(hexData(soundMode, 1)));
}

void TestEfxForm::randomWalkBothScreens()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    QVERIFY(rig.loadDump(QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/JV1080_AGSOUND1_user01-46.syx"),
                         3));
    TEfxForm *efx = openEffects(rig);
    QVERIFY(efx);
    auto *mixer = openCommon<TMixerForm>(rig, "BMixer", CommonScreen::Mixer);
    QVERIFY(mixer);
    RandomWalk efxWalk(*efx, 11);
    efxWalk.skip({QStringLiteral("SpMode"), QStringLiteral("SpMain")});
    RandomWalk mixerWalk(*mixer, 13);
    mixerWalk.skip({QStringLiteral("BEFX"), QStringLiteral("BitBtn1")});
    QStringList log;
    for (int round = 0; round < 6; ++round) {
        log += efxWalk.run(40);
        log += mixerWalk.run(40);
    }
    // Type changes, with their requests and answers, are part of the walk.
    QVERIFY(!log.filter(QStringLiteral("CbEFXType")).isEmpty());
    QTRY_VERIFY(!rig.state.SendLock);
    const QString why = log.join(QLatin1Char('\n'));
    QVERIFY2(unitCommon(rig) == imageCommon(rig), qPrintable(why));
    for (int t = 1; t <= addr::ToneCount; ++t)
        QVERIFY2(rig.unitTone(t) == rig.imageTone(t), qPrintable(why));
    QVERIFY(!rig.takeDataSets().isEmpty());
}

QTEST_MAIN(TestEfxForm)
#include "tst_efxform.moc"
