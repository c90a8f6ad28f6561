// The range and switches screen against the virtual synthesizer: key range
// bars with their spring-back and note labels, loading without the rule,
// bender range, key assign with the grey legato box, velocity ranges sent as
// they are, the patch-wide lists and switches; the main window's update with
// every screen open; and a random walk over the wave, controller and range
// screens that must leave the unit equal to the image.

#include "editorrig.h"
#include "randomwalk.h"
#include "sendlines.h"

#include "controls/spincw0r.h"
#include "editors/comswform.h"
#include "editors/ctrlform.h"
#include "editors/waveform.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

using namespace sendlines;

class TestComSwForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keyRange_data();
    void keyRange();
    void loadingSetsBarsAsStored();
    void commonControls_data();
    void commonControls();
    void keyAssign_data();
    void keyAssign();
    void velocityRangeSentAsItIs();
    void listChoiceFromPopup();
    void updateWithEveryScreenOpen();
    void randomWalkThreeScreens();
};

static TComSwForm *openSwitch(EditorRig &rig)
{
    rig.form.findChild<QPushButton *>(QStringLiteral("BSwitch"))->click();
    auto *form =
        qobject_cast<TComSwForm *>(rig.screens->commonScreen(TMidiMainForm::CommonScreen::Switch));
    if (!form || !QTest::qWaitForWindowExposed(form))
        return nullptr;
    rig.takeDataSets();
    return form;
}

void TestComSwForm::keyRange_data()
{
    QTest::addColumn<int>("tone");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upperKey");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("lowerAfter");
    QTest::addColumn<int>("upperAfter");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("label");
    QTest::newRow("lower pushed past upper springs back")
        << 2 << false << 40 << 60 << int(Qt::Key_End) << 60 << 60
        << QStringList{line(0x12, 0x0E, QByteArray(1, 60))} << "-C4-";
    QTest::newRow("upper pushed below lower springs back")
        << 3 << true << 60 << 70 << int(Qt::Key_Home) << 60 << 60 << QStringList{tone(3, 0x0F, 60)}
        << "-C4-";
    QTest::newRow("lower step") << 1 << false << 59 << 127 << int(Qt::Key_Right) << 60 << 127
                                << QStringList{tone(1, 0x0E, 60)} << "-C4-";
    QTest::newRow("lower against upper")
        << 1 << false << 61 << 61 << int(Qt::Key_Right) << 61 << 61 << QStringList() << "C#4";
    QTest::newRow("upper step") << 4 << true << 0 << 127 << int(Qt::Key_Left) << 0 << 126
                                << QStringList{tone(4, 0x0F, 126)} << "F#9";
}

void TestComSwForm::keyRange()
{
    QFETCH(int, tone);
    QFETCH(bool, upper);
    QFETCH(int, lower);
    QFETCH(int, upperKey);
    QFETCH(int, key);
    QFETCH(int, lowerAfter);
    QFETCH(int, upperAfter);
    QFETCH(QStringList, sent);
    QFETCH(QString, label);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{tone, TComSwForm::KeyLowerOffset, lower},
                    {tone, TComSwForm::KeyUpperOffset, upperKey}});
    TComSwForm *form = openSwitch(rig);
    QVERIFY(form);
    QScrollBar *bar = form->keyBar(tone, upper);
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key(key));

    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(form->keyBar(tone, false)->value(), lowerAfter);
    QCOMPARE(form->keyBar(tone, true)->value(), upperAfter);
    const QString labelName = QStringLiteral("LKR%1%2").arg(tone).arg(upper ? 'U' : 'L');
    QCOMPARE(form->findChild<QLabel *>(labelName)->text(), label);
    QCOMPARE(rig.unitTone(tone), rig.imageTone(tone));
}

// The image is shown as it is: no bar pushes the other while loading.
void TestComSwForm::loadingSetsBarsAsStored()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{1, TComSwForm::KeyLowerOffset, 60}, {1, TComSwForm::KeyUpperOffset, 127}});
    TComSwForm *form = openSwitch(rig);
    QVERIFY(form);
    const auto shows = [form](int lower, int upper, const char *lowerText, const char *upperText) {
        return form->keyBar(1, false)->value() == lower &&
               form->keyBar(1, true)->value() == upper &&
               form->findChild<QLabel *>(QStringLiteral("LKR1L"))->text() ==
                   QLatin1String(lowerText) &&
               form->findChild<QLabel *>(QStringLiteral("LKR1U"))->text() ==
                   QLatin1String(upperText);
    };
    QVERIFY(shows(60, 127, "-C4-", "G9"));
    loadBytes(rig, {{1, TComSwForm::KeyLowerOffset, 0}, {1, TComSwForm::KeyUpperOffset, 40}});
    QVERIFY(shows(0, 40, "C-1", "E2"));
    loadBytes(rig, {{1, TComSwForm::KeyLowerOffset, 80}, {1, TComSwForm::KeyUpperOffset, 20}});
    QVERIFY(shows(80, 20, "G#5", "G#0"));
    QCOMPARE(rig.takeDataSets(), QStringList());
    QCOMPARE(rig.imageTone(1).mid(TComSwForm::KeyLowerOffset, 2), QByteArray("\x50\x14"));
}

void TestComSwForm::commonControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("bend down to -24")
        << "SpBendDown" << 0x32 << 23 << -23 << int(Qt::Key_Down) << QStringList{common(0x32, 24)};
    QTest::newRow("bend down -48")
        << "SpBendDown" << 0x32 << 48 << -48 << int(Qt::Key_Up) << QStringList{common(0x32, 47)};
    QTest::newRow("bend up at its top")
        << "SpBendUp" << 0x31 << 12 << 12 << int(Qt::Key_Up) << QStringList();
    QTest::newRow("portamento time")
        << "SpPortTime" << 0x39 << 0 << 0 << int(Qt::Key_Up) << QStringList{common(0x39, 1)};
    QTest::newRow("effect hold/peak")
        << "CbCtrlEFX" << 0x3C << 2 << 2 << int(Qt::Key_Up) << QStringList{common(0x3C, 1)};
    QTest::newRow("ctrl 3 hold/peak")
        << "CbCtrl3" << 0x3F << 0 << 0 << int(Qt::Key_End) << QStringList{common(0x3F, 2)};
    QTest::newRow("velocity range on")
        << "ChVeloR" << 0x40 << 0 << 0 << int(Qt::Key_Space) << QStringList{common(0x40, 1)};
}

void TestComSwForm::commonControls()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, key);
    QFETCH(QStringList, sent);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{0, offset, stored}});
    TComSwForm *form = openSwitch(rig);
    QVERIFY(form);
    auto *w = form->findChild<QWidget *>(name);
    QVERIFY(w);
    if (auto *spin = qobject_cast<TSpincw0R *>(w))
        QCOMPARE(spin->Value(), shown);
    else if (auto *list = qobject_cast<QComboBox *>(w))
        QCOMPARE(list->currentIndex(), shown);
    else
        QCOMPARE(qobject_cast<QCheckBox *>(w)->isChecked(), shown > 0);
    w->setFocus();
    QTest::keyClick(w, Qt::Key(key));
    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(sendlines::unitBlock(rig, 0), imageBlock(rig, 0));
}

void TestComSwForm::keyAssign_data()
{
    QTest::addColumn<int>("solo");
    QTest::addColumn<int>("legato");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<int>("legatoState");
    QTest::newRow("Poly: legato off first, then poly")
        << 1 << 1 << "RBPoly" << QStringList{common(0x34, 0), common(0x33, 0)}
        << int(Qt::PartiallyChecked);
    QTest::newRow("Poly without legato")
        << 1 << 0 << "RBPoly" << QStringList{common(0x33, 0)} << int(Qt::PartiallyChecked);
    QTest::newRow("Solo leaves legato")
        << 0 << 1 << "RBSolo" << QStringList{common(0x33, 1)} << int(Qt::Checked);
    QTest::newRow("legato on in Solo")
        << 1 << 0 << "ChSoloL" << QStringList{common(0x34, 1)} << int(Qt::Checked);
}

void TestComSwForm::keyAssign()
{
    QFETCH(int, solo);
    QFETCH(int, legato);
    QFETCH(QString, clicked);
    QFETCH(QStringList, sent);
    QFETCH(int, legatoState);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{0, TComSwForm::KeyAssignOffset, solo}, {0, TComSwForm::LegatoOffset, legato}});
    TComSwForm *form = openSwitch(rig);
    QVERIFY(form);
    auto *box = form->findChild<QCheckBox *>(QStringLiteral("ChSoloL"));
    QCOMPARE(box->checkState(), legato ? Qt::Checked : Qt::Unchecked);
    auto *button = form->findChild<QAbstractButton *>(clicked);
    // On the round or square mark: a button reacts only on it and its text.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(int(box->checkState()), legatoState);
    QCOMPARE(sendlines::unitBlock(rig, 0), imageBlock(rig, 0));
}

// Unlike the key range, a lower velocity above the upper one is sent as it is.
void TestComSwForm::velocityRangeSentAsItIs()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{2, TComSwForm::VeloLowerOffset, 99},
                    {2, TComSwForm::VeloUpperOffset, 21},
                    {3, TComSwForm::CrossFadeOffset, 127}});
    TComSwForm *form = openSwitch(rig);
    QVERIFY(form);
    const std::pair<const char *, Qt::Key> presses[] = {
        {"SpVRD2", Qt::Key_Up}, {"SpVRU2", Qt::Key_Down}, {"SpXF3", Qt::Key_Down}};
    for (const auto &[name, key] : presses) {
        auto *spin = form->findChild<TSpincw0R *>(QLatin1String(name));
        spin->setFocus();
        QTest::keyClick(spin, key);
    }
    QCOMPARE(rig.takeDataSets(),
             (QStringList{tone(2, 0x0C, 100), tone(2, 0x0D, 20), tone(3, 0x0B, 126)}));
    QCOMPARE(rig.unitTone(2), rig.imageTone(2));
}

// A choice made in the open list reaches the unit, whatever the window's
// activation does while the popup closes.
void TestComSwForm::listChoiceFromPopup()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{0, TComSwForm::HoldPeakEfxOffset + 2, 0}});
    TComSwForm *form = openSwitch(rig);
    QVERIFY(form);
    form->activateWindow();
    QTRY_VERIFY(form->isActiveWindow());
    auto *list = form->findChild<QComboBox *>(QStringLiteral("CbCtrl2"));
    list->showPopup();
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    clickPopupRow(view, 2);
    QTRY_VERIFY_WITH_TIMEOUT(!view->isVisible(), 30000);
    QTRY_VERIFY(form->isActiveWindow());
    QCOMPARE(rig.takeDataSets(), QStringList{common(TComSwForm::HoldPeakEfxOffset + 2, 2)});
    QCoreApplication::processEvents(); // a queued reload, if any, has run
    QCOMPARE(list->currentIndex(), 2);
}

void TestComSwForm::updateWithEveryScreenOpen()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    QVERIFY(rig.open<TWaveForm>("BWave", 1));
    QVERIFY(rig.open<TCtrlForm>("BCtrl", 2));
    QPointer<TComSwForm> form = openSwitch(rig);
    QVERIFY(form);
    for (quint32 seed : {41u, 42u, 43u}) {
        rig.loadRandom(seed);
        rig.form.B_UpdateAllClick();
        QCOMPARE(rig.takeDataSets(), QStringList());
        QVERIFY(!rig.state.SendLock);
        for (int t = 1; t <= TComSwForm::Tones; ++t) {
            QCOMPARE(form->keyBar(t, false)->value(),
                     int(rig.state.patchImage.tone(t, TComSwForm::KeyLowerOffset)));
            QCOMPARE(form->keyBar(t, true)->value(),
                     int(rig.state.patchImage.tone(t, TComSwForm::KeyUpperOffset)));
        }
    }
    // Released on closing; the next opening builds it anew.
    form->close();
    QTRY_VERIFY(form.isNull());
    QVERIFY(!rig.screens->commonScreen(TMidiMainForm::CommonScreen::Switch));
    QVERIFY(openSwitch(rig));
}

void TestComSwForm::randomWalkThreeScreens()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    QVERIFY(
        rig.loadDump(QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/JV1080_SuperJVPad_user023.syx")));
    TWaveForm *wave = rig.open<TWaveForm>("BWave", 1);
    TCtrlForm *ctrl = rig.open<TCtrlForm>("BCtrl", 2);
    TComSwForm *ranges = openSwitch(rig);
    QVERIFY(wave && ctrl && ranges);
    RandomWalk waveWalk(*wave, 101);
    RandomWalk ctrlWalk(*ctrl, 102);
    RandomWalk rangeWalk(*ranges, 103);
    for (const char *name : {"CbWaveGroup", "CbWaveGain", "ChBFXM", "SpToneDTime"})
        QVERIFY2(waveWalk.targets().contains(QLatin1String(name)), name);
    for (const char *name : {"CbSource3", "SpCtr34", "CxRedamper", "Balloff", "SpPaste"})
        QVERIFY2(ctrlWalk.targets().contains(QLatin1String(name)), name);
    for (const char *name : {"SpBendDown", "RBPoly", "ChSoloL", "SPXF1", "SpVRU4", "CbCtrl2"})
        QVERIFY2(rangeWalk.targets().contains(QLatin1String(name)), name);

    // The walk does not know grids, typed numbers and scroll bars.
    QRandomGenerator rng(104);
    auto *grid = wave->findChild<QTableWidget *>(QStringLiteral("WaveGrid"));
    auto *typed = wave->findChild<QLineEdit *>(QStringLiteral("EdWaveNo"));
    const QList<Qt::Key> barKeys = {Qt::Key_Left,     Qt::Key_Right, Qt::Key_PageUp,
                                    Qt::Key_PageDown, Qt::Key_Home,  Qt::Key_End};
    QStringList log;
    for (int round = 0; round < 12; ++round) {
        log << waveWalk.run(15) << ctrlWalk.run(15) << rangeWalk.run(15);
        const QModelIndex cell = grid->model()->index(int(rng.bounded(TWaveForm::GridRows)),
                                                      int(rng.bounded(TWaveForm::GridColumns)));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        typed->setFocus();
        QTest::keyClicks(typed, QString::number(rng.bounded(300)));
        QTest::keyClick(typed, Qt::Key_Return);
        for (int i = 0; i < 4; ++i) {
            QScrollBar *bar = ranges->keyBar(1 + int(rng.bounded(4)), rng.bounded(2) == 1);
            bar->setFocus();
            QTest::keyClick(bar, barKeys.at(int(rng.bounded(qsizetype(barKeys.size())))));
        }
        log << QStringLiteral("grid %1,%2; typed; bars").arg(cell.column()).arg(cell.row());
    }
    const QString trace = log.join(QLatin1Char('\n'));
    for (int k = 0; k < addr::SlotCount; ++k)
        QVERIFY2(sendlines::unitBlock(rig, k) == imageBlock(rig, k), qPrintable(trace));
    QVERIFY(!rig.takeDataSets().isEmpty());
}

QTEST_MAIN(TestComSwForm)
#include "tst_comswform.moc"
