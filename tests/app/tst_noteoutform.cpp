// The communication hub driven through its real widgets and ports, with a
// recording MIDI backend and a stand-in main window.

#include "app/noteoutform.h"
#include "app/outputform.h"
#include "controls/ledgauge.h"
#include "controls/sliddt.h"
#include "core/appsettings.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "hubtestbackend.h"
#include "hubtestmainlink.h"
#include "midi/hublink.h"
#include "midi/hublinkrelay.h"
#include "midi/mididevices.h"
#include "midi/midiinput.h"
#include "midi/sysexprotocol.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using Messages = QList<QByteArray>;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const addr::Address NameByte{0x03, 0x00, 0x00, 0x0C};
const char *const NameByteSet = "F0 41 10 6A 12 03 00 00 0C 05 6C F7";

// Everything a hub needs, built fresh for each test.
struct Rig
{
    EditState state;
    RecordingInfoSink info;
    HubLinkRelay relay;
    SysexProtocol protocol{state, info, relay};
    std::shared_ptr<HubTestBackend> backend = std::make_shared<HubTestBackend>(
        QStringList{QStringLiteral("Synth In"), QStringLiteral("Keyboard")},
        QStringList{QStringLiteral("Synth Out")});
    MidiDevices devices;
    HubTestMainLink main{state};
    QTemporaryDir dir;
    AppSettings settings{dir.filePath(QStringLiteral("settings.ini"))};
    std::unique_ptr<TNoteOutForm> hub;

    Rig()
    {
        devices.addBackend(backend);
        settings.SynthIn = {0, QStringLiteral("Synth In")};
        settings.SynthOut = {0, QStringLiteral("Synth Out")};
        settings.KeyboardIn = {1, QStringLiteral("Keyboard")};
        hub = std::make_unique<TNoteOutForm>(state, info, protocol, devices, &main);
        hub->setSettings(&settings);
        relay.setTarget(hub.get());
        // The byte the tests send or receive, away from its start value.
        state.patchImage.set(0, 0x0C, 0);
    }
    void open(bool keyboard = false)
    {
        QVERIFY(hub->openPorts(0, 0, keyboard ? 1 : -1));
        backend->clearSent();
    }
    template <typename T> T *child(const char *name) const
    {
        return hub->findChild<T *>(QLatin1String(name));
    }
    QString shown() const { return child<QLabel>("LmidiOut")->text(); }
};

} // namespace

class TestNoteOutForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void editPlaysTestNote_data();
    void editPlaysTestNote();
    void shortMessagesOnePerNotification();
    void playedInputLeaves_data();
    void playedInputLeaves();
    void receivedSysexIsStoredLoggedAndRefreshed_data();
    void receivedSysexIsStoredLoggedAndRefreshed();
    void dataSetLogAndReopening();
    void portFailures_data();
    void portFailures();
    void openReopenClose();
    void closingSilencesPlayedChannels_data();
    void closingSilencesPlayedChannels();
    void slidersSend_data();
    void slidersSend();
    void allOffButton_data();
    void allOffButton();
    void memoStartsAfresh_data();
    void memoStartsAfresh();
    void countersOutliveTheWindow();
};

void TestNoteOutForm::editPlaysTestNote_data()
{
    QTest::addColumn<bool>("playNote");
    QTest::addColumn<int>("perfPart"); // -1: Patch mode
    QTest::addColumn<int>("channel");
    QTest::addColumn<Messages>("expected");
    const QByteArray set = hex(NameByteSet);
    QTest::newRow("play note off") << false << -1 << 1 << Messages{set};
    QTest::newRow("patch mode") << true << -1 << 1 << Messages{set, hex("B07800"), hex("904140")};
    const QByteArray perfSet = hex("F0 41 10 6A 12 02 02 00 0C 05 6B F7");
    QTest::newRow("perform part 3")
        << true << 2 << 3 << Messages{perfSet, hex("B27800"), hex("924140")};
}

void TestNoteOutForm::editPlaysTestNote()
{
    QFETCH(bool, playNote);
    QFETCH(int, perfPart);
    QFETCH(int, channel);
    QFETCH(Messages, expected);
    Rig rig;
    rig.open();
    rig.state.PlayNoteOn = playNote;
    rig.main.part = channel;
    if (perfPart >= 0)
        rig.state.EditPrefix = {addr::AreaPerformancePart, std::uint8_t(perfPart)};
    rig.protocol.SendDataSet(rig.state.commonAddress(0x0C), 0x05);
    QCOMPARE(rig.backend->sent(), expected);
}

void TestNoteOutForm::shortMessagesOnePerNotification()
{
    Rig rig;
    rig.open();
    TMidiInput &in = rig.hub->midiInput1();
    QVERIFY(rig.backend->playShort(0, 0x90, 0x3C, 0x40));
    QVERIFY(rig.backend->playShort(0, 0x80, 0x3C, 0x00));
    QVERIFY(rig.backend->playShort(0, 0xB0, 0x07, 0x64));
    QCOMPARE(in.EventCount(), 3);

    rig.state.SendLock = true;
    Q_EMIT in.OnMidiInput(&in);
    QCOMPARE(rig.shown(), QStringLiteral("90 3C 40"));
    QCOMPARE(in.EventCount(), 2);
    QVERIFY(!rig.state.SendLock);

    QTRY_COMPARE(in.EventCount(), 0);
    QCOMPARE(rig.shown(), QStringLiteral("B0  7 64"));
    QCOMPARE(rig.child<TLEDGauge>("LGIn")->Value(), 0x64);
    QCOMPARE(rig.main.refreshes, 0);
    QVERIFY(rig.backend->sent().isEmpty());
}

// What leaves for what is played: the synthesizer's own input echoes only
// with Midi-true; the keyboard goes out on the part's channel.
void TestNoteOutForm::playedInputLeaves_data()
{
    QTest::addColumn<bool>("keyboard");
    QTest::addColumn<bool>("midiTrue");
    QTest::addColumn<QByteArray>("played");
    QTest::addColumn<int>("part");
    QTest::addColumn<Messages>("expected");
    QTest::newRow("echo on") << false << true << hex("903C40") << 1 << Messages{hex("903C40")};
    QTest::newRow("echo off") << false << false << hex("903C40") << 1 << Messages{};
    QTest::newRow("channel 1 to part 3")
        << true << false << hex("903C40") << 3 << Messages{hex("923C40")};
    QTest::newRow("control to part 16")
        << true << false << hex("B30110") << 16 << Messages{hex("BF0110")};
    QTest::newRow("clock passes") << true << false << hex("F80000") << 3 << Messages{hex("F80000")};
}

void TestNoteOutForm::playedInputLeaves()
{
    QFETCH(bool, keyboard);
    QFETCH(bool, midiTrue);
    QFETCH(QByteArray, played);
    QFETCH(int, part);
    QFETCH(Messages, expected);
    Rig rig;
    rig.open(keyboard);
    if (keyboard)
        QCOMPARE(rig.child<QLabel>("Lkb")->text(), QStringLiteral("KB open"));
    rig.main.part = part;
    rig.state.SendLock = true;
    if (midiTrue) {
        auto *box = rig.child<QCheckBox>("CbMiditrue");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    QCOMPARE(rig.hub->MidiTrueOn(), midiTrue);
    QVERIFY(rig.backend->playShort(keyboard ? 1 : 0, std::uint8_t(played[0]),
                                   std::uint8_t(played[1]), std::uint8_t(played[2])));
    if (keyboard)
        QTRY_COMPARE(rig.backend->sent(), expected);
    else
        QTRY_COMPARE(rig.shown(), QStringLiteral("90 3C 40"));
    QCOMPARE(rig.backend->sent(), expected);
    QTRY_VERIFY(!rig.state.SendLock);
}

void TestNoteOutForm::receivedSysexIsStoredLoggedAndRefreshed_data()
{
    QTest::addColumn<bool>("updateFromJv");
    QTest::addColumn<QByteArray>("before"); // played first
    QTest::newRow("update from JV") << true << QByteArray();
    QTest::newRow("no update") << false << QByteArray();
    // Four system common bytes from offset 26h: the last two lie past the
    // block, which ends the round; the patch byte behind must still arrive.
    QTest::newRow("after a round ended early")
        << true << hex("F0 41 10 6A 12 00 00 00 26 01 02 03 04 50 F7");
}

void TestNoteOutForm::receivedSysexIsStoredLoggedAndRefreshed()
{
    QFETCH(bool, updateFromJv);
    QFETCH(QByteArray, before);
    Rig rig;
    rig.open();
    rig.main.updateChecked = updateFromJv;
    rig.hub->showMessageLog();
    QVERIFY(rig.state.LogMessages);
    if (!before.isEmpty())
        QVERIFY(rig.backend->playSysex(0, before));
    QVERIFY(rig.backend->playSysex(0, hex(NameByteSet)));
    QTRY_COMPARE(rig.hub->midiInput1().EventCount(), 0);
    QTRY_COMPARE(rig.state.patchImage.common(0x0C), std::uint8_t(0x05));
    QCOMPARE(rig.main.refreshes, updateFromJv ? 1 : 0);
    // Nothing may keep the send lock once the input has gone quiet.
    QVERIFY(!rig.state.SendLock);
    if (!before.isEmpty())
        QCOMPARE(rig.state.SystemCommon[0x27], std::uint8_t(0x02));
    else
        QCOMPARE(rig.hub->outputForm()->inLines(),
                 (QStringList{"Sysex In:", "", "", "F0 41 10 6A 12 03 00 00 0C 05 6C F7 ", ""}));
}

void TestNoteOutForm::dataSetLogAndReopening()
{
    Rig rig;
    rig.open();
    rig.hub->showMessageLog();
    rig.protocol.SendDataSet(NameByte, 0x05);
    TOutputForm *log = rig.hub->outputForm();
    QCOMPARE(log->outLines(),
             (QStringList{"Sysex Out:", "", QStringLiteral("Len=1  ") + NameByteSet, ""}));

    // Closing stops the logging; the next opening starts a fresh window.
    QVERIFY(log->close());
    QVERIFY(!rig.state.LogMessages);
    rig.hub->showMessageLog();
    QVERIFY(rig.state.LogMessages);
    QCOMPARE(rig.hub->outputForm()->outLines(), (QStringList{"Sysex Out:", ""}));
}

void TestNoteOutForm::portFailures_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("open") << "open";
    QTest::newRow("data set") << "dataset";
}

void TestNoteOutForm::portFailures()
{
    QFETCH(QString, when);
    Rig rig;
    rig.main.midiOpenChecked = true;
    if (when == QLatin1String("open")) {
        rig.backend->failOpens(QStringLiteral("Device busy"));
        rig.hub->OpenMidi();
    } else {
        rig.open();
        rig.backend->failSends(QStringLiteral("Device removed"));
        rig.protocol.SendDataSet(NameByte, 0x05);
    }
    QCOMPARE(rig.info.messages,
             QStringList{when == QLatin1String("open") ? "Device busy" : "Device removed"});
    QVERIFY(rig.state.MidiClosed);
    QVERIFY(!rig.hub->midiInput1().isOpen());
    QCOMPARE(rig.main.devStat, QStringLiteral("Midi Closed"));
    QCOMPARE(rig.main.panels[0], QStringLiteral("Midi Closed"));
    QVERIFY(!rig.main.midiOpenChecked);
    if (when != QLatin1String("open"))
        QCOMPARE(rig.state.patchImage.common(0x0C), std::uint8_t(0x05));
    // Later sends stay silent instead of failing again.
    rig.info.messages.clear();
    rig.hub->SendShort(0x90, 0x3C, 0x40);
    QVERIFY(rig.info.messages.isEmpty());
}

// The first-run path is driven by the start-up tests.
void TestNoteOutForm::openReopenClose()
{
    Rig rig;
    rig.settings.FirstRun = false;
    rig.hub->startUp();
    QCOMPARE(rig.main.deviceDialogs, 0);
    QCOMPARE(rig.main.patchModeSelections, 1);
    QVERIFY(!rig.state.MidiClosed);
    QCOMPARE(rig.main.panels,
             (std::array<QString, 3>{"Midi Open", "In: Synth In", "Out: Synth Out"}));
    QVERIFY(rig.main.midiOpenChecked);

    rig.hub->closeMidi();
    QVERIFY(rig.state.MidiClosed);
    QVERIFY(!rig.main.midiOpenChecked);
    QCOMPARE(rig.main.devStat, QStringLiteral("Midi Closed"));
    QCOMPARE(rig.main.panels, (std::array<QString, 3>{"Midi Closed", "Midi-In", "Midi-Out"}));
    rig.hub->SendShort(0x90, 0x3C, 0x40);
    QVERIFY(rig.backend->sent().isEmpty());

    rig.hub->reopenMidi();
    QVERIFY(!rig.state.MidiClosed);
    QCOMPARE(rig.main.panels,
             (std::array<QString, 3>{"Midi Open", "In = Synth In", "Out = Synth Out"}));
    QCOMPARE(rig.main.devStat, QStringLiteral("Midi Open"));
    rig.hub->SendShort(0x90, 0x3C, 0x40);
    QCOMPARE(rig.backend->sent(), Messages{hex("903C40")});
    QVERIFY(rig.info.messages.isEmpty());
}

// Whatever closes the output, a note still sounding on any channel the
// program played on is stopped first; a channel never played is left alone.
void TestNoteOutForm::closingSilencesPlayedChannels_data()
{
    QTest::addColumn<QString>("closer");
    QTest::addColumn<bool>("notes"); // else only controllers were sent
    QTest::addColumn<Messages>("tail");
    const Messages silenced{hex("B07B00"), hex("B27B00")};
    QTest::newRow("Midi Close") << "command" << true << silenced;
    QTest::newRow("device dialog") << "dialog" << true << silenced;
    QTest::newRow("program ends") << "exit" << true << silenced;
    QTest::newRow("controllers only") << "command" << false << Messages{hex("B30110")};
}

void TestNoteOutForm::closingSilencesPlayedChannels()
{
    QFETCH(QString, closer);
    QFETCH(bool, notes);
    QFETCH(Messages, tail);
    Rig rig;
    rig.open(true);
    if (notes) {
        // The Play Note test note, then a key of the keyboard on part 3.
        rig.state.PlayNoteOn = true;
        rig.protocol.SendDataSet(NameByte, 0x05);
        rig.main.part = 3;
        QVERIFY(rig.backend->playShort(1, 0x90, 0x3C, 0x40));
        QTRY_COMPARE(rig.backend->sent().last(), hex("923C40"));
    } else {
        rig.main.part = 4;
        QVERIFY(rig.backend->playShort(1, 0xB0, 0x01, 0x10));
        QTRY_COMPARE(rig.backend->sent().size(), 1);
    }
    const int before = int(rig.backend->sent().size());
    if (closer == QLatin1String("command"))
        rig.hub->closeMidi();
    else if (closer == QLatin1String("dialog"))
        rig.hub->closePorts();
    else
        rig.hub.reset();
    const Messages sent = rig.backend->sent();
    QCOMPARE(sent.mid(notes ? before : before - 1), tail);
    // Once closed, nothing is sent twice.
    if (rig.hub)
        rig.hub->closeMidi();
    QCOMPARE(rig.backend->sent().size(), sent.size());
}

void TestNoteOutForm::slidersSend_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("lastSent");
    QTest::addColumn<int>("part");
    QTest::addColumn<Messages>("expected");
    // Every slider starts at 40 and is moved up one step to 41 (29h). What
    // another control sent last never keeps a slider from sending.
    QTest::newRow("breath equal to an edit's last byte")
        << "SbNoteB" << 41 << 1 << Messages{hex("B00229")};
    QTest::newRow("modulation part 2") << "SbNoteM" << 0 << 2 << Messages{hex("B10129")};
    QTest::newRow("aftertouch equal to the edit's")
        << "SbNoteA" << 41 << 1 << Messages{hex("D02900")};
    QTest::newRow("velocity") << "SbNoteV" << 0 << 1 << Messages{hex("B07800"), hex("904129")};
    QTest::newRow("note equal to the edit's")
        << "SbNoteH" << 41 << 1 << Messages{hex("B07800"), hex("902940")};
}

void TestNoteOutForm::slidersSend()
{
    QFETCH(QString, slider);
    QFETCH(int, lastSent);
    QFETCH(int, part);
    QFETCH(Messages, expected);
    Rig rig;
    rig.open();
    rig.main.part = part;
    auto *s = rig.hub->findChild<TSliderBase *>(slider);
    QVERIFY(s);
    s->setPosition(40);
    // The value an edit sent last, whatever screen it came from.
    rig.protocol.SendDataSet(NameByte, std::uint8_t(lastSent));
    rig.backend->clearSent();
    QSignalSpy changes(s, &TSliderBase::OnChange);
    QTest::keyClick(s, Qt::Key_Up);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(rig.backend->sent(), expected);
    QCOMPARE(int(rig.state.LastSentValue), 41);
    // The mouse-up after a drag that ended where it began: the slider's own
    // value went out already.
    Q_EMIT s->OnChange(s);
    QCOMPARE(rig.backend->sent(), expected);
    if (slider == QLatin1String("SbNoteH"))
        QCOMPARE(rig.child<TSliddt>("SbNoteH")->Text(), QStringLiteral("F2"));
}

void TestNoteOutForm::allOffButton_data()
{
    QTest::addColumn<bool>("mainShown");
    QTest::addColumn<int>("perfPart");
    QTest::addColumn<Messages>("expected");
    QTest::newRow("main not shown yet") << false << -1 << Messages{};
    QTest::newRow("perform part 5") << true << 4 << Messages{hex("B47800")};
}

void TestNoteOutForm::allOffButton()
{
    QFETCH(bool, mainShown);
    QFETCH(int, perfPart);
    QFETCH(Messages, expected);
    Rig rig;
    rig.open();
    rig.main.shown = mainShown;
    if (perfPart >= 0)
        rig.state.EditPrefix = {addr::AreaPerformancePart, std::uint8_t(perfPart)};
    QTest::mouseClick(rig.child<QToolButton>("SpeedBt_AllOff"), Qt::LeftButton);
    QCOMPARE(rig.backend->sent(), expected);
}

// Each log memo starts afresh after a bounded number of lines.
void TestNoteOutForm::memoStartsAfresh_data()
{
    QTest::addColumn<bool>("incoming");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<int>("counter");
    QTest::newRow("full memo out") << false << 111 << 113 << "Sysex Out:" << 111;
    QTest::newRow("112th empties out") << false << 112 << 1 << "line 112" << 1;
    QTest::newRow("third round in") << true << 223 << 1 << "line 223" << 1;
}

void TestNoteOutForm::memoStartsAfresh()
{
    QFETCH(bool, incoming);
    QFETCH(int, added);
    QFETCH(int, lineCount);
    QFETCH(QString, firstLine);
    QFETCH(int, counter);
    LogLineCounters counters;
    TOutputForm form(counters);
    for (int i = 1; i <= added; ++i) {
        const QString line = QStringLiteral("line %1").arg(i);
        incoming ? form.AddInLog(line) : form.AddOutLog(line);
    }
    const QStringList lines = incoming ? form.inLines() : form.outLines();
    QCOMPARE(lines.size(), lineCount);
    QCOMPARE(lines.first(), firstLine);
    QCOMPARE(lines.last(), QStringLiteral("line %1").arg(added));
    QCOMPARE(incoming ? counters.in : counters.out, counter);
    // The other memo is untouched.
    QCOMPARE((incoming ? form.outLines() : form.inLines()).size(), 2);
}

void TestNoteOutForm::countersOutliveTheWindow()
{
    LogLineCounters counters;
    {
        TOutputForm first(counters);
        for (int i = 0; i < 110; ++i)
            first.AddOutLog(QStringLiteral("x"));
    }
    TOutputForm second(counters);
    second.AddOutLog(QStringLiteral("111th"));
    QCOMPARE(second.outLines(), (QStringList{"Sysex Out:", "", "111th"}));
    second.AddOutLog(QStringLiteral("112th"));
    QCOMPARE(second.outLines(), QStringList{"112th"});
}

QTEST_MAIN(TestNoteOutForm)
#include "tst_noteoutform.moc"
