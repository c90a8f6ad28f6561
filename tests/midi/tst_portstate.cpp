// Device selection, open/close state rules and failure messages of the ports.
#include "midi/loopbackbackend.h"
#include "midi/mididevices.h"
#include "midi/midiinput.h"
#include "midi/midioutput.h"
#include "testbackends.h"

#include <QTest>
#include <functional>

namespace {
template <typename Error, typename Fn> QString messageOf(Fn fn)
{
    try {
        fn();
    } catch (const Error &e) {
        return e.message();
    }
    return QStringLiteral("<no exception>");
}
const QString InvalidId = QStringLiteral("Invalid device ID");
} // namespace

class TestPortState : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void registryFlattensBackendsInOrder();
    void selectionByIndexAndName();
    void settersRefusedWhileOpen();
    void failedOpenLeavesPortClosed();
};

void TestPortState::registryFlattensBackendsInOrder()
{
    MidiDevices devices;
    devices.addBackend(std::make_shared<LoopbackBackend>(2));
    devices.insertBackend(std::make_shared<FailingBackend>(QStringLiteral("busy")));
    QCOMPARE(devices.inputNames(), QStringList({"Busy In", "Loopback 1", "Loopback 2"}));
    QCOMPARE(devices.outputNames(), QStringList({"Busy Out", "Loopback 1", "Loopback 2"}));

    // Flat index 0 is the failing backend's device, 1 and beyond the loopback's.
    NullReceiver receiver;
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, devices.openInput(0, receiver));
    QVERIFY(devices.openInput(2, receiver) != nullptr);
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, devices.openOutput(3));
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, devices.openOutput(-1));
}

void TestPortState::selectionByIndexAndName()
{
    MidiDevices none;
    TMidiInput nowhere(none);
    QCOMPARE(messageOf<EMidiInputError>([&] { nowhere.OpenPort(); }), InvalidId);
    QVERIFY(!nowhere.isOpen());

    MidiDevices devices;
    devices.addBackend(std::make_shared<LoopbackBackend>(3));
    TMidiInput input(devices);
    QCOMPARE(input.ProductName(), QStringLiteral("Loopback 1"));
    input.setProductName(QStringLiteral("Loopback 2"));
    QCOMPARE(input.DeviceID(), std::uint16_t(1));
    QCOMPARE(messageOf<EMidiInputError>([&] { input.setDeviceID(3); }), InvalidId);
    QCOMPARE(messageOf<EMidiInputError>([&] { input.setDeviceID(-1); }), InvalidId);
    QCOMPARE(
        messageOf<EMidiInputError>([&] { input.setProductName(QStringLiteral("loopback 2")); }),
        QStringLiteral("MIDI Input Device loopback 2 not installed "));
    QCOMPARE(input.ProductName(), QStringLiteral("Loopback 2"));
    QCOMPARE(messageOf<EMidiInputError>([&] { input.setCapacity(5462); }),
             QStringLiteral("Invalid Capacity"));

    // -1 on the output side is the system's default device, the first.
    TMidiOutput output(devices);
    output.setDeviceID(-1);
    QCOMPARE(output.DeviceID(), -1);
    QCOMPARE(output.ProductName(), QStringLiteral("Loopback 1"));
    output.OpenPort();
    QVERIFY(output.isOpen());
    output.ClosePort();
    QCOMPARE(messageOf<EmidioutputError>([&] { output.setDeviceID(3); }), InvalidId);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.setDeviceID(-2); }), InvalidId);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.setProductName(QStringLiteral("XP-60")); }),
             QStringLiteral("MIDI output Device XP-60 not installed"));
    QCOMPARE(output.DeviceID(), -1);

    const QString closed = QStringLiteral("MIDI Output device not open");
    const std::uint8_t bytes[] = {0xF0, 0xF7};
    QCOMPARE(messageOf<EmidioutputError>([&] { output.SendEvent(TMyMidiEvent{}); }), closed);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.SendShortMsg(0x90, 60, 100); }), closed);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.SendLongMsg(bytes, 2); }), closed);
}

void TestPortState::settersRefusedWhileOpen()
{
    MidiDevices devices;
    devices.addBackend(std::make_shared<LoopbackBackend>(2));
    TMidiInput input(devices);
    TMidiOutput output(devices);
    input.OpenPort();
    output.OpenPort();
    const QString name = QStringLiteral("Loopback 2");
    const auto refused = [](const char *what) {
        return QStringLiteral("Change to %1 while device was open").arg(QLatin1String(what));
    };
    const QList<std::pair<QString, std::function<QString()>>> cases{
        {refused("DeviceID"),
         [&] { return messageOf<EMidiInputError>([&] { input.setDeviceID(1); }); }},
        {refused("ProductName"),
         [&] { return messageOf<EMidiInputError>([&] { input.setProductName(name); }); }},
        {refused("SysexBufferSize"),
         [&] { return messageOf<EMidiInputError>([&] { input.setSysexBufferSize(100); }); }},
        {refused("SysexBuffercount"),
         [&] { return messageOf<EMidiInputError>([&] { input.setSysexBufferCount(2); }); }},
        {refused("DeviceID"),
         [&] { return messageOf<EmidioutputError>([&] { output.setDeviceID(1); }); }},
        {refused("ProductName"),
         [&] { return messageOf<EmidioutputError>([&] { output.setProductName(name); }); }},
    };
    for (const auto &[message, attempt] : cases)
        QCOMPARE(attempt(), message);
    QCOMPARE(input.ProductName(), QStringLiteral("Loopback 1"));
    QCOMPARE(input.SysexBufferSize(), std::uint16_t(4096));
    QCOMPARE(input.SysexBufferCount(), std::uint16_t(16));
    QCOMPARE(output.DeviceID(), 0);
    QVERIFY(input.isOpen() && output.isOpen());

    // Allowed again once closed.
    input.ClosePort();
    output.ClosePort();
    input.setSysexBufferSize(100);
    input.setDeviceID(1);
    output.setDeviceID(1);
    QCOMPARE(input.SysexBufferSize(), std::uint16_t(100));
    QCOMPARE(output.ProductName(), name);
}

void TestPortState::failedOpenLeavesPortClosed()
{
    MidiDevices devices;
    devices.addBackend(std::make_shared<FailingBackend>(QStringLiteral("Device is in use")));
    devices.addBackend(std::make_shared<FailingBackend>(QString()));
    TMidiInput input(devices);
    QCOMPARE(messageOf<EMidiInputError>([&] { input.OpenPort(); }),
             QStringLiteral("Device is in use"));
    QVERIFY(!input.isOpen());
    QVERIFY(input.Error() != 0);
    QVERIFY(input.ReadEvent() == nullptr);
    input.StartInput(); // no effect on a closed port
    // A failure without a reason still gets a message.
    input.setDeviceID(1);
    QCOMPARE(messageOf<EMidiInputError>([&] { input.OpenPort(); }),
             QStringLiteral("Specified error number is out of range"));

    TMidiOutput output(devices);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.OpenPort(); }),
             QStringLiteral("Device is in use"));
    QVERIFY(!output.isOpen());
}

QTEST_GUILESS_MAIN(TestPortState)
#include "tst_portstate.moc"
