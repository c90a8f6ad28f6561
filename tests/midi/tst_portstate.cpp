// Device selection, open/close state rules and failure messages of the ports.
#include "midi/loopbackbackend.h"
#include "midi/mididevices.h"
#include "midi/midiinput.h"
#include "midi/midioutput.h"
#include "testbackends.h"

#include <QTest>

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
} // namespace

class TestPortState : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void registryFlattensBackendsInOrder();
    void inputWithoutDevicesRefusesToOpen();
    void inputSelectionByIndexAndName();
    void outputSelectionByIndexAndName();
    void settersRefusedWhileOpen_data();
    void settersRefusedWhileOpen();
    void failedOpenLeavesPortClosed();
    void outputRefusesSendsWhileClosed();
};

void TestPortState::registryFlattensBackendsInOrder()
{
    MidiDevices devices;
    devices.addBackend(std::make_shared<LoopbackBackend>(2));
    devices.insertBackend(std::make_shared<FailingBackend>(QStringLiteral("busy")));
    QCOMPARE(devices.inputNames(), QStringList({"Busy In", "Loopback 1", "Loopback 2"}));
    QCOMPARE(devices.outputNames(), QStringList({"Busy Out", "Loopback 1", "Loopback 2"}));
    QCOMPARE(devices.unavailableReasons(), QStringList());

    struct Nothing : FailingBackend
    {
        Nothing() : FailingBackend({}) {}
        QStringList inputDevices() override { return {}; }
        QStringList outputDevices() override { return {}; }
        QString unavailableReason() const override { return QStringLiteral("no driver"); }
    };
    auto nothing = std::make_shared<Nothing>();
    devices.insertBackend(nothing);
    QCOMPARE(devices.inputCount(), 3);
    QCOMPARE(devices.unavailableReasons(), QStringList({"Failing: no driver"}));
    devices.removeBackend(nothing.get());
    QCOMPARE(devices.backends().size(), std::size_t(2));

    // Flat index 0 is the failing backend's device, 1 and beyond the loopback's.
    NullReceiver receiver;
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, devices.openInput(0, receiver));
    QVERIFY(devices.openInput(2, receiver) != nullptr);
    QVERIFY(devices.openOutput(1) != nullptr);
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, devices.openOutput(3));
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, devices.openOutput(-1));
}

void TestPortState::inputWithoutDevicesRefusesToOpen()
{
    MidiDevices devices;
    TMidiInput input(devices);
    QCOMPARE(input.DeviceID(), std::uint16_t(0));
    QCOMPARE(input.ProductName(), QString());
    QCOMPARE(input.state(), TMidiInput::State::Closed);
    QCOMPARE(messageOf<EMidiInputError>([&] { input.OpenPort(); }),
             QStringLiteral("Invalid device ID"));
    QVERIFY(!input.isOpen());
    QCOMPARE(input.EventCount(), std::uint16_t(0));

    TMidiOutput output(devices);
    output.setDeviceID(-1);
    QCOMPARE(output.ProductName(), QString());
    QCOMPARE(messageOf<EmidioutputError>([&] { output.OpenPort(); }),
             QStringLiteral("Invalid device ID"));
}

void TestPortState::inputSelectionByIndexAndName()
{
    MidiDevices devices;
    devices.addBackend(std::make_shared<LoopbackBackend>(3));
    TMidiInput input(devices);
    QCOMPARE(input.ProductName(), QStringLiteral("Loopback 1"));
    QCOMPARE(input.Capacity(), std::uint16_t(1024));
    QCOMPARE(input.SysexBufferSize(), std::uint16_t(4096));
    QCOMPARE(input.SysexBufferCount(), std::uint16_t(16));

    input.setDeviceID(2);
    QCOMPARE(input.ProductName(), QStringLiteral("Loopback 3"));
    input.setProductName(QStringLiteral("Loopback 2"));
    QCOMPARE(input.DeviceID(), std::uint16_t(1));

    QCOMPARE(messageOf<EMidiInputError>([&] { input.setDeviceID(3); }),
             QStringLiteral("Invalid device ID"));
    QCOMPARE(messageOf<EMidiInputError>([&] { input.setDeviceID(-1); }),
             QStringLiteral("Invalid device ID"));
    QCOMPARE(
        messageOf<EMidiInputError>([&] { input.setProductName(QStringLiteral("loopback 2")); }),
        QStringLiteral("MIDI Input Device loopback 2 not installed "));
    QCOMPARE(input.DeviceID(), std::uint16_t(1));
    QCOMPARE(input.ProductName(), QStringLiteral("Loopback 2"));

    QCOMPARE(messageOf<EMidiInputError>([&] { input.setCapacity(5462); }),
             QStringLiteral("Invalid Capacity"));
    input.setCapacity(5461);
    QCOMPARE(input.Capacity(), std::uint16_t(5461));
}

void TestPortState::outputSelectionByIndexAndName()
{
    MidiDevices devices;
    devices.addBackend(std::make_shared<LoopbackBackend>(2));
    TMidiOutput output(devices);
    QCOMPARE(output.DeviceID(), 0);

    output.setDeviceID(-1);
    QCOMPARE(output.DeviceID(), -1);
    QCOMPARE(output.ProductName(), QStringLiteral("Loopback 1"));
    output.OpenPort();
    QVERIFY(output.isOpen());
    output.ClosePort();

    QCOMPARE(messageOf<EmidioutputError>([&] { output.setDeviceID(2); }),
             QStringLiteral("Invalid device ID"));
    QCOMPARE(messageOf<EmidioutputError>([&] { output.setDeviceID(-2); }),
             QStringLiteral("Invalid device ID"));
    output.setProductName(QStringLiteral("Loopback 2"));
    QCOMPARE(output.DeviceID(), 1);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.setProductName(QStringLiteral("XP-60")); }),
             QStringLiteral("MIDI output Device XP-60 not installed"));
    QCOMPARE(output.DeviceID(), 1);
}

void TestPortState::settersRefusedWhileOpen_data()
{
    QTest::addColumn<int>("setter");
    QTest::addColumn<QString>("message");
    QTest::newRow("input DeviceID") << 0 << "Change to DeviceID while device was open";
    QTest::newRow("input ProductName") << 1 << "Change to ProductName while device was open";
    QTest::newRow("input SysexBufferSize")
        << 2 << "Change to SysexBufferSize while device was open";
    QTest::newRow("input SysexBufferCount")
        << 3 << "Change to SysexBuffercount while device was open";
    QTest::newRow("output DeviceID") << 4 << "Change to DeviceID while device was open";
    QTest::newRow("output ProductName") << 5 << "Change to ProductName while device was open";
}

void TestPortState::settersRefusedWhileOpen()
{
    QFETCH(int, setter);
    QFETCH(QString, message);
    MidiDevices devices;
    devices.addBackend(std::make_shared<LoopbackBackend>(2));
    TMidiInput input(devices);
    TMidiOutput output(devices);
    input.OpenPort();
    output.OpenPort();
    const QString name = QStringLiteral("Loopback 2");
    QString got;
    switch (setter) {
    case 0:
        got = messageOf<EMidiInputError>([&] { input.setDeviceID(1); });
        break;
    case 1:
        got = messageOf<EMidiInputError>([&] { input.setProductName(name); });
        break;
    case 2:
        got = messageOf<EMidiInputError>([&] { input.setSysexBufferSize(100); });
        break;
    case 3:
        got = messageOf<EMidiInputError>([&] { input.setSysexBufferCount(2); });
        break;
    case 4:
        got = messageOf<EmidioutputError>([&] { output.setDeviceID(1); });
        break;
    default:
        got = messageOf<EmidioutputError>([&] { output.setProductName(name); });
        break;
    }
    QCOMPARE(got, message);
    // Nothing changed.
    QCOMPARE(input.DeviceID(), std::uint16_t(0));
    QCOMPARE(input.ProductName(), QStringLiteral("Loopback 1"));
    QCOMPARE(input.SysexBufferSize(), std::uint16_t(4096));
    QCOMPARE(input.SysexBufferCount(), std::uint16_t(16));
    QCOMPARE(output.DeviceID(), 0);
    QVERIFY(input.isOpen() && output.isOpen());

    // Allowed again once closed; SysexOnly never refused.
    input.setSysexOnly(true);
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
    QCOMPARE(input.EventCount(), std::uint16_t(0));
    QVERIFY(input.ReadEvent() == nullptr);
    input.StartInput(); // no effect on a closed port
    input.ClosePort();
    // A failure without a reason still gets a message.
    input.setDeviceID(1);
    QCOMPARE(messageOf<EMidiInputError>([&] { input.OpenPort(); }),
             QStringLiteral("Specified error number is out of range"));

    TMidiOutput output(devices);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.OpenPort(); }),
             QStringLiteral("Device is in use"));
    QVERIFY(!output.isOpen());
    QVERIFY(output.Error() != 0);
}

void TestPortState::outputRefusesSendsWhileClosed()
{
    MidiDevices devices;
    devices.addBackend(std::make_shared<LoopbackBackend>());
    TMidiOutput output(devices);
    const QString closed = QStringLiteral("MIDI Output device not open");
    const std::uint8_t bytes[] = {0xF0, 0xF7};
    QCOMPARE(messageOf<EmidioutputError>([&] { output.SendEvent(TMyMidiEvent{}); }), closed);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.SendShortMsg(0x90, 60, 100); }), closed);
    QCOMPARE(messageOf<EmidioutputError>([&] { output.SendLongMsg(bytes, 2); }), closed);
    output.OpenPort();
    output.SendShortMsg(0x90, 60, 100);
    output.ClosePort();
    QCOMPARE(messageOf<EmidioutputError>([&] { output.SendShortMsg(0x80, 60, 0); }), closed);
}

QTEST_GUILESS_MAIN(TestPortState)
#include "tst_portstate.moc"
