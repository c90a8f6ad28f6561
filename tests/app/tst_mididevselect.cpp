#include "app/mididevselect.h"
#include "app/noteoutform.h"
#include "core/appsettings.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "hubtestbackend.h"
#include "hubtestmainlink.h"
#include "midi/hublink.h"
#include "midi/mididevices.h"
#include "midi/midiinput.h"
#include "midi/silenthublink.h"
#include "midi/sysexprotocol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Virtual = QStringLiteral("Virtual JV-1080 (built-in)");
const char *const SlotKeys[] = {"ExpP", "ExpA", "ExpB", "ExpC", "ExpD"};
} // namespace

class TestMidiDevSelect : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { dialog_.reset(); }
    void unitId_data();
    void unitId();
    void expansionSlots_data();
    void expansionSlots();
    void separateKeyboardNeedsTwoInputs_data();
    void separateKeyboardNeedsTwoInputs();
    void nothingChosenStoresNoDevice_data();
    void nothingChosenStoresNoDevice();
    void deviceFollowsItsName();
    void hubPortsWhileOpenThenOkOrCancel_data();
    void hubPortsWhileOpenThenOkOrCancel();

private:
    void open();
    QVariant stored(const char *key) const
    {
        return QSettings(ini_, QSettings::IniFormat).value(QLatin1String(key));
    }
    template <typename W> W *child(const char *name) const
    {
        W *w = dialog_->findChild<W *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    void typeUnitId(const QString &text);
    void clickRow(QListWidget *list, int row, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void clickOk() { QTest::mouseClick(child<QPushButton>("BOk1"), Qt::LeftButton); }

    std::unique_ptr<QTemporaryDir> dir_;
    QString ini_;
    std::unique_ptr<AppSettings> settings_;
    EditState state_;
    RecordingInfoSink info_;
    MidiDevices devices_;
    std::shared_ptr<HubTestBackend> backend_;
    std::unique_ptr<TMidiDevSelect> dialog_;
    std::unique_ptr<QSignalSpy> openSpy_;
    std::unique_ptr<QSignalSpy> kbSpy_;
};

void TestMidiDevSelect::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ini_ = dir_->filePath(QStringLiteral("settings.ini"));
    settings_ = std::make_unique<AppSettings>(ini_);
    settings_->programDir = QStringLiteral(TESSIVA_SOURCE_DIR "/data/");
    state_.reset();
    info_ = RecordingInfoSink();
    const QStringList devices{Virtual, "USB A", "USB B"};
    backend_ = std::make_shared<HubTestBackend>(devices, devices);
    devices_ = MidiDevices();
    devices_.addBackend(backend_);
    // A store from an earlier run: unit 20, the second devices.
    settings_->ReadSettings(state_);
    state_.UnitId = 20;
    settings_->SynthIn = {1, "USB A"};
    settings_->SynthOut = {1, "USB A"};
    settings_->WriteSettings(state_);
    settings_->FirstRun = false;
    state_.MidiClosed = false;
}

void TestMidiDevSelect::open()
{
    dialog_ = std::make_unique<TMidiDevSelect>(state_, info_, *settings_, devices_);
    openSpy_ = std::make_unique<QSignalSpy>(dialog_.get(), &TMidiDevSelect::openPortsRequested);
    kbSpy_ = std::make_unique<QSignalSpy>(dialog_.get(), &TMidiDevSelect::keyboardReleased);
    dialog_->show();
    dialog_->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog_.get()))
        qWarning("dialog not active");
}

void TestMidiDevSelect::typeUnitId(const QString &text)
{
    auto *ed = child<QLineEdit>("EdJVID");
    QTest::mouseClick(ed, Qt::LeftButton);
    QTest::keyClick(ed, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(ed, Qt::Key_Delete);
    QTest::keyClicks(ed, text);
}

void TestMidiDevSelect::clickRow(QListWidget *list, int row, Qt::KeyboardModifiers mods)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, r.center());
}

void TestMidiDevSelect::unitId_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("unitId");
    QTest::addColumn<QString>("message");
    QTest::newRow("5 refused") << "5" << 20 << "Re-Enter Unit-ID";
    QTest::newRow("33 refused") << "33" << 20 << "Re-Enter Unit-ID";
    QTest::newRow("abc refused") << "abc" << 20
                                 << "'abc' is not a valid integer value\nRe-Enter Unit-ID";
    QTest::newRow("17 taken") << "17" << 17 << "";
    QTest::newRow("32 taken") << "32" << 32 << "";
}

void TestMidiDevSelect::unitId()
{
    QFETCH(QString, text);
    QFETCH(int, unitId);
    QFETCH(QString, message);
    open();
    typeUnitId(text);
    clickOk();
    QCOMPARE(state_.UnitId, unitId);
    QCOMPARE(stored("JVID").toInt(), unitId);
    QCOMPARE(info_.messages, message.isEmpty() ? QStringList{} : QStringList{message});
    // A refused ID keeps the dialog open for another try, which may succeed.
    QCOMPARE(dialog_->isVisible(), !message.isEmpty());
    QCOMPARE(openSpy_->count(), message.isEmpty() ? 1 : 0);
    if (!message.isEmpty()) {
        typeUnitId(QStringLiteral("18"));
        clickOk();
        QCOMPARE(info_.messages.size(), 1);
        QCOMPARE(state_.UnitId, 18);
    }
}

// A slot shows the entry of its stored file; Ok stores the chosen entry's
// file and reads its definitions again.
void TestMidiDevSelect::expansionSlots_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("file"); // stored before
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed"); // into the list, if any
    QTest::addColumn<QString>("kept");  // stored after Ok
    QTest::addColumn<QString>("cbName");
    QTest::newRow("Experience stored") << 2 << "ExpOrch2.txt"
                                       << "Experience"
                                       << ""
                                       << "ExpOrch2.txt"
                                       << "Experience";
    QTest::newRow("unknown name shows None") << 1 << "Foo.txt"
                                             << "None"
                                             << ""
                                             << "NoWave.txt"
                                             << "None";
    // A board with no entry is kept rather than lost.
    QTest::newRow("known board without entry") << 4 << "ExpExp01.txt"
                                               << ""
                                               << ""
                                               << "ExpExp01.txt"
                                               << "";
    QTest::newRow("Experience chosen") << 1 << "NoWave.txt"
                                       << "None"
                                       << "Experience"
                                       << "ExpOrch2.txt"
                                       << "Experience";
    QTest::newRow("rock drums card chosen") << 0 << "NoWave.txt"
                                            << "None"
                                            << "Rock"
                                            << "P-rockdr.txt"
                                            << "Rock Drums";
}

void TestMidiDevSelect::expansionSlots()
{
    QFETCH(int, slot);
    QFETCH(QString, file);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QString, cbName);
    state_.Expansion[std::size_t(slot)].fileName = file;
    settings_->WriteSettings(state_);
    open();
    const char *names[] = {"CbPCM", "CbExpA", "CbExpB", "CbExpC", "CbExpD"};
    auto *cb = child<QComboBox>(names[slot]);
    QCOMPARE(cb->currentText(), shown);
    cb->setFocus();
    QTest::keyClicks(cb, typed);
    clickOk();
    QCOMPARE(stored(SlotKeys[slot]).toString(), kept);
    if (!cbName.isEmpty())
        QCOMPARE(state_.Expansion[std::size_t(slot)].cbName, cbName);
    QCOMPARE(state_.Expansion[std::size_t(slot)].fileName, kept);
}

void TestMidiDevSelect::separateKeyboardNeedsTwoInputs_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("keyboardRows");
    QTest::newRow("one input") << QStringList{Virtual} << false << 0;
    QTest::newRow("two inputs") << QStringList{Virtual, "Keys"} << true << 2;
}

void TestMidiDevSelect::separateKeyboardNeedsTwoInputs()
{
    QFETCH(QStringList, inputs);
    QFETCH(bool, checked);
    QFETCH(int, keyboardRows);
    settings_->SepKB = true;
    settings_->KeyboardIn = {1, "Keys"};
    settings_->WriteSettings(state_);
    backend_->setDevices(inputs, {Virtual});
    open();
    QCOMPARE(child<QCheckBox>("ChSepKB")->isChecked(), checked);
    QCOMPARE(child<QListWidget>("LiKbIn")->count(), keyboardRows);
    QCOMPARE(kbSpy_->count(), checked ? 0 : 1);
    clickOk();
    QCOMPARE(stored("SepKB").toBool(), checked);
    QCOMPARE(openSpy_->count(), 1);
    QCOMPARE(openSpy_->at(0).at(2).toInt(), checked ? 1 : -1);
}

void TestMidiDevSelect::nothingChosenStoresNoDevice_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariantList>("opened");
    QTest::newRow("no output") << "LiJVout"
                               << "Midi_Out" << QVariantList{1, -1, -1};
    QTest::newRow("no input opens the first now") << "LiJVin"
                                                  << "Midi_In1" << QVariantList{0, 1, -1};
}

void TestMidiDevSelect::nothingChosenStoresNoDevice()
{
    QFETCH(QString, list);
    QFETCH(QString, key);
    QFETCH(QVariantList, opened);
    open();
    auto *l = child<QListWidget>(list.toLatin1().constData());
    QCOMPARE(l->currentRow(), 1);
    // Ctrl+click takes the selection away.
    clickRow(l, 1, Qt::ControlModifier);
    QVERIFY(l->selectedItems().isEmpty());
    clickOk();
    QCOMPARE(stored(key.toLatin1().constData()).toInt(), -1);
    QCOMPARE(openSpy_->count(), 1);
    QCOMPARE(openSpy_->at(0), opened);
}

void TestMidiDevSelect::deviceFollowsItsName()
{
    open();
    clickRow(child<QListWidget>("LiJVin"), 2);
    clickRow(child<QListWidget>("LiJVout"), 0);
    clickOk();
    QCOMPARE(stored("Midi_In1").toInt(), 2);
    QCOMPARE(stored("Midi_In1_Name").toString(), QStringLiteral("USB B"));
    QCOMPARE(stored("Midi_Out").toInt(), 0);

    // A device was unplugged and another one came: the indices moved.
    backend_->setDevices({"New", "USB B", Virtual}, {"New", "USB A", Virtual});
    open();
    QCOMPARE(child<QListWidget>("LiJVin")->currentItem()->text(), QStringLiteral("USB B"));
    QCOMPARE(child<QListWidget>("LiJVout")->currentItem()->text(), Virtual);
    clickOk();
    QCOMPARE(openSpy_->at(0), (QVariantList{1, 2, -1}));
    QCOMPARE(stored("Midi_In1").toInt(), 1);
    QCOMPARE(stored("Midi_Out").toInt(), 2);
}

// The ports are closed while the dialog is open. Ok opens the new choice;
// Cancel, in any of its forms, opens again what was open before, keyboard
// included, so editing goes on and the status bar tells the truth.
void TestMidiDevSelect::hubPortsWhileOpenThenOkOrCancel_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("openBefore");
    QTest::addColumn<bool>("openAfter");
    QTest::newRow("ok reopens") << "ok" << true << true;
    QTest::newRow("cancel reopens as before") << "cancel" << true << true;
    QTest::newRow("escape reopens as before") << "escape" << true << true;
    QTest::newRow("cancel leaves closed ports closed") << "cancel" << false << false;
}

void TestMidiDevSelect::hubPortsWhileOpenThenOkOrCancel()
{
    QFETCH(QString, answer);
    QFETCH(bool, openBefore);
    QFETCH(bool, openAfter);
    QFile file(ini_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    SilentHubLink link;
    SysexProtocol protocol(state_, info_, link);
    auto backend =
        std::make_shared<HubTestBackend>(QStringList{"Synth In", "Keys"}, QStringList{"Synth Out"});
    MidiDevices devices;
    devices.addBackend(backend);
    HubTestMainLink main(state_);
    TNoteOutForm hub(state_, info_, protocol, devices, &main);
    hub.setSettings(settings_.get());
    QVERIFY(hub.openPorts(0, 0, 1));
    if (!openBefore)
        hub.closeMidi();
    auto *kbLabel = hub.findChild<QLabel *>("Lkb");

    TMidiDevSelect dialog(state_, info_, *settings_, devices);
    dialog.connectHub(hub);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // The ports are closed and the keyboard input let go while choosing.
    QVERIFY(state_.MidiClosed);
    QVERIFY(hub.keyboardInput() == nullptr);
    QCOMPARE(kbLabel->text(), QStringLiteral("KB freed"));
    QCOMPARE(main.panels, (std::array<QString, 3>{"Midi Closed", "Midi-In", "Midi-Out"}));

    if (answer != QLatin1String("ok")) {
        auto *id = dialog.findChild<QLineEdit *>("EdJVID");
        id->selectAll();
        QTest::keyClicks(id, QStringLiteral("25"));
    }
    if (answer == QLatin1String("escape"))
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        QTest::mouseClick(
            dialog.findChild<QPushButton *>(answer == QLatin1String("ok") ? "BOk1" : "BCan1"),
            Qt::LeftButton);
    QVERIFY(dialog.isHidden());
    QCOMPARE(state_.MidiClosed, !openAfter);
    QCOMPARE(backend->outputsOpened(), openAfter ? 2 : 1);
    QVERIFY(info_.messages.isEmpty());
    protocol.SendDataSet(addr::Address{0x03, 0x00, 0x00, 0x0C}, 5);
    if (openAfter) {
        QCOMPARE(main.panels,
                 (std::array<QString, 3>{"Midi Open", "In: Synth In", "Out: Synth Out"}));
        QVERIFY(main.midiOpenChecked);
        QCOMPARE(backend->sent().value(0),
                 QByteArray::fromHex("F0 41 13 6A 12 03 00 00 0C 05 6C F7"));
        // Cancelled: the keyboard plays through again. Ok follows the stored
        // choice, which has no separate keyboard.
        const bool keyboard = answer != QLatin1String("ok");
        QCOMPARE(hub.keyboardInput() && hub.keyboardInput()->isOpen(), keyboard);
        QCOMPARE(kbLabel->text(), QLatin1String(keyboard ? "KB open" : "KB freed"));
    } else {
        QCOMPARE(main.panels[0], QStringLiteral("Midi Closed"));
        QCOMPARE(info_.messages, QStringList{"Midi Closed"});
        QVERIFY(backend->sent().isEmpty());
    }
    if (answer != QLatin1String("ok")) {
        QCOMPARE(state_.UnitId, 20);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
}

QTEST_MAIN(TestMidiDevSelect)
#include "tst_mididevselect.moc"
