// The LFO screen against the virtual synthesizer: waveforms and their
// pictures, key trigger, depths shared with the other tone screens, Copy and
// Paste, tone switches after incoming data; and a random walk of edits that
// must leave the unit equal to the image.

#include "randomwalk.h"
#include "tonescreentest.h"

#include "controls/spincw0r.h"
#include "editors/lfoform.h"
#include "editors/lfowavepicture.h"
#include "editors/picturecolours.h"
#include "editors/ptvaform.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QtTest>

using Points = QList<QPoint>;

class TestLfoForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void waveformLoads_data();
    void waveformLoads();
    void randomSteps_data();
    void randomSteps();
    void keyTrigger();
    void depths_data();
    void depths();
    void filterDepthSharedWithFilterScreen();
    void pasteSendsRange();
    void switchAfterIncomingData();
    void randomWalk();
};

// Null when the rig could not open MIDI.
static TLFOForm *openLfo(EditorRig &rig, int tone = 1)
{
    if (!rig.ok())
        return nullptr;
    rig.loadRandom(5);
    return rig.open<TLFOForm>("BLFO", tone);
}

void TestLfoForm::waveformLoads_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Points>("black"); // pixels of the picture
    QTest::addColumn<Points>("clear");
    // The sine: dots from (5, 16) to (47, 13), between y = 9 and 25.
    QTest::newRow("SIN") << 1 << "SIN"
                         << Points{{5, 16}, {5, 15}, {5, 14}, {6, 13}, {47, 13}, {8, 9}, {17, 25}}
                         << Points{{26, 17}, {10, 17}};
    QTest::newRow("SQR") << 3 << "SQR" << Points{{7, 20}, {19, 7}, {25, 27}, {40, 7}}
                         << Points{{26, 17}};
    QTest::newRow("S&H") << 5 << "S&H" << Points{{5, 17}, {9, 17}} << Points{};
    // A byte past the list leaves it without a choice: the picture's cross.
    QTest::newRow("none") << 9 << "" << Points{{5, 17}, {47, 17}, {26, 7}, {26, 27}}
                          << Points{{5, 20}};
}

void TestLfoForm::waveformLoads()
{
    QFETCH(int, stored);
    QFETCH(QString, text);
    QFETCH(Points, black);
    QFETCH(Points, clear);
    EditorRig rig;
    TLFOForm *form = openLfo(rig);
    QVERIFY(form);
    loadToneBytes(rig, 1, {{0x2D, stored}});
    auto *list = childNamed<QComboBox>(form, QStringLiteral("CbWave1"));
    QCOMPARE(list->currentText(), text);
    QCOMPARE(list->currentIndex(), text.isEmpty() ? -1 : stored);
    const QImage image = childNamed<QWidget>(form, QStringLiteral("PBLFO1"))->grab().toImage();
    QCOMPARE(image.size(), LfoWavePicture::Size);
    for (const QPoint &p : black)
        QVERIFY2(image.pixelColor(p) == pictures::Black,
                 qPrintable(QString::number(p.x()) + QLatin1Char(',') + QString::number(p.y())));
    for (const QPoint &p : clear)
        QVERIFY(image.pixelColor(p) != pictures::Black);
    QCOMPARE(rig.takeDataSets(), QStringList());
}

void TestLfoForm::randomSteps_data()
{
    QTest::addColumn<int>("wave");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QPoint>("firstStep");
    QTest::newRow("S&H") << int(LfoWavePicture::SampleHold) << 5 << QPoint(9, 0);
    QTest::newRow("RND") << int(LfoWavePicture::Rnd) << 5 << QPoint(11, 0);
    QTest::newRow("CHS") << int(LfoWavePicture::Chs) << 18 << QPoint(8, 0);
}

// Each random step draws one level from the generator, uniformly from the
// top line to just above the bottom line.
void TestLfoForm::randomSteps()
{
    QFETCH(int, wave);
    QFETCH(int, steps);
    QFETCH(QPoint, firstStep);
    constexpr int Top = 7;
    constexpr int Span = 35 - 8 - 7; // yB - yT
    for (const bool high : {false, true}) {
        QList<int> bounds;
        const LfoWavePicture::Shape s =
            LfoWavePicture::shape(wave, LfoWavePicture::Size, [&](int bound) {
                bounds << bound;
                return high ? bound - 1 : 0;
            });
        QCOMPARE(int(bounds.size()), steps);
        QVERIFY(std::all_of(bounds.begin(), bounds.end(), [](int b) { return b == Span; }));
        // Start, one level segment per step, end.
        QCOMPARE(int(s.line.size()), 2 + 2 * steps + 2);
        QCOMPARE(s.line.at(0), QPoint(5, 17));
        const int y = high ? Top + Span - 1 : Top;
        QCOMPARE(s.line.at(2), QPoint(firstStep.x(), y));
        QCOMPARE(s.line.last(), QPoint(47, y));
    }
}

void TestLfoForm::keyTrigger()
{
    EditorRig rig;
    TLFOForm *form = openLfo(rig);
    QVERIFY(form);
    loadToneBytes(rig, 1, {{0x2E, 2}, {0x36, 0}});
    auto *trig1 = childNamed<QCheckBox>(form, QStringLiteral("ChKeytrig1"));
    auto *trig2 = childNamed<QCheckBox>(form, QStringLiteral("ChKeyTrig2"));
    QVERIFY(trig1->isChecked());
    QVERIFY(!trig2->isChecked());
    trig1->click();
    trig2->click();
    trig1->click();
    QCOMPARE(rig.takeDataSets(), (QStringList{toneDataSet(1, 0x2E, 0), toneDataSet(1, 0x36, 1),
                                              toneDataSet(1, 0x2E, 1)}));
    QCOMPARE(rig.unitTone(1), rig.imageTone(1));
}

void TestLfoForm::depths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("sent");
    QTest::newRow("pan 1 to -63") << "SpLFO1PaD" << 0x7B << int(Qt::Key_Home) << 0;
    QTest::newRow("pan 1 to 63") << "SpLFO1PaD" << 0x7B << int(Qt::Key_End) << 126;
    QTest::newRow("amp 2 page up") << "SpLFO2AD" << 0x76 << int(Qt::Key_PageUp) << 73;
}

// Every depth loaded from 63 shows 0; a key sends the shown value + 63.
void TestLfoForm::depths()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, key);
    QFETCH(int, sent);
    EditorRig rig;
    TLFOForm *form = openLfo(rig);
    QVERIFY(form);
    loadToneBytes(rig, 1, {{offset, 63}});
    auto *spin = form->findChild<TSpincw0R *>(name);
    QCOMPARE(spin->Value(), 0);
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key(key));
    QCOMPARE(rig.takeDataSets(), QStringList{toneDataSet(1, offset, sent)});
    QCOMPARE(spin->Value(), sent - 63);
}

void TestLfoForm::filterDepthSharedWithFilterScreen()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(8);
    loadToneBytes(rig, 3, {{0x63, 72}});
    TLFOForm *form = rig.open<TLFOForm>("BLFO", 3);
    QVERIFY(form);
    auto *spin = childNamed<TSpincw0R>(form, QStringLiteral("SpLFO1FD"));
    QCOMPARE(spin->Value(), 9);
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(rig.takeDataSets(), QStringList{toneDataSet(3, 0x63, 73)});

    auto *filter = rig.open<TPTVAForm>("BTVF_TVA", 3);
    QVERIFY(filter);
    QCOMPARE(childNamed<TSpincw0R>(filter, QStringLiteral("SpLFO1D"))->Value(), 10);
}

void TestLfoForm::pasteSendsRange()
{
    EditorRig rig;
    TLFOForm *form = openLfo(rig, 1);
    QVERIFY(form);
    constexpr int First = 0x2D;
    constexpr int Count = 16;
    const QByteArray section = rig.imageTone(1).mid(First, Count);
    const QByteArray depthsBefore = rig.imageTone(3).mid(0x4E, 2);
    childNamed<QAbstractButton>(form, QStringLiteral("SpCopy"))->click();
    QCOMPARE(childNamed<QLabel>(form, QStringLiteral("LBuff"))->text(), QStringLiteral("Buff = 1"));
    childNamed<QAbstractButton>(form, QStringLiteral("SpT3"))->click();
    QCOMPARE(childNamed<QLabel>(form, QStringLiteral("Ltonekeus"))->text(), QStringLiteral("3"));
    childNamed<QAbstractButton>(form, QStringLiteral("SpPaste"))->click();
    QCOMPARE(rig.takeDataSets(), QStringList{toneDataSet(3, First, section)});
    QCOMPARE(rig.imageTone(3).mid(First, Count), section);
    QCOMPARE(rig.imageTone(3).mid(0x4E, 2), depthsBefore); // depths are not in the range
    QCOMPARE(rig.unitTone(3), rig.imageTone(3));
}

// The unit's tone 2 is switched off behind the editor's back and fetched;
// the refresh must show that on this screen, so a click on tone 3's switch
// afterwards sends tone 3 and nothing else.
void TestLfoForm::switchAfterIncomingData()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(5);
    loadToneBytes(rig, 2, {{addr::tone::Switch, 1}});
    loadToneBytes(rig, 3, {{addr::tone::Switch, 1}});
    TLFOForm *form = rig.open<TLFOForm>("BLFO", 1);
    QVERIFY(form);
    auto *switch2 = childNamed<QAbstractButton>(form, QStringLiteral("SpBTOn2"));
    auto *switch3 = childNamed<QAbstractButton>(form, QStringLiteral("SpBTOn3"));
    QVERIFY(switch2->isChecked());
    QVERIFY(switch3->isChecked());

    SynthMemory memory = rig.engine().memory();
    memory.patch(SynthMemory::Bank::Temporary, 0).block(2)[addr::tone::Switch] = 0;
    rig.engine().setMemory(memory);
    rig.protocol.RequestData(rig.state.toneAddress(2, 0), addr::RequestToneSize);
    QTRY_COMPARE(int(rig.state.patchImage.tone(2, addr::tone::Switch)), 0);
    QTRY_VERIFY(!rig.state.SendLock);
    QVERIFY(!switch2->isChecked());
    rig.takeReceived();

    switch3->click();
    QCOMPARE(rig.takeDataSets(), QStringList{toneDataSet(3, addr::tone::Switch, 0)});
    for (int t = 1; t <= addr::ToneCount; ++t)
        QCOMPARE(rig.unitTone(t), rig.imageTone(t));
}

void TestLfoForm::randomWalk()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    QVERIFY(rig.loadDump(QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/JV1080_AGSOUND1_user01-46.syx"),
                         3));
    TLFOForm *form = rig.open<TLFOForm>("BLFO", 2);
    QVERIFY(form);
    RandomWalk walk(*form, 11);
    const QStringList targets = walk.targets();
    for (const LfoParameter &row : LfoParameter::table())
        QVERIFY2(targets.contains(QLatin1String(row.name)), row.name);
    const QStringList log = walk.run(400);
    for (int t = 1; t <= addr::ToneCount; ++t)
        QVERIFY2(rig.unitTone(t) == rig.imageTone(t), qPrintable(log.join(QLatin1Char('\n'))));
    QVERIFY(rig.takeDataSets().size() > 100);
}

QTEST_MAIN(TestLfoForm)
#include "tst_lfoform.moc"
