// The pitch screen against the virtual synthesizer: conversions of every kind
// of control, the random depth texts, the exit colouring, the editable lists,
// tone choice, Copy and Paste, Release and the envelope graph; and a random
// walk of edits that must leave the unit equal to the image.

#include "editorrig.h"
#include "randomwalk.h"

#include "controls/sliddt.h"
#include "controls/spincw0r.h"
#include "editors/picturecolours.h"
#include "editors/pitchenvelope.h"
#include "editors/ptvaform.h"
#include "editors/ptvpform.h"
#include "midi/sysexmessage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

using Points = QList<QPoint>;

class TestPtvpForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void conversions_data();
    void conversions();
    void loadingSendsNothing();
    void randomDepthText_data();
    void randomDepthText();
    void exitColouring_data();
    void exitColouring();
    void typedListText_data();
    void typedListText();
    void toneChoiceReachesFilterScreen();
    void pasteSendsRange();
    void releaseOnPartChannel();
    void graphPoints_data();
    void graphPoints();
    void graphFollowsControls();
    void randomWalk();
};

// "03 00 1T OO | BB .." as the rig lists the data sets of tone t.
static QString dataSet(int tone, int offset, const QByteArray &bytes)
{
    const addr::Address a{addr::AreaTempPatch, 0x00, addr::toneBlock(tone), std::uint8_t(offset)};
    return sysex::hexLine(a.data(), 4) + QStringLiteral(" | ") +
           sysex::hexLine(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                          int(bytes.size()));
}

static QString dataSet(int tone, int offset, int byte)
{
    return dataSet(tone, offset, QByteArray(1, char(byte)));
}

// Sets one byte of tone 1 in unit and image, then loads as a fetch would.
static void loadByte(EditorRig &rig, int offset, int byte, int tone = 1)
{
    PatchMemory p = rig.engine().memory().patch(SynthMemory::Bank::Temporary, 0);
    p.block(tone)[offset] = std::uint8_t(byte);
    rig.loadPatch(p);
}

static int shownOf(QWidget *w)
{
    if (auto *spin = qobject_cast<TSpincw0R *>(w))
        return spin->Value();
    return w->property("Position").toInt();
}

static TPTVPForm *openTvp(EditorRig &rig, int tone = 1)
{
    rig.loadRandom(12);
    return rig.open<TPTVPForm>("BTVP", tone);
}

void TestPtvpForm::conversions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("shownAfter");
    QTest::newRow("coarse to -48")
        << "SpCoarseT" << 0x3D << 1 << -47 << int(Qt::Key_Down) << 0 << -48;
    QTest::newRow("coarse top") << "SpCoarseT" << 0x3D << 96 << 48 << int(Qt::Key_Down) << 95 << 47;
    QTest::newRow("coarse above range")
        << "SpCoarseT" << 0x3D << 120 << 48 << int(Qt::Key_Down) << 95 << 47;
    QTest::newRow("fine centre") << "SpFineT" << 0x3E << 50 << 0 << int(Qt::Key_Up) << 51 << 1;
    QTest::newRow("fine to -50") << "SpFineT" << 0x3E << 1 << -49 << int(Qt::Key_Home) << 0 << -50;
    // Sensitivities step by two shown units, so the spin never shows an odd
    // value that no byte stands for.
    QTest::newRow("sensitivity up") << "SpEVelS" << 0x42 << 64 << 28 << int(Qt::Key_Up) << 65 << 30;
    QTest::newRow("sensitivity down")
        << "SpEVelS" << 0x42 << 64 << 28 << int(Qt::Key_Down) << 63 << 26;
    QTest::newRow("sensitivity top")
        << "SpEVelS" << 0x42 << 124 << 148 << int(Qt::Key_End) << 125 << 150;
    QTest::newRow("level") << "SpLevP4" << 0x4D << 0 << -63 << int(Qt::Key_Up) << 1 << -62;
    QTest::newRow("time") << "SpTimeP3" << 0x48 << 127 << 127 << int(Qt::Key_Down) << 126 << 126;
    QTest::newRow("lfo 2 depth") << "SpLFO2D" << 0x4F << 126 << 63 << int(Qt::Key_Down) << 125
                                 << 62;
    QTest::newRow("envelope depth") << "SlEnvDF" << 0x41 << 12 << 0 << int(Qt::Key_Up) << 13 << 1;
    QTest::newRow("envelope depth bottom")
        << "SlEnvDF" << 0x41 << 1 << -11 << int(Qt::Key_Down) << 0 << -12;
}

void TestPtvpForm::conversions()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, key);
    QFETCH(int, sent);
    QFETCH(int, shownAfter);
    EditorRig rig;
    QVERIFY(rig.ok());
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    loadByte(rig, offset, stored);
    auto *w = form->findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(shownOf(w), shown);

    w->setFocus();
    QTest::keyClick(w, Qt::Key(key));
    QCOMPARE(rig.takeDataSets(), QStringList{dataSet(1, offset, sent)});
    QCOMPARE(shownOf(w), shownAfter);
    QCOMPARE(rig.unitTone(1), rig.imageTone(1));
}

void TestPtvpForm::loadingSendsNothing()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    for (quint32 seed : {3u, 4u}) {
        rig.loadRandom(seed);
        rig.form.B_UpdateAllClick();
        form->SpBUpdateClick();
        QCOMPARE(rig.takeDataSets(), QStringList());
    }
}

void TestPtvpForm::randomDepthText_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("loadedText");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("sent");
    QTest::addColumn<QString>("text");
    QTest::newRow("to 20") << 19 << "100" << int(Qt::Key_Up) << 20 << "200";
    QTest::newRow("to 30") << 29 << "1100" << int(Qt::Key_Up) << 30 << "1200";
    QTest::newRow("to 9") << 10 << "10" << int(Qt::Key_Down) << 9 << "9";
    QTest::newRow("to 0") << 5 << "5" << int(Qt::Key_Home) << 0 << "0";
}

void TestPtvpForm::randomDepthText()
{
    QFETCH(int, stored);
    QFETCH(QString, loadedText);
    QFETCH(int, key);
    QFETCH(int, sent);
    QFETCH(QString, text);
    EditorRig rig;
    QVERIFY(rig.ok());
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    loadByte(rig, 0x3F, stored);
    auto *slider = form->findChild<TSliddt *>(QStringLiteral("SltRND"));
    QCOMPARE(slider->Text(), loadedText);

    slider->setFocus();
    QTest::keyClick(slider, Qt::Key(key));
    QCOMPARE(rig.takeDataSets(), QStringList{dataSet(1, 0x3F, sent)});
    QCOMPARE(slider->Position(), sent);
    QCOMPARE(slider->Text(), text);
}

void TestPtvpForm::exitColouring_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("green");
    QTest::newRow("level -1") << "SpLevP1" << 0x4A << 62 << true;
    QTest::newRow("level 0") << "SpLevP1" << 0x4A << 63 << false;
    QTest::newRow("sensitivity -2") << "SpEVelS" << 0x42 << 49 << true;
    QTest::newRow("coarse -48") << "SpCoarseT" << 0x3D << 0 << true;
    QTest::newRow("fine 0") << "SpFineT" << 0x3E << 50 << false;
    QTest::newRow("lfo -63") << "SpLFO2D" << 0x4F << 0 << true;
    QTest::newRow("time 0") << "SpTimeP2" << 0x47 << 0 << false;
}

void TestPtvpForm::exitColouring()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, stored);
    QFETCH(bool, green);
    EditorRig rig;
    QVERIFY(rig.ok());
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    loadByte(rig, offset, stored);
    auto *spin = form->findChild<TSpincw0R *>(name);
    const QColor window = spin->palette().color(QPalette::Base);
    QCOMPARE(spin->BKColor(), window); // loading colours nothing

    spin->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(spin->hasFocus());
    QTest::keyClick(spin, Qt::Key_Tab);
    QTRY_VERIFY(!spin->hasFocus());
    QCOMPARE(spin->BKColor(), green ? TPTVPForm::NegativeColour : window);

    // Loading leaves the colour; the next exit sets it from the new value.
    loadByte(rig, offset, green ? 126 : 0);
    QCOMPARE(spin->BKColor(), green ? TPTVPForm::NegativeColour : window);
    spin->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(spin->hasFocus());
    QTest::keyClick(spin, Qt::Key_Tab);
    QTRY_VERIFY(!spin->hasFocus());
    const bool negative = spin->Value() < 0;
    QCOMPARE(spin->BKColor(), negative ? TPTVPForm::NegativeColour : window);
}

void TestPtvpForm::typedListText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("commitKey");
    QTest::addColumn<int>("index"); // -1: nothing may be sent
    QTest::newRow("junk, Return") << "CbVT1Sens" << 0x43 << "xyz" << int(Qt::Key_Return) << -1;
    QTest::newRow("junk, Tab") << "CbTKF" << 0x45 << "12x" << int(Qt::Key_Tab) << -1;
    QTest::newRow("emptied") << "CbPiKeyFl" << 0x40 << "" << int(Qt::Key_Return) << -1;
    QTest::newRow("number off the list") << "CbVT4Sens" << 0x44 << "+15" << int(Qt::Key_Tab) << -1;
    QTest::newRow("item without blanks")
        << "CbVT4Sens" << 0x44 << "+10" << int(Qt::Key_Return) << 8;
    QTest::newRow("item, Tab") << "CbPiKeyFl" << 0x40 << "+200" << int(Qt::Key_Tab) << 15;
    QTest::newRow("first item") << "CbTKF" << 0x45 << "-100" << int(Qt::Key_Return) << 0;
}

void TestPtvpForm::typedListText()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(QString, typed);
    QFETCH(int, commitKey);
    QFETCH(int, index);
    EditorRig rig;
    QVERIFY(rig.ok());
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    constexpr int Before = 3;
    loadByte(rig, offset, Before);
    auto *list = form->findChild<QComboBox *>(name);
    QVERIFY(list->isEditable());

    list->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(list->hasFocus());
    list->lineEdit()->selectAll();
    QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(list->lineEdit(), typed);
    QTest::keyClick(list->lineEdit(), Qt::Key(commitKey));

    const int expected = index < 0 ? Before : index;
    QCOMPARE(rig.takeDataSets(),
             index < 0 ? QStringList() : QStringList{dataSet(1, offset, index)});
    QCOMPARE(list->currentIndex(), expected);
    QCOMPARE(list->currentText(), list->itemText(expected));
    QCOMPARE(int(rig.state.patchImage.tone(1, offset)), expected);
    // Typed text never becomes an item of its own.
    QCOMPARE(list->count(), int(PtvpParameter::find(qPrintable(name))->items.size()));
}

void TestPtvpForm::toneChoiceReachesFilterScreen()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(21);
    auto *filter = rig.open<TPTVAForm>("BTVF_TVA", 1);
    auto *pitch = rig.open<TPTVPForm>("BTVP", 1);
    QVERIFY(filter && pitch);
    pitch->findChild<QAbstractButton *>(QStringLiteral("SpT2"))->click();
    QCOMPARE(rig.state.CurrentTone, 2);
    QCOMPARE(pitch->windowTitle(), QStringLiteral("TVP"));
    QCOMPARE(pitch->findChild<QLabel *>(QStringLiteral("LToneBig"))->text(), QStringLiteral("2"));
    QCOMPARE(pitch->findChild<TSpincw0R *>(QStringLiteral("SpTimeP1"))->Value(),
             int(rig.state.patchImage.tone(2, 0x46)));

    filter->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(filter));
    QVERIFY(filter->findChild<QAbstractButton *>(QStringLiteral("SpT2"))->isChecked());
    QCOMPARE(filter->findChild<TSpincw0R *>(QStringLiteral("SpTimeF1"))->Value(),
             int(rig.state.patchImage.tone(2, 0x5B)));
}

void TestPtvpForm::pasteSendsRange()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TPTVPForm *form = openTvp(rig, 2);
    QVERIFY(form);
    const auto button = [form](const char *name) {
        return form->findChild<QAbstractButton *>(QLatin1String(name));
    };
    constexpr int First = 0x3D;
    constexpr int Count = 19;
    const QByteArray section = rig.imageTone(2).mid(First, Count);
    QVERIFY(section != rig.imageTone(4).mid(First, Count));
    button("SpCopy")->click();
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Lbuff"))->text(),
             QStringLiteral("Buff = 2"));
    QCOMPARE(rig.takeDataSets(), QStringList());

    button("SpT4")->click();
    button("SpPaste")->click();
    QCOMPARE(rig.takeDataSets(), QStringList{dataSet(4, First, section)});
    QCOMPARE(rig.imageTone(4).mid(First, Count), section);
    QCOMPARE(rig.unitTone(4), rig.imageTone(4));
    QCOMPARE(form->findChild<TSpincw0R *>(QStringLiteral("SpLFO2D"))->Value(),
             int(section.at(Count - 1)) - 63);
}

void TestPtvpForm::releaseOnPartChannel()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    rig.form.findChild<QSpinBox *>(QStringLiteral("SpPart"))->setValue(3);
    rig.takeReceived();
    form->findChild<QAbstractButton *>(QStringLiteral("BtRelease"))->click();
    const QByteArray noteOff{"\x92", 1};
    QCOMPARE(rig.takeReceived(), QList<QByteArray>{noteOff + char(rig.hub->testNote()) + char(0)});
}

void TestPtvpForm::graphPoints_data()
{
    QTest::addColumn<EnvelopeValues>("v");
    QTest::addColumn<Points>("expected");
    const auto values = [](std::array<int, 4> t, std::array<int, 4> l, int depth) {
        EnvelopeValues v;
        v.times = t;
        v.levels = l;
        v.depth = depth;
        return v;
    };
    QTest::newRow("times 25") << values({25, 25, 25, 25}, {0, 0, 0, 0}, 12)
                              << Points{{15, 45}, {25, 45}, {35, 45}, {45, 45}};
    // 0.4 pixel per step, truncated: 2 -> 0, 3 -> 1, 127 -> 50.
    QTest::newRow("truncated times")
        << values({2, 3, 127, 0}, {0, 0, 0, 0}, 0) << Points{{5, 45}, {6, 45}, {56, 45}, {56, 45}};
    QTest::newRow("full depth") << values({0, 0, 0, 0}, {63, -63, 1, 0}, 12)
                                << Points{{5, 3}, {5, 87}, {5, 45}, {5, 45}};
    QTest::newRow("negative depth")
        << values({0, 0, 0, 0}, {63, -63, 2, 0}, -12) << Points{{5, 87}, {5, 3}, {5, 46}, {5, 45}};
    QTest::newRow("depth 0 flat") << values({10, 10, 10, 10}, {63, -63, 63, -63}, 0)
                                  << Points{{9, 45}, {13, 45}, {17, 45}, {21, 45}};
}

void TestPtvpForm::graphPoints()
{
    QFETCH(EnvelopeValues, v);
    QFETCH(Points, expected);
    const PitchEnvelope::Points e = PitchEnvelope::points(v);
    QCOMPARE(e.start, QPoint(5, 45));
    QCOMPARE((Points{e.point[0], e.point[1], e.point[2], e.point[3]}), expected);
}

// The graph on the screen is drawn from the spins and the depth slider: an
// aqua point centre where the values put each point.
void TestPtvpForm::graphFollowsControls()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    PatchMemory p = rig.engine().memory().patch(SynthMemory::Bank::Temporary, 0);
    // Depth, sensitivities, times 25, levels 63, -63, 0, 37.
    const std::uint8_t bytes[] = {12, 0, 0, 0, 0, 25, 25, 25, 25, 126, 0, 63, 100};
    std::copy(std::begin(bytes), std::end(bytes), p.block(1) + 0x41);
    rig.loadPatch(p);
    auto *graph = form->findChild<QWidget *>(QStringLiteral("GrTVP"));
    // Depth byte 12 is depth 0: every point on the centre line.
    QImage image = graph->grab().toImage();
    for (int x : {15, 25, 35, 45})
        QCOMPARE(image.pixelColor(x, 45), pictures::Aqua);

    auto *depth = form->findChild<QWidget *>(QStringLiteral("SlEnvDF"));
    depth->setFocus();
    QTest::keyClick(depth, Qt::Key_Home); // -12
    QCOMPARE(rig.takeDataSets(), QStringList{dataSet(1, 0x41, 0)});
    image = graph->grab().toImage();
    QCOMPARE(image.pixelColor(15, 87), pictures::Aqua);
    QCOMPARE(image.pixelColor(25, 3), pictures::Aqua);
    QCOMPARE(image.pixelColor(35, 45), pictures::Aqua);
    QCOMPARE(image.pixelColor(45, 69), pictures::Aqua); // 45 - trunc(37 * -12 / 18)
}

void TestPtvpForm::randomWalk()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    QVERIFY(
        rig.loadDump(QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/JV1080_SuperJVPad_user023.syx")));
    TPTVPForm *form = rig.open<TPTVPForm>("BTVP", 1);
    QVERIFY(form);
    RandomWalk walk(*form, 7);
    const QStringList targets = walk.targets();
    for (const PtvpParameter &row : PtvpParameter::table())
        QVERIFY2(targets.contains(QLatin1String(row.name)), row.name);
    const QStringList log = walk.run(400);
    for (int t = 1; t <= addr::ToneCount; ++t)
        QVERIFY2(rig.unitTone(t) == rig.imageTone(t), qPrintable(log.join(QLatin1Char('\n'))));
    QVERIFY(rig.takeDataSets().size() > 100);
}

QTEST_MAIN(TestPtvpForm)
#include "tst_ptvpform.moc"
