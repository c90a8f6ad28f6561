// Get Patch, Send Patch, Save to synth, Copy Tone and System Control from the
// main window, through the real hub and ports, against the virtual
// synthesizer.

#include "app/copytoneform.h"
#include "app/saveuser.h"
#include "app/sysform.h"
#include "midi/sysexmessage.h"
#include "transferrig.h"

#include <QCheckBox>
#include <QComboBox>
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
// Silence after which a fetch asks again for what is missing; long, so that a
// unit stalled by a loaded machine does not look quiet.
constexpr int QuietMs = 1000;

QCheckBox *toBox(QDialog &d, int tone)
{
    return d.findChild<QCheckBox *>(QStringLiteral("CBTo%1").arg(tone));
}
QByteArray toneBytes(const PatchImage &image, int tone)
{
    return QByteArray(reinterpret_cast<const char *>(image.slotData(tone)), addr::ToneSize);
}
QList<QByteArray> sysexOnly(const QList<QByteArray> &received)
{
    QList<QByteArray> out;
    for (const QByteArray &m : received)
        if (!m.isEmpty() && quint8(m[0]) == 0xF0)
            out << m;
    return out;
}
QComboBox *list(QDialog &d, int n)
{
    return d.findChild<QComboBox *>(QStringLiteral("CbSC%1").arg(n));
}
const QByteArray Request = QByteArray::fromHex("F0 41 10 6A 11 00 00 00 12 00 00 00 02 6C F7");

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
    void copyToneSourceDisablesItsOwnBox_data();
    void copyToneSourceDisablesItsOwnBox();
    void copyToneOkCopiesAndSendsThePatch_data();
    void copyToneOkCopiesAndSendsThePatch();
    void copyToneWithMidiClosedStillCopies();
    void systemControlShowsTheUnitsSourcesAndSendsChoices_data();
    void systemControlShowsTheUnitsSourcesAndSendsChoices();
    void systemControlUnansweredRequestKeepsTheLockForAWhile();

private:
    // The copy-tone dialog, shown on its own.
    QDialog &copyDialog();
    void clickTone(const char *prefix, int tone);
    // Control sources the unit holds, unlike the editor's defaults.
    void setUnitSources();
    std::unique_ptr<TransferRig> rig;
    QDialog *dialog = nullptr;
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
    // Deaf for a while after each answer, so that the requests sent together
    // meet a busy unit however long a loaded machine takes between them,
    // while a request asked again after the quiet time is answered.
    rig->engine().setBusyTail(std::chrono::milliseconds(QuietMs / 2));
    rig->form.setUpdateFromJv(false);
    rig->transfer->engine().setQuietMs(QuietMs);
    rig->transfer->engine().setTimeoutMs(10000);

    QTest::mouseClick(rig->form.findChild<QWidget *>(button), Qt::LeftButton);
    QVERIFY(rig->form.updateFromJv());
    QTRY_VERIFY_WITH_TIMEOUT(!rig->transfer->engine().fetching(), 15000);
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
    QTRY_VERIFY_WITH_TIMEOUT(!rig->state.SendLock, 10000);
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
    TSaveUser &save = rig->transfer->saveUser();
    QCOMPARE(save.windowTitle(), QStringLiteral(" Save Patch To JV ~ XP"));
    QCOMPARE(save.SavePatchNumber, 1); // shown as 1, so stored as 1
    rig->driveDialogs([](QDialog &d) {
        auto *sp = d.findChild<QSpinBox *>(QStringLiteral("sp"));
        QTest::keyClick(sp, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(sp, QStringLiteral("77"));
        QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("B_CANCEL")), Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("SpeedButton1"), Qt::LeftButton);
    QVERIFY(rig->engine().received().isEmpty());
    QCOMPARE(save.SavePatchNumber, 0);

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

QDialog &TestTransfer::copyDialog()
{
    dialog = &rig->transfer->copyToneForm();
    dialog->show();
    [this] { QVERIFY(QTest::qWaitForWindowExposed(dialog)); }();
    return *dialog;
}

void TestTransfer::setUnitSources()
{
    SynthMemory m = rig->engine().memory();
    m.systemCommon()[addr::system::ControlSource1] = 5;
    m.systemCommon()[addr::system::ControlSource2] = 70;
    rig->engine().setMemory(m);
}

void TestTransfer::clickTone(const char *prefix, int tone)
{
    QTest::mouseClick(dialog->findChild<QAbstractButton *>(
                          QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(tone)),
                      Qt::LeftButton);
}

void TestTransfer::copyToneSourceDisablesItsOwnBox_data()
{
    QTest::addColumn<int>("source");
    QTest::newRow("tone 2") << 2;
    QTest::newRow("tone 4") << 4;
}

void TestTransfer::copyToneSourceDisablesItsOwnBox()
{
    QFETCH(int, source);
    copyDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral(" Copy One Tone To Multiple Tones"));
    QVERIFY(!toBox(*dialog, 1)->isEnabled()); // tone 1 is the source at first
    // Its check mark goes when a tone becomes the source; the others keep theirs.
    const int other = source == 4 ? 3 : 4;
    clickTone("RBFrom", 2); // frees tone 1
    for (int t : {source, other})
        if (!toBox(*dialog, t)->isChecked() && toBox(*dialog, t)->isEnabled())
            QTest::mouseClick(toBox(*dialog, t), Qt::LeftButton);
    clickTone("RBFrom", source);
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Lfrom"))->text(), QString::number(source));
    QCOMPARE(rig->state.CurrentTone, source);
    for (int t = 1; t <= addr::ToneCount; ++t) {
        QCOMPARE(toBox(*dialog, t)->isEnabled(), t != source);
        if (t == source)
            QVERIFY(!toBox(*dialog, t)->isChecked());
    }
    QVERIFY(toBox(*dialog, other)->isChecked());

    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BAll")), Qt::LeftButton);
    for (int t = 1; t <= addr::ToneCount; ++t)
        QCOMPARE(toBox(*dialog, t)->isChecked(), t != source);
}

void TestTransfer::copyToneOkCopiesAndSendsThePatch_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QList<int>>("targets");
    QTest::addColumn<bool>("ok");
    QTest::newRow("2 to 1 and 4") << 2 << QList<int>{1, 4} << true;
    // Nothing changes, but the controls reload and the whole patch goes out.
    QTest::newRow("no destination") << 1 << QList<int>{} << true;
    QTest::newRow("cancel") << 1 << QList<int>{2, 3} << false;
}

void TestTransfer::copyToneOkCopiesAndSendsThePatch()
{
    QFETCH(int, source);
    QFETCH(QList<int>, targets);
    QFETCH(bool, ok);
    copyDialog();
    // Tones that all differ, and a name the screen does not show yet: the
    // reload must bring it.
    const QByteArray name("Not Yet Seen");
    rig->fillImage(name, 7);
    const PatchImage before = rig->state.patchImage;
    rig->driveDialogs([&](QDialog &) {
        clickTone("RBFrom", source);
        for (int t : targets)
            QTest::mouseClick(toBox(*dialog, t), Qt::LeftButton);
        const QString button = ok ? QStringLiteral("OKBtn") : QStringLiteral("CancelBtn");
        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("SpCopy"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    if (!ok) {
        QVERIFY(rig->state.patchImage == before);
        QVERIFY(rig->engine().received().isEmpty());
        return;
    }
    for (int t = 1; t <= addr::ToneCount; ++t)
        QCOMPARE(toneBytes(rig->state.patchImage, t),
                 toneBytes(before, targets.contains(t) ? source : t));
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text(), QString::fromLatin1(name));
    rig->engine().waitIdle();
    QCOMPARE(rig->engine().stats().dataSets, 5);
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->unitBlock(k), rig->imageBlock(k));
}

void TestTransfer::copyToneWithMidiClosedStillCopies()
{
    copyDialog();
    rig->hub->closeMidi();
    rig->info.messages.clear();
    rig->fillImage("Copied", 8);
    const QByteArray tone1 = toneBytes(rig->state.patchImage, 1);
    rig->driveDialogs([&](QDialog &) {
        QTest::mouseClick(toBox(*dialog, 2), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("OKBtn")),
                          Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("SpCopy"), Qt::LeftButton);
    QCOMPARE(toneBytes(rig->state.patchImage, 2), tone1);
    QCOMPARE(rig->info.messages, QStringList{"Midi Closed\rSelect Midi Devices"});
    QCOMPARE(rig->engine().stats().dataSets, 0);
    QVERIFY(rig->engine().received().isEmpty());
}

void TestTransfer::systemControlShowsTheUnitsSourcesAndSendsChoices_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("aftertouch as source 2")
        << 2 << int(Qt::Key_End) << 97 << "Aftertouch"
        << QByteArray::fromHex("F0 41 10 6A 12 00 00 00 13 61 0C F7");
    QTest::newRow("first row as source 1")
        << 1 << int(Qt::Key_Home) << 0 << "Bank Select"
        << QByteArray::fromHex("F0 41 10 6A 12 00 00 00 12 00 6E F7");
}

void TestTransfer::systemControlShowsTheUnitsSourcesAndSendsChoices()
{
    QFETCH(int, which);
    QFETCH(int, key);
    QFETCH(int, stored);
    QFETCH(QString, text);
    QFETCH(QByteArray, sent);
    setUnitSources();
    int shown1 = -1, shown2 = -1;
    QString last;
    rig->driveDialogs([&](QDialog &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("  Set System Control"));
        shown1 = list(d, 1)->currentIndex();
        shown2 = list(d, 2)->currentIndex();
        QTest::keyClick(list(d, which), Qt::Key(key));
        last = list(d, which)->currentText();
    });
    QTest::mouseClick(rig->child<QPushButton>("BSysCtrl"), Qt::LeftButton);
    QCOMPARE(shown1, 5);
    QCOMPARE(shown2, 70);
    QCOMPARE(last, text);
    QVERIFY(rig->engine().waitIdle());
    QCOMPARE(sysexOnly(rig->engine().received()), (QList<QByteArray>{Request, sent}));
    const std::uint8_t offset =
        which == 1 ? addr::system::ControlSource1 : addr::system::ControlSource2;
    QCOMPARE(int(rig->state.SystemCommon[offset]), stored);
    QCOMPARE(int(rig->engine().memory().systemCommon()[offset]), stored);
}

// No answer: the lists show what the editor held, and while the request
// keeps SendLock set a choice is only remembered; the lock goes after the
// time-out.
void TestTransfer::systemControlUnansweredRequestKeepsTheLockForAWhile()
{
    setUnitSources();
    rig->state.UnitId = 18;
    rig->transfer->engine().setTimeoutMs(200);
    rig->state.SystemCommon[addr::system::ControlSource2] = 3;
    int shown2 = -1;
    rig->driveDialogs([&](QDialog &d) {
        shown2 = list(d, 2)->currentIndex();
        QTest::keyClick(list(d, 2), Qt::Key_Down);
    });
    QTest::mouseClick(rig->child<QPushButton>("BSysCtrl"), Qt::LeftButton);
    QCOMPARE(shown2, 3);
    QVERIFY(rig->state.SendLock);
    QCOMPARE(int(rig->state.SystemCommon[addr::system::ControlSource2]), 4);
    QVERIFY(rig->engine().waitIdle());
    QCOMPARE(rig->engine().stats().dataSets, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!rig->state.SendLock, 10000);
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
