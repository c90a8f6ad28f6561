// The mixer against the virtual synthesizer: texts and addresses of its
// sliders, the chorus-to-reverb route, mute and solo, the patch-wide sliders
// through the main window, Release Note, and Perform mode, where every edit
// goes to the edited part's patch.

#include "commonscreenhelpers.h"
#include "editorrig.h"
#include "randomwalk.h"

#include "controls/lpanh.h"
#include "controls/mbutt.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "editors/mixerform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

class TestMixerForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sliderKeys_data();
    void sliderKeys();
    void chorusToReverb();
    void muteAndSolo();
    void mainWindowSliders();
    void releaseNote();
    void performPartAddressing();
};

using CommonScreen = TMidiMainForm::CommonScreen;

static TMixerForm *openMixer(EditorRig &rig)
{
    return openCommon<TMixerForm>(rig, "BMixer", CommonScreen::Mixer);
}

template <typename T> static T *child(QWidget *w, const QString &name)
{
    return w->findChild<T *>(name);
}

static addr::Address toneAt(int tone, int block, int offset)
{
    return {addr::AreaTempPatch, 0, std::uint8_t(addr::toneBlock(tone) + block),
            std::uint8_t(offset)};
}

static addr::Address commonAt(int offset)
{
    return {addr::AreaTempPatch, 0, addr::BlockCommon, std::uint8_t(offset)};
}

// A patch with every mixer byte away from the values the rows reach.
static void loadMixerPatch(EditorRig &rig)
{
    PatchMemory p = PatchMemory::initial("Mixer");
    for (int t = 1; t <= addr::ToneCount; ++t) {
        p.block(t)[addr::tone::Switch] = 1;
        p.block(t)[TMixerForm::TonePan] = 30;
        p.block(t)[addr::tone::ReverbSend] = 5;
    }
    p.block(0)[TMixerForm::ReverbHfDamp] = 3;
    p.block(0)[addr::common::PatchPan] = 10;
    p.block(0)[addr::common::PatchLevel] = 100;
    p.block(0)[addr::common::ChorusLevel] = 100;
    p.block(0)[addr::common::ReverbLevel] = 100;
    p.block(0)[TMixerForm::ChorusOutput] = 0;
    rig.loadPatch(p);
}

void TestMixerForm::sliderKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sent");
    const QList<int> toZero{Qt::Key_Home};
    const QList<int> toMiddle{Qt::Key_Insert};
    QList<int> toNinety{Qt::Key_Home};
    for (int i = 0; i < 9; ++i)
        toNinety << Qt::Key_PageUp;
    QTest::newRow("tone 2 pan left")
        << "SlP2" << toZero << "L64" << hexData(toneAt(2, 0, TMixerForm::TonePan), 0);
    QTest::newRow("tone 1 pan centre")
        << "SlP1" << toMiddle << "Cent" << hexData(toneAt(1, 0, TMixerForm::TonePan), 64);
    QTest::newRow("tone 3 reverb send")
        << "SlRS3" << toNinety << "" << hexData(toneAt(3, 1, 0), 90);
    QTest::newRow("HF damp bypass") << "SlRHFdamp" << QList<int>{Qt::Key_End} << " BYPASS "
                                    << hexData(commonAt(TMixerForm::ReverbHfDamp), 17);
    QTest::newRow("master pan") << "SlPanM" << QList<int>{Qt::Key_End} << "63R"
                                << hexData(commonAt(addr::common::PatchPan), 127);
}

void TestMixerForm::sliderKeys()
{
    QFETCH(QString, name);
    QFETCH(QList<int>, keys);
    QFETCH(QString, text);
    QFETCH(QString, sent);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadMixerPatch(rig);
    TMixerForm *mixer = openMixer(rig);
    QVERIFY(mixer);
    rig.takeReceived();
    auto *s = child<TSliderBase>(mixer, name);
    QVERIFY(s);
    s->setFocus();
    for (int key : keys)
        QTest::keyClick(s, Qt::Key(key));
    const QStringList sets = rig.takeDataSets();
    QVERIFY2(!sets.isEmpty(), qPrintable(name));
    QCOMPARE(sets.last(), sent);
    if (auto *textual = qobject_cast<TSliddt *>(s))
        QCOMPARE(textual->Text(), text);
    if (name.startsWith(QStringLiteral("SlP")) && name.size() == 4)
        QCOMPARE(child<TLPanH>(mixer, QStringLiteral("PH") + name.right(1))->Value(),
                 s->Position());
    QCOMPARE(rig.imageTone(3), rig.unitTone(3));
}

void TestMixerForm::chorusToReverb()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadMixerPatch(rig);
    TMixerForm *mixer = openMixer(rig);
    QVERIFY(mixer);
    rig.takeReceived();
    auto *level = child<TSlidNaVf>(mixer, QStringLiteral("SlLevC"));
    auto *send = child<TSlidNaVf>(mixer, QStringLiteral("SlRSC"));
    QVERIFY(level->isVisible());
    QVERIFY(!send->isVisible());

    auto *route = child<QComboBox>(mixer, QStringLiteral("CbOutC"));
    route->setFocus();
    QTest::keyClick(route, Qt::Key_Down);
    QCOMPARE(route->currentText(), QStringLiteral("REV"));
    QVERIFY(!level->isVisible());
    QVERIFY(send->isVisible());
    QVERIFY(child<QLabel>(mixer, QStringLiteral("LChorusToReverb"))->isVisible());
    QCOMPARE(child<QLabel>(mixer, QStringLiteral("LReverbSend"))->text(),
             QStringLiteral("Reverb send "));

    // Both sliders edit the chorus level, which the main window shows too.
    send->setFocus();
    QTest::keyClick(send, Qt::Key_End);
    QCOMPARE(rig.takeDataSets(), (QStringList{hexData(commonAt(TMixerForm::ChorusOutput), 1),
                                              hexData(commonAt(addr::common::ChorusLevel), 127)}));
    QCOMPARE(level->Position(), 127);
    QCOMPARE(rig.form.findChild<TSliderBase *>(QStringLiteral("SlChorus"))->Position(), 127);
    QTest::keyClick(route, Qt::Key_Down);
    QVERIFY(level->isVisible());
    QVERIFY(!send->isVisible());
}

void TestMixerForm::muteAndSolo()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadMixerPatch(rig);
    TMixerForm *mixer = openMixer(rig);
    QVERIFY(mixer);
    rig.takeReceived();
    auto *mute = child<TMButt>(mixer, QStringLiteral("MButt1"));
    auto *solo = child<TMButt>(mixer, QStringLiteral("SButt1"));
    auto *muteOn = child<TMButt>(mixer, QStringLiteral("MuteOn"));
    auto *soloOn = child<TMButt>(mixer, QStringLiteral("SoloOn"));
    auto *toneOn = child<QToolButton>(mixer, QStringLiteral("SpBTOn1"));
    QVERIFY(toneOn->isChecked());

    QTest::mouseClick(solo, Qt::LeftButton);
    QVERIFY(soloOn->Down());
    QVERIFY(rig.takeReceived().isEmpty());

    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(rig.takeDataSets(), QStringList{hexData(toneAt(1, 0, addr::tone::Switch), 0)});
    QVERIFY(muteOn->Down());
    QVERIFY(!toneOn->isChecked());
    QVERIFY(!rig.form.ChkTone(1)->isChecked());
    QVERIFY(!solo->isEnabled());
    QVERIFY(!solo->Down());
    QVERIFY(!soloOn->Down());
    // A muted tone can always be unmuted, also after the screen reloads.
    rig.form.B_UpdateAllClick();
    QVERIFY(mute->isEnabled());
    QVERIFY(mute->Down());
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(rig.takeDataSets(), QStringList{hexData(toneAt(1, 0, addr::tone::Switch), 1)});
    QVERIFY(toneOn->isChecked());
    QVERIFY(!muteOn->Down());
    QVERIFY(solo->isEnabled());

    // The indicators only show; a click changes nothing.
    QTest::mouseClick(muteOn, Qt::LeftButton);
    QVERIFY(!muteOn->Down());
}

void TestMixerForm::mainWindowSliders()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadMixerPatch(rig);
    TMixerForm *mixer = openMixer(rig);
    QVERIFY(mixer);
    rig.takeReceived();
    auto *master = child<TSlidNaVf>(mixer, QStringLiteral("SlMaster"));
    master->setFocus();
    QTest::keyClick(master, Qt::Key_Home);
    auto *pan = child<TSliddt>(mixer, QStringLiteral("SlPanM"));
    QCOMPARE(pan->Text(), QStringLiteral("L54"));
    pan->setFocus();
    QTest::keyClick(pan, Qt::Key_Insert);
    auto *reverb = child<TSlidNaVf>(mixer, QStringLiteral("SlLevR"));
    reverb->setFocus();
    QTest::keyClick(reverb, Qt::Key_Home);
    // One data set each: the main window sends, the mixer's own send finds
    // the byte already there.
    QCOMPARE(rig.takeDataSets(), (QStringList{hexData(commonAt(addr::common::PatchLevel), 0),
                                              hexData(commonAt(addr::common::PatchPan), 64),
                                              hexData(commonAt(addr::common::ReverbLevel), 0)}));
    QCOMPARE(rig.form.findChild<TSliderBase *>(QStringLiteral("SlLevel"))->Position(), 0);
    QCOMPARE(rig.form.findChild<TSliderBase *>(QStringLiteral("SlPPan"))->Position(), 0);
    QCOMPARE(rig.form.findChild<TSliderBase *>(QStringLiteral("SlReverb"))->Position(), 0);
    QCOMPARE(pan->Text(), QStringLiteral("Cent"));
}

void TestMixerForm::releaseNote()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TMixerForm *mixer = openMixer(rig);
    QVERIFY(mixer);
    selectPart(rig, 5);
    rig.takeReceived();
    QTest::mouseClick(child<QAbstractButton>(mixer, QStringLiteral("BitBtn1")), Qt::LeftButton);
    const QByteArray noteOff{"\x94", 1};
    QCOMPARE(rig.takeReceived(), QList<QByteArray>{noteOff + char(rig.hub->testNote()) + char(0)});
}

void TestMixerForm::performPartAddressing()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadMixerPatch(rig);
    TMixerForm *mixer = openMixer(rig);
    QVERIFY(mixer);
    selectPart(rig, 5);
    QCOMPARE(rig.state.EditPrefix, (std::array<std::uint8_t, 2>{addr::AreaPerformancePart, 4}));
    QTRY_VERIFY(!rig.state.SendLock);
    rig.takeReceived();
    RandomWalk walk(*mixer, 5);
    // Release Note sends no data; the effects screen is the effects' test.
    walk.skip({QStringLiteral("BitBtn1"), QStringLiteral("BEFX")});
    const QStringList log = walk.run(150);
    const QStringList sets = rig.takeDataSets();
    QVERIFY(sets.size() > 20);
    for (const QString &set : sets) {
        // The synthesizer's own effect switches are no patch's.
        if (set.startsWith(QStringLiteral("00 00 00 0")))
            continue;
        QVERIFY2(set.startsWith(QStringLiteral("02 04 ")),
                 qPrintable(set + QLatin1Char('\n') + log.join(QLatin1Char('\n'))));
    }
}

QTEST_MAIN(TestMixerForm)
#include "tst_mixerform.moc"
