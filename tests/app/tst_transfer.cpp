// Get Patch, Send Patch and Save to synth from the main window, through the
// real hub and ports, against the virtual synthesizer.

#include "app/saveuser.h"
#include "midi/sysexmessage.h"
#include "transferrig.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

namespace {

// "11 7F 10 00" for every data set the unit received.
QStringList dataSetAddresses(const QList<QByteArray> &received)
{
    QStringList out;
    for (const QByteArray &m : received)
        if (m.size() > sysex::DataPos && quint8(m[sysex::CommandPos]) == sysex::CommandDataSet)
            out << sysex::hexLine(
                reinterpret_cast<const std::uint8_t *>(m.constData()) + sysex::AddressPos, 4);
    return out;
}

const QString MidiClosed = QStringLiteral("Midi Closed\rSelect Midi Devices");

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void getPatchLoadsImageAndScreen_data();
    void getPatchLoadsImageAndScreen();
    void unansweredGetPatchGivesUp();
    void sendPatchMakesUnitEqualImage();
    void saveToSynthWritesThePlace_data();
    void saveToSynthWritesThePlace();
    void cancelSendsNothingAndKeepsTheNumber();
    void closedMidiRefusesOnce_data();
    void closedMidiRefusesOnce();

private:
    std::unique_ptr<TransferRig> rig;
};

void TestTransfer::init()
{
    rig = std::make_unique<TransferRig>();
    QVERIFY(rig->openMidi());
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->form));
    rig->info.messages.clear();
}

void TestTransfer::cleanup()
{
    rig.reset();
}

void TestTransfer::getPatchLoadsImageAndScreen_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("button");
    QTest::newRow("button") << false << "BGetPatch";
    // Requests that reach a unit still answering are dropped and asked again.
    QTest::newRow("busy unit") << true << "BGetPatch";
}

void TestTransfer::getPatchLoadsImageAndScreen()
{
    QFETCH(bool, busy);
    QFETCH(QString, button);
    SynthMemory m = rig->engine().memory();
    PatchMemory &temp = m.patch(SynthMemory::Bank::Temporary, 0);
    temp = PatchMemory::initial("From The Unit");
    temp.common[addr::common::PatchLevel] = 99;
    temp.tones[2][addr::tone::OutputLevel] = 33;
    rig->engine().setMemory(m);
    rig->engine().setBusyMode(busy);
    rig->form.setUpdateFromJv(false);

    QTest::mouseClick(rig->form.findChild<QWidget *>(button), Qt::LeftButton);
    QVERIFY(rig->form.updateFromJv());
    QTRY_VERIFY_WITH_TIMEOUT(!rig->transfer->engine().fetching(), 5000);
    QTRY_VERIFY(!rig->state.SendLock);
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->imageBlock(k), rig->unitBlock(k));
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text(), QStringLiteral("From The Uni"));
    QCOMPARE(rig->form.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(rig->info.messages.isEmpty());
    // Only what was dropped is asked for again.
    const int dropped = rig->engine().stats().requestsDropped;
    QCOMPARE(dropped > 0, busy);
    QCOMPARE(rig->transfer->engine().requestsSent(), 5 + dropped);
}

// Nothing answers a unit ID the synthesizer does not have: the lock and the
// cursor are released after the time-out, and the user is told.
void TestTransfer::unansweredGetPatchGivesUp()
{
    rig->state.UnitId = 18;
    rig->transfer->engine().setTimeoutMs(300);
    const PatchImage before = rig->state.patchImage;
    QTest::mouseClick(rig->child<QPushButton>("BGetPatch"), Qt::LeftButton);
    QVERIFY(rig->state.SendLock);
    QCOMPARE(rig->form.cursor().shape(), Qt::WaitCursor);
    QTRY_VERIFY_WITH_TIMEOUT(!rig->state.SendLock, 3000);
    QCOMPARE(rig->form.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(rig->info.messages.size(), 1);
    QVERIFY(rig->info.messages.first().contains(QLatin1String("did not answer")));
    QVERIFY(rig->state.patchImage == before);
}

void TestTransfer::sendPatchMakesUnitEqualImage()
{
    rig->fillImage("Sent Patch", 11);
    rig->state.PatchModified = false;
    QTest::mouseClick(rig->child<QPushButton>("BSendPatch"), Qt::LeftButton);
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->unitBlock(k), rig->imageBlock(k));
    QCOMPARE(
        dataSetAddresses(rig->engine().received()),
        (QStringList{"03 00 00 00", "03 00 10 00", "03 00 12 00", "03 00 14 00", "03 00 16 00"}));
    QVERIFY(rig->state.PatchModified);
    QCOMPARE(rig->form.cursor().shape(), Qt::ArrowCursor);
}

void TestTransfer::saveToSynthWritesThePlace_data()
{
    QTest::addColumn<bool>("card");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("USER 128") << false << "128"
                              << QStringList{"11 7F 00 00", "11 7F 10 00", "11 7F 12 00",
                                             "11 7F 14 00", "11 7F 16 00"};
    QTest::newRow("CARD 1") << true << "1"
                            << QStringList{"21 00 00 00", "21 00 10 00", "21 00 12 00",
                                           "21 00 14 00", "21 00 16 00"};
}

void TestTransfer::saveToSynthWritesThePlace()
{
    QFETCH(bool, card);
    QFETCH(QString, typed);
    QFETCH(QStringList, addresses);
    rig->fillImage("Kept Patch", 5);
    const PatchImage image = rig->state.patchImage;
    QString ltype;
    rig->driveDialogs([&](QDialog &d) {
        auto *sp = d.findChild<QSpinBox *>(QStringLiteral("sp"));
        QTest::keyClick(sp, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(sp, typed);
        if (card)
            QTest::mouseClick(d.findChild<QRadioButton *>(QStringLiteral("RB_CARD")),
                              Qt::LeftButton);
        ltype = d.findChild<QLabel *>(QStringLiteral("Ltype"))->text();
        QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("B_OK")), Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("SpeedButton1"), Qt::LeftButton);
    QCOMPARE(rig->dialogsShown, 1);
    QCOMPARE(ltype, card ? QStringLiteral("CARD") : QStringLiteral("USER"));
    QCOMPARE(dataSetAddresses(rig->engine().received()), addresses);
    rig->engine().waitIdle();
    const SynthMemory m = rig->engine().memory();
    const PatchMemory &saved =
        m.patch(card ? SynthMemory::Bank::Card : SynthMemory::Bank::User, typed.toInt() - 1);
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(saved.block(k)), addr::blockSize(k)),
                 rig->imageBlock(k));
    QVERIFY(rig->state.patchImage == image);
    QVERIFY(m.patch(SynthMemory::Bank::Temporary, 0) ==
            SynthMemory().patch(SynthMemory::Bank::Temporary, 0));
}

void TestTransfer::cancelSendsNothingAndKeepsTheNumber()
{
    TSaveUser &dialog = rig->transfer->saveUser();
    QCOMPARE(dialog.windowTitle(), QStringLiteral(" Save Patch To JV ~ XP"));
    QCOMPARE(dialog.SavePatchNumber, 1); // shown as 1, so stored as 1
    rig->driveDialogs([](QDialog &d) {
        auto *sp = d.findChild<QSpinBox *>(QStringLiteral("sp"));
        QTest::keyClick(sp, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(sp, QStringLiteral("77"));
        QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("B_CANCEL")), Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("SpeedButton1"), Qt::LeftButton);
    QVERIFY(rig->engine().received().isEmpty());
    QCOMPARE(dialog.SavePatchNumber, 0);

    int shown = 0;
    rig->driveDialogs([&](QDialog &d) {
        shown = d.findChild<QSpinBox *>(QStringLiteral("sp"))->value();
        QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("B_OK")), Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("SpeedButton1"), Qt::LeftButton);
    QCOMPARE(shown, 77);
    QCOMPARE(dataSetAddresses(rig->engine().received()).first(), QStringLiteral("11 4C 00 00"));
}

void TestTransfer::closedMidiRefusesOnce_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("get patch") << "BGetPatch";
    QTest::newRow("send patch") << "BSendPatch";
    QTest::newRow("save to synth") << "SpeedButton1";
}

void TestTransfer::closedMidiRefusesOnce()
{
    QFETCH(QString, button);
    rig->hub->closeMidi();
    QVERIFY(rig->state.MidiClosed);
    rig->info.messages.clear();
    rig->driveDialogs([](QDialog &) {});
    QTest::mouseClick(rig->form.findChild<QWidget *>(button), Qt::LeftButton);
    QCOMPARE(rig->info.messages, QStringList{MidiClosed});
    QCOMPARE(rig->dialogsShown, 0);
    QVERIFY(!rig->state.SendLock);
    QVERIFY(!rig->transfer->engine().fetching());
    QVERIFY(rig->engine().received().isEmpty());
    QCOMPARE(rig->form.cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
