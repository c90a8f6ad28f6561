#include "app/mididevselect.h"
#include "app/noteoutform.h"
#include "core/appsettings.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "hubtestbackend.h"
#include "hubtestmainlink.h"
#include "midi/hublink.h"
#include "midi/mididevices.h"
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
// Device lists the test can rearrange; nothing is ever opened.
class FakeBackend : public MidiBackend
{
public:
    QString name() const override { return QStringLiteral("Fake"); }
    QStringList inputDevices() override { return inputs; }
    QStringList outputDevices() override { return outputs; }
    std::unique_ptr<MidiInputConnection> openInput(int, MidiReceiver &) override
    {
        throw MidiBackendError(QStringLiteral("not here"));
    }
    std::unique_ptr<MidiOutputConnection> openOutput(int) override
    {
        throw MidiBackendError(QStringLiteral("not here"));
    }
    QStringList inputs;
    QStringList outputs;
};

const QString Virtual = QStringLiteral("Virtual JV-1080 (built-in)");
} // namespace

class TestMidiDevSelect : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void unitId_data();
    void unitId();
    void refusedUnitIdCanBeCorrected();
    void expansionChoiceStoresFile_data();
    void expansionChoiceStoresFile();
    void storedFileShowsEntry_data();
    void storedFileShowsEntry();
    void separateKeyboardNeedsTwoInputs_data();
    void separateKeyboardNeedsTwoInputs();
    void nothingChosenStoresNoDevice_data();
    void nothingChosenStoresNoDevice();
    void deviceFollowsItsName();
    void firstRunPreselectsBuiltInSynth();
    void cancelChangesNothing();
    void noDevicesOpensNothing();
    void hubPortsClosedWhileOpenAndReopenedByOk();

private:
    // Writes the starting settings, then opens the dialog.
    TMidiDevSelect *open();
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
    std::shared_ptr<FakeBackend> backend_;
    std::unique_ptr<TMidiDevSelect> dialog_;
    std::unique_ptr<QSignalSpy> closeSpy_;
    std::unique_ptr<QSignalSpy> openSpy_;
    std::unique_ptr<QSignalSpy> kbSpy_;
};

void TestMidiDevSelect::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    ini_ = dir_->filePath(QStringLiteral("settings.ini"));
    settings_ = std::make_unique<AppSettings>(ini_);
    settings_->programDir = QStringLiteral(TESSIVA_SOURCE_DIR "/data/");
    state_.reset();
    info_ = RecordingInfoSink();
    backend_ = std::make_shared<FakeBackend>();
    backend_->inputs = QStringList{Virtual, "USB A", "USB B"};
    backend_->outputs = QStringList{Virtual, "USB A", "USB B"};
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

void TestMidiDevSelect::cleanup()
{
    dialog_.reset();
}

TMidiDevSelect *TestMidiDevSelect::open()
{
    dialog_ = std::make_unique<TMidiDevSelect>(state_, info_, *settings_, devices_);
    closeSpy_ = std::make_unique<QSignalSpy>(dialog_.get(), &TMidiDevSelect::closePortsRequested);
    openSpy_ = std::make_unique<QSignalSpy>(dialog_.get(), &TMidiDevSelect::openPortsRequested);
    kbSpy_ = std::make_unique<QSignalSpy>(dialog_.get(), &TMidiDevSelect::keyboardReleased);
    dialog_->show();
    dialog_->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog_.get()))
        qWarning("dialog not active");
    return dialog_.get();
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
    QTest::newRow("empty refused")
        << "" << 20 << "'' is not a valid integer value\nRe-Enter Unit-ID";
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
    // A refused ID keeps the dialog open for another try.
    QCOMPARE(dialog_->isVisible(), !message.isEmpty());
    QCOMPARE(openSpy_->count(), message.isEmpty() ? 1 : 0);
}

void TestMidiDevSelect::refusedUnitIdCanBeCorrected()
{
    open();
    typeUnitId(QStringLiteral("99"));
    clickOk();
    QCOMPARE(info_.messages, QStringList{"Re-Enter Unit-ID"});
    typeUnitId(QStringLiteral("18"));
    clickOk();
    QCOMPARE(info_.messages.size(), 1);
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(state_.UnitId, 18);
}

void TestMidiDevSelect::expansionChoiceStoresFile_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("cbName");
    QTest::newRow("Experience") << "CbExpA"
                                << "Experience"
                                << "ExpA"
                                << "ExpOrch2.txt"
                                << "Experience";
    QTest::newRow("Experience2") << "CbExpB"
                                 << "Experience2"
                                 << "ExpB"
                                 << "ExpCus03.txt"
                                 << "Experience2";
    QTest::newRow("a later board") << "CbExpD"
                                   << "House"
                                   << "ExpD"
                                   << "ExpHouse.txt"
                                   << "House";
    QTest::newRow("rock drums card") << "CbPCM"
                                     << "Rock"
                                     << "ExpP"
                                     << "P-rockdr.txt"
                                     << "Rock Drums";
}

void TestMidiDevSelect::expansionChoiceStoresFile()
{
    QFETCH(QString, list);
    QFETCH(QString, typed);
    QFETCH(QString, key);
    QFETCH(QString, file);
    QFETCH(QString, cbName);
    open();
    auto *cb = child<QComboBox>(list.toLatin1().constData());
    QSignalSpy changed(cb, &QComboBox::currentIndexChanged);
    cb->setFocus();
    QTest::keyClicks(cb, typed);
    QVERIFY(changed.count() > 0 || typed == QLatin1String("None"));
    clickOk();
    QCOMPARE(stored(key.toLatin1().constData()).toString(), file);
    // The definition file has been read again for the slot.
    const int slot = QStringList{"ExpP", "ExpA", "ExpB", "ExpC", "ExpD"}.indexOf(key);
    QCOMPARE(state_.Expansion[std::size_t(slot)].fileName, file);
    QCOMPARE(state_.Expansion[std::size_t(slot)].cbName, cbName);
}

void TestMidiDevSelect::storedFileShowsEntry_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Experience board") << 2 << "ExpOrch2.txt" << 16 << "Experience";
    QTest::newRow("unknown board name") << 1 << "Foo.txt" << 0 << "None";
    QTest::newRow("board name in other case") << 3 << "EXPPOP.TXT" << 0 << "None";
    QTest::newRow("known board without entry") << 4 << "ExpExp01.txt" << -1 << "";
    QTest::newRow("rock drums card") << 0 << "P-rockdr.txt" << 3 << "Rock Drums";
}

void TestMidiDevSelect::storedFileShowsEntry()
{
    QFETCH(int, slot);
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QString, shown);
    state_.Expansion[std::size_t(slot)].fileName = file;
    settings_->WriteSettings(state_);
    open();
    const char *names[] = {"CbPCM", "CbExpA", "CbExpB", "CbExpC", "CbExpD"};
    auto *cb = child<QComboBox>(names[slot]);
    QCOMPARE(cb->currentIndex(), index);
    QCOMPARE(cb->currentText(), shown);
    clickOk();
    // Ok without touching the list stores what it shows; a name with no
    // entry is kept rather than lost.
    const char *keys[] = {"ExpP", "ExpA", "ExpB", "ExpC", "ExpD"};
    const QString expected = index > 0 ? file : index == 0 ? "NoWave.txt" : file;
    QCOMPARE(stored(keys[slot]).toString(), expected);
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
    backend_->inputs = inputs;
    open();
    auto *box = child<QCheckBox>("ChSepKB");
    QCOMPARE(box->isChecked(), checked);
    QCOMPARE(child<QListWidget>("LiKbIn")->count(), keyboardRows);
    QCOMPARE(kbSpy_->count(), checked ? 0 : 1);
    if (checked)
        QCOMPARE(child<QListWidget>("LiKbIn")->currentItem()->text(), QStringLiteral("Keys"));
    clickOk();
    QCOMPARE(stored("SepKB").toBool(), checked);
    QCOMPARE(openSpy_->count(), 1);
    QCOMPARE(openSpy_->at(0).at(2).toInt(), checked ? 1 : -1);
}

void TestMidiDevSelect::nothingChosenStoresNoDevice_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("openIn");
    QTest::addColumn<int>("openOut");
    QTest::newRow("no output") << "LiJVout"
                               << "Midi_Out" << 1 << -1;
    QTest::newRow("no input opens the first now") << "LiJVin"
                                                  << "Midi_In1" << 0 << 1;
}

void TestMidiDevSelect::nothingChosenStoresNoDevice()
{
    QFETCH(QString, list);
    QFETCH(QString, key);
    QFETCH(int, openIn);
    QFETCH(int, openOut);
    open();
    auto *l = child<QListWidget>(list.toLatin1().constData());
    QCOMPARE(l->currentRow(), 1);
    // Ctrl+click takes the selection away.
    clickRow(l, 1, Qt::ControlModifier);
    QVERIFY(l->selectedItems().isEmpty());
    clickOk();
    QCOMPARE(stored(key.toLatin1().constData()).toInt(), -1);
    QCOMPARE(openSpy_->count(), 1);
    QCOMPARE(openSpy_->at(0).at(0).toInt(), openIn);
    QCOMPARE(openSpy_->at(0).at(1).toInt(), openOut);
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
    backend_->inputs = QStringList{"New", "USB B", Virtual};
    backend_->outputs = QStringList{"New", "USB A", Virtual};
    open();
    QCOMPARE(child<QListWidget>("LiJVin")->currentItem()->text(), QStringLiteral("USB B"));
    QCOMPARE(child<QListWidget>("LiJVout")->currentItem()->text(), Virtual);
    clickOk();
    QCOMPARE(openSpy_->at(0).at(0).toInt(), 1);
    QCOMPARE(openSpy_->at(0).at(1).toInt(), 2);
    QCOMPARE(stored("Midi_In1").toInt(), 1);
    QCOMPARE(stored("Midi_Out").toInt(), 2);
}

void TestMidiDevSelect::firstRunPreselectsBuiltInSynth()
{
    QFile::remove(ini_);
    settings_ = std::make_unique<AppSettings>(ini_);
    settings_->programDir = QStringLiteral(TESSIVA_SOURCE_DIR "/data/");
    QVERIFY(settings_->ReadSettings(state_));
    open();
    QCOMPARE(info_.messages, QStringList{" First time TessivaW95 run.\n Please make MIDI and "
                                         "EXPANSION settings first."});
    QVERIFY(!settings_->FirstRun);
    QCOMPARE(child<QListWidget>("LiJVin")->currentItem()->text(), Virtual);
    QCOMPARE(child<QListWidget>("LiJVout")->currentItem()->text(), Virtual);
    QCOMPARE(child<QLineEdit>("EdJVID")->text(), QStringLiteral("17"));
    QCOMPARE(child<QComboBox>("CbPCM")->currentText(), QStringLiteral("None"));
    clickOk();
    QCOMPARE(openSpy_->count(), 1);
    QCOMPARE(openSpy_->at(0), (QVariantList{0, 0, -1}));
    QCOMPARE(stored("Midi_In1_Name").toString(), Virtual);
    QCOMPARE(info_.messages.size(), 1);
}

void TestMidiDevSelect::cancelChangesNothing()
{
    const QByteArray before = [&] {
        QFile f(ini_);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    open();
    QCOMPARE(closeSpy_->count(), 1);
    QVERIFY(state_.MidiClosed);
    typeUnitId(QStringLiteral("25"));
    clickRow(child<QListWidget>("LiJVin"), 2);
    QTest::mouseClick(child<QPushButton>("BCan1"), Qt::LeftButton);
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QCOMPARE(state_.UnitId, 20);
    QCOMPARE(settings_->SynthIn.index, 1);
    QCOMPARE(openSpy_->count(), 0);
    QVERIFY(state_.MidiClosed);
    QFile f(ini_);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestMidiDevSelect::noDevicesOpensNothing()
{
    backend_->inputs.clear();
    backend_->outputs.clear();
    open();
    QCOMPARE(child<QListWidget>("LiJVin")->count(), 0);
    QCOMPARE(child<QLabel>("LNumInDev")->text(), QStringLiteral("Midi-In: 0"));
    QCOMPARE(child<QLabel>("Lnumoutdev")->text(), QStringLiteral("Midi-Out: 0"));
    clickOk();
    QCOMPARE(openSpy_->count(), 0);
    QCOMPARE(stored("Midi_In1").toInt(), -1);
    QCOMPARE(stored("Midi_Out").toInt(), -1);
    QVERIFY(state_.MidiClosed);
}

void TestMidiDevSelect::hubPortsClosedWhileOpenAndReopenedByOk()
{
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
    QVERIFY(!state_.MidiClosed);

    TMidiDevSelect dialog(state_, info_, *settings_, devices);
    dialog.connectHub(hub);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // The ports are closed and the keyboard input let go while choosing.
    QVERIFY(state_.MidiClosed);
    QVERIFY(hub.keyboardInput() == nullptr);
    QVERIFY(hub.findChild<QLabel *>("Lkb")->text().contains("KB freed"));

    main.panels = {};
    QTest::mouseClick(dialog.findChild<QPushButton *>("BOk1"), Qt::LeftButton);
    QVERIFY(!state_.MidiClosed);
    QCOMPARE(backend->outputsOpened(), 2);
    QCOMPARE(main.panels[0], QStringLiteral("Midi Open"));
    QCOMPARE(main.panels[1], QStringLiteral("In: Synth In"));
    QVERIFY(info_.messages.isEmpty());
}

QTEST_MAIN(TestMidiDevSelect)
#include "tst_mididevselect.moc"
