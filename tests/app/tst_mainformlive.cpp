// The main window driven by keys and mouse against the virtual synthesizer
// through the real hub and ports: after a series of edits the unit's
// temporary patch and the editor's image are the same bytes.

#include "transferrig.h"

#include "controls/slidnavf.h"
#include "controls/spincw0r.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestMainFormLive : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { rig.reset(); }
    void editsReachTheUnit();
    void editsWhileClosedStayInTheImageOnly();

private:
    void press(const char *name, Qt::Key key, int times = 1);
    void compareWithUnit();
    std::unique_ptr<TransferRig> rig;
};

void TestMainFormLive::init()
{
    rig = std::make_unique<TransferRig>();
    QVERIFY(rig->openMidi());
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->form));
    // Start from what the unit holds, as a musician would.
    QTest::mouseClick(rig->child<QPushButton>("BGetPatch"), Qt::LeftButton);
    QTRY_VERIFY(!rig->state.SendLock);
    rig->info.messages.clear();
}

void TestMainFormLive::press(const char *name, Qt::Key key, int times)
{
    QWidget *w = rig->form.findChild<QWidget *>(QLatin1String(name));
    QVERIFY2(w, name);
    w->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(w, key);
}

void TestMainFormLive::compareWithUnit()
{
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->unitBlock(k).toHex(' '), rig->imageBlock(k).toHex(' '));
}

void TestMainFormLive::editsReachTheUnit()
{
    const PatchImage fetched = rig->state.patchImage;

    auto *name = rig->child<QLineEdit>("EPtchName");
    QVERIFY(name);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Live Bass"));
    QTest::keyClick(name, Qt::Key_Return);

    press("SlLevel", Qt::Key_Down, 3);
    press("SlPPan", Qt::Key_Up, 5);
    press("SlChorus", Qt::Key_PageUp);
    press("SlReverb", Qt::Key_End);
    press("SlAnaFeel", Qt::Key_Up, 2);
    press("SpDefTempo", Qt::Key_Up, 4);
    press("SpOctaveS", Qt::Key_Down);
    press("CbVoiceP", Qt::Key_Down);
    press("ChkTone1", Qt::Key_Space);
    press("ChkTone3", Qt::Key_Space);
    press("SpcWaveT1", Qt::Key_Up, 7);
    press("SpcWaveT3", Qt::Key_PageUp);
    press("CbOutput2", Qt::Key_Down);
    press("SpLevOut4", Qt::Key_Down, 6);

    QVERIFY(rig->info.messages.isEmpty());
    QVERIFY(rig->state.PatchModified);
    QVERIFY(!(rig->state.patchImage == fetched));
    QCOMPARE(rig->state.patchImage.name(), QByteArray("Live Bass   "));
    compareWithUnit();

    // A fetch after the edits brings back exactly what was edited.
    const PatchImage edited = rig->state.patchImage;
    rig->state.patchImage.Initialise();
    QTest::mouseClick(rig->child<QPushButton>("BGetPatch"), Qt::LeftButton);
    QTRY_VERIFY(!rig->state.SendLock);
    QVERIFY(rig->state.patchImage == edited);
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text().trimmed(), QStringLiteral("Live Bass"));
}

void TestMainFormLive::editsWhileClosedStayInTheImageOnly()
{
    rig->hub->closeMidi();
    const QByteArray before = rig->unitBlock(0);
    press("SlLevel", Qt::Key_Down);
    QCOMPARE(rig->info.messages, QStringList{QStringLiteral("Midi Closed")});
    QCOMPARE(rig->unitBlock(0), before);
    QVERIFY(rig->imageBlock(0) != before);
}

QTEST_MAIN(TestMainFormLive)
#include "tst_mainformlive.moc"
