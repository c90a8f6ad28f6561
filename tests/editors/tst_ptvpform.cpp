// The pitch screen against the virtual synthesizer: conversions, the random
// depth texts, the exit colouring, typed list text, tone choice, Paste,
// Release and the envelope graph; and a random walk of edits that must leave
// the unit equal to the image.

#include "randomwalk.h"
#include "tonescreentest.h"

#include "controls/sliddt.h"
#include "controls/spincw0r.h"
#include "editors/picturecolours.h"
#include "editors/ptvaform.h"
#include "editors/ptvpform.h"

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
    void randomDepthText_data();
    void randomDepthText();
    void exitColouring_data();
    void exitColouring();
    void typedListText_data();
    void typedListText();
    void toneChoiceReachesFilterScreen();
    void pasteSendsRange();
    void releaseOnPartChannel();
    void graphFollowsControls();
    void randomWalk();
};

// Null when the rig could not open MIDI.
static TPTVPForm *openTvp(EditorRig &rig, int tone = 1)
{
    if (!rig.ok())
        return nullptr;
    rig.loadRandom(12);
    return rig.open<TPTVPForm>("BTVP", tone);
}

static int shownOf(QWidget *w)
{
    if (auto *spin = qobject_cast<TSpincw0R *>(w))
        return spin->Value();
    return w->property("Position").toInt();
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
    QTest::newRow("coarse above range")
        << "SpCoarseT" << 0x3D << 120 << 48 << int(Qt::Key_Down) << 95 << 47;
    QTest::newRow("fine centre") << "SpFineT" << 0x3E << 50 << 0 << int(Qt::Key_Up) << 51 << 1;
    // Sensitivities move by two shown units, so the spin never shows an odd
    // value that no byte stands for.
    QTest::newRow("sensitivity up") << "SpEVelS" << 0x42 << 64 << 28 << int(Qt::Key_Up) << 65 << 30;
    QTest::newRow("sensitivity down")
        << "SpEVelS" << 0x42 << 64 << 28 << int(Qt::Key_Down) << 63 << 26;
    QTest::newRow("level") << "SpLevP4" << 0x4D << 0 << -63 << int(Qt::Key_Up) << 1 << -62;
    QTest::newRow("lfo 2 depth") << "SpLFO2D" << 0x4F << 126 << 63 << int(Qt::Key_Down) << 125
                                 << 62;
    QTest::newRow("envelope depth")
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
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    loadToneBytes(rig, 1, {{offset, stored}});
    auto *w = childNamed<QWidget>(form, name);
    QCOMPARE(shownOf(w), shown);

    w->setFocus();
    QTest::keyClick(w, Qt::Key(key));
    QCOMPARE(rig.takeDataSets(), QStringList{toneDataSet(1, offset, sent)});
    QCOMPARE(shownOf(w), shownAfter);
    QCOMPARE(rig.unitTone(1), rig.imageTone(1));
}

void TestPtvpForm::randomDepthText_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("loadedText");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("to 20") << 19 << "100" << int(Qt::Key_Up) << "200";
    QTest::newRow("to 30") << 29 << "1100" << int(Qt::Key_Up) << "1200";
    QTest::newRow("to 9") << 10 << "10" << int(Qt::Key_Down) << "9";
}

void TestPtvpForm::randomDepthText()
{
    QFETCH(int, stored);
    QFETCH(QString, loadedText);
    QFETCH(int, key);
    QFETCH(QString, text);
    EditorRig rig;
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    loadToneBytes(rig, 1, {{0x3F, stored}});
    auto *slider = childNamed<TSliddt>(form, QStringLiteral("SltRND"));
    QCOMPARE(slider->Text(), loadedText);

    slider->setFocus();
    QTest::keyClick(slider, Qt::Key(key));
    const int sent = slider->Position();
    QCOMPARE(sent, key == Qt::Key_Up ? stored + 1 : stored - 1);
    QCOMPARE(rig.takeDataSets(), QStringList{toneDataSet(1, 0x3F, sent)});
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
}

void TestPtvpForm::exitColouring()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, stored);
    QFETCH(bool, green);
    EditorRig rig;
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    loadToneBytes(rig, 1, {{offset, stored}});
    auto *spin = childNamed<TSpincw0R>(form, name);
    const QColor window = spin->palette().color(QPalette::Base);
    const QColor expected = green ? TPTVPForm::NegativeColour : window;
    QCOMPARE(spin->BKColor(), window); // loading colours nothing
    const auto tabOut = [spin] {
        spin->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(spin->hasFocus());
        QTest::keyClick(spin, Qt::Key_Tab);
        QTRY_VERIFY(!spin->hasFocus());
    };
    tabOut();
    QCOMPARE(spin->BKColor(), expected);

    // Loading the opposite sign leaves the colour; the next exit changes it.
    loadToneBytes(rig, 1, {{offset, green ? 126 : 0}});
    QCOMPARE(spin->BKColor(), expected);
    tabOut();
    QCOMPARE(spin->BKColor(), green ? window : TPTVPForm::NegativeColour);
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
    QTest::newRow("item without blanks")
        << "CbVT4Sens" << 0x44 << "+10" << int(Qt::Key_Return) << 8;
    QTest::newRow("item, Tab") << "CbPiKeyFl" << 0x40 << "+200" << int(Qt::Key_Tab) << 15;
}

void TestPtvpForm::typedListText()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(QString, typed);
    QFETCH(int, commitKey);
    QFETCH(int, index);
    EditorRig rig;
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    constexpr int Before = 3;
    loadToneBytes(rig, 1, {{offset, Before}});
    auto *list = childNamed<QComboBox>(form, name);
    const int items = list->count();

    list->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(list->hasFocus());
    list->lineEdit()->selectAll();
    QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(list->lineEdit(), typed);
    QTest::keyClick(list->lineEdit(), Qt::Key(commitKey));

    const int expected = index < 0 ? Before : index;
    QCOMPARE(rig.takeDataSets(),
             index < 0 ? QStringList() : QStringList{toneDataSet(1, offset, index)});
    QCOMPARE(list->currentIndex(), expected);
    QCOMPARE(list->currentText(), list->itemText(expected));
    QCOMPARE(int(rig.state.patchImage.tone(1, offset)), expected);
    QCOMPARE(list->count(), items); // typed text never becomes an item
}

void TestPtvpForm::toneChoiceReachesFilterScreen()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(21);
    auto *filter = rig.open<TPTVAForm>("BTVF_TVA", 1);
    auto *pitch = rig.open<TPTVPForm>("BTVP", 1);
    QVERIFY(filter && pitch);
    childNamed<QAbstractButton>(pitch, QStringLiteral("SpT2"))->click();
    QCOMPARE(rig.state.CurrentTone, 2);
    QCOMPARE(pitch->windowTitle(), QStringLiteral("TVP"));
    QCOMPARE(childNamed<QLabel>(pitch, QStringLiteral("LToneBig"))->text(), QStringLiteral("2"));

    filter->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(filter));
    QTRY_VERIFY(childNamed<QAbstractButton>(filter, QStringLiteral("SpT2"))->isChecked());
    QTRY_COMPARE(childNamed<TSpincw0R>(filter, QStringLiteral("SpTimeF1"))->Value(),
                 int(rig.state.patchImage.tone(2, 0x5B)));
}

void TestPtvpForm::pasteSendsRange()
{
    EditorRig rig;
    TPTVPForm *form = openTvp(rig, 2);
    QVERIFY(form);
    const auto click = [form](const char *name) {
        childNamed<QAbstractButton>(form, QLatin1String(name))->click();
    };
    constexpr int First = 0x3D;
    constexpr int Count = 19;
    const QByteArray section = rig.imageTone(2).mid(First, Count);
    QVERIFY(section != rig.imageTone(4).mid(First, Count));
    click("SpCopy");
    QCOMPARE(childNamed<QLabel>(form, QStringLiteral("Lbuff"))->text(), QStringLiteral("Buff = 2"));
    click("SpT4");
    click("SpPaste");
    QCOMPARE(rig.takeDataSets(), QStringList{toneDataSet(4, First, section)});
    QCOMPARE(rig.unitTone(4).mid(First, Count), section);
    QCOMPARE(rig.unitTone(4), rig.imageTone(4));
    QCOMPARE(childNamed<TSpincw0R>(form, QStringLiteral("SpLFO2D"))->Value(),
             int(section.at(Count - 1)) - 63);
}

// The hub plays its test notes on the part's channel; Release ends the note
// there.
void TestPtvpForm::releaseOnPartChannel()
{
    EditorRig rig;
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    childNamed<QSpinBox>(&rig.form, QStringLiteral("SpPart"))->setValue(3);
    rig.takeReceived();
    childNamed<QAbstractButton>(form, QStringLiteral("BtRelease"))->click();
    QCOMPARE(rig.takeReceived(),
             QList<QByteArray>{QByteArray("\x92", 1) + char(rig.hub->testNote()) + char(0)});
}

// The graph follows the spins and the depth slider: an aqua centre where
// each point lies, 0.4 pixel per time step and depth x level / 18 pixels
// off the centre line.
void TestPtvpForm::graphFollowsControls()
{
    EditorRig rig;
    TPTVPForm *form = openTvp(rig);
    QVERIFY(form);
    // Depth 0, times 25, levels 63, -63, 0, 37.
    loadToneBytes(rig, 1,
                  {{0x41, 12},
                   {0x46, 25},
                   {0x47, 25},
                   {0x48, 25},
                   {0x49, 25},
                   {0x4A, 126},
                   {0x4B, 0},
                   {0x4C, 63},
                   {0x4D, 100}});
    auto *graph = childNamed<QWidget>(form, QStringLiteral("GrTVP"));
    QImage image = graph->grab().toImage();
    for (int x : {15, 25, 35, 45})
        QCOMPARE(image.pixelColor(x, 45), pictures::Aqua);

    auto *depth = childNamed<QWidget>(form, QStringLiteral("SlEnvDF"));
    depth->setFocus();
    QTest::keyClick(depth, Qt::Key_Home); // -12
    QCOMPARE(rig.takeDataSets(), QStringList{toneDataSet(1, 0x41, 0)});
    image = graph->grab().toImage();
    const Points expected{{15, 87}, {25, 3}, {35, 45}, {45, 69}};
    for (const QPoint &p : expected)
        QCOMPARE(image.pixelColor(p), pictures::Aqua);
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
