// Messages travelling output port -> loopback cable -> input port, arriving
// through the queued notification on the thread that owns the input.
#include "midi/loopbackbackend.h"
#include "midi/mididevices.h"
#include "midi/midiinput.h"
#include "midi/midioutput.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {
QByteArray bytesOf(const TMyMidiEvent &e)
{
    if (e.isSysex())
        return QByteArray(reinterpret_cast<const char *>(e.SysexData.data()),
                          qsizetype(e.SysexData.size()));
    const char packed[] = {char(e.Status), char(e.Data1), char(e.Data2)};
    return QByteArray(packed, sizeof packed);
}

// Reads the way the hub does: on each notification, until nothing waits.
struct Reader : QObject
{
    explicit Reader(TMidiInput &input)
    {
        connect(&input, &TMidiInput::OnMidiInput, this, [this](TMidiInput *sender) {
            onOwnerThread = onOwnerThread && QThread::currentThread() == thread();
            ++notifications;
            while (sender->EventCount() > 0)
                events.push_back(*sender->ReadEvent());
        });
    }
    std::vector<TMyMidiEvent> events;
    int notifications = 0;
    bool onOwnerThread = true;
};
} // namespace

class TestMidiPorts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void shortAndSysexArriveInOrder();
    void nothingStoredBeforeStartOrWhenSysexOnly();
    void fullRingDropsAndReportsOverflow();
    void sysexBuffersDropAndRecycle();
    void emptySysexGivesEmptyEvent();
    void closeDiscardsWaitingEvents();
    void pairsAreSeparate();

private:
    std::shared_ptr<LoopbackBackend> m_cable;
    std::unique_ptr<MidiDevices> m_devices;
    std::unique_ptr<TMidiInput> m_input;
    std::unique_ptr<TMidiOutput> m_output;
};

void TestMidiPorts::init()
{
    m_cable = std::make_shared<LoopbackBackend>(2);
    m_devices = std::make_unique<MidiDevices>();
    m_devices->addBackend(m_cable);
    m_input = std::make_unique<TMidiInput>(*m_devices);
    m_output = std::make_unique<TMidiOutput>(*m_devices);
}

void TestMidiPorts::cleanup()
{
    m_input.reset();
    m_output.reset();
    m_devices.reset();
    m_cable.reset();
}

void TestMidiPorts::shortAndSysexArriveInOrder()
{
    Reader reader(*m_input);
    QSignalSpy sent(m_output.get(), &TMidiOutput::Onmidioutput);
    m_input->OpenPort();
    m_input->StartInput();
    m_output->OpenPort();

    const QByteArray sysex = QByteArray::fromHex("f041106a12030000007df7");
    m_output->SendShortMsg(0x90, 0x3C, 0x64);
    m_output->SendLongMsg(reinterpret_cast<const std::uint8_t *>(sysex.constData()),
                          int(sysex.size()));
    // Completion comes from the event loop, not from inside the send.
    QCOMPARE(sent.count(), 0);
    TMyMidiEvent programChange;
    programChange.Status = 0xC1;
    programChange.Data1 = 0x05;
    m_output->SendEvent(programChange);
    TMyMidiEvent echoed = TMyMidiEvent::sysex(
        reinterpret_cast<const std::uint8_t *>(sysex.constData()), std::size_t(sysex.size()), 0);
    m_output->SendEvent(echoed);

    QTRY_COMPARE(reader.events.size(), std::size_t(4));
    QVERIFY(reader.onOwnerThread);
    QCOMPARE(bytesOf(reader.events[0]), QByteArray::fromHex("903c64"));
    QCOMPARE(reader.events[0].SysexLen, std::uint16_t(0));
    QVERIFY(reader.events[0].SysexData.empty());
    const TMyMidiEvent &ex = reader.events[1];
    QCOMPARE(ex.Status, std::uint8_t(0xF0));
    QCOMPARE(ex.Data1, std::uint8_t(0));
    QCOMPARE(ex.Data2, std::uint8_t(0));
    QCOMPARE(ex.SysexLen, std::uint16_t(sysex.size()));
    QCOMPARE(bytesOf(ex), sysex);
    QCOMPARE(bytesOf(reader.events[2]), QByteArray::fromHex("c10500"));
    QCOMPARE(bytesOf(reader.events[3]), sysex);
    QVERIFY(reader.events[3].Time >= reader.events[0].Time);
    QTRY_COMPARE(sent.count(), 2);
    QCOMPARE(sent.first().first().value<TMidiOutput *>(), m_output.get());
    QCOMPARE(m_input->droppedCount(), std::uint32_t(0));
}

void TestMidiPorts::nothingStoredBeforeStartOrWhenSysexOnly()
{
    m_input->OpenPort();
    m_output->OpenPort();
    m_output->SendShortMsg(0xB0, 7, 100);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(0));

    m_input->StartInput();
    m_input->setSysexOnly(true);
    const std::uint8_t sysex[] = {0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7};
    m_output->SendShortMsg(0xB0, 7, 101);
    m_output->SendLongMsg(sysex, sizeof sysex);
    m_cable->flush();
    m_input->setSysexOnly(false);
    m_output->SendShortMsg(0xB0, 7, 102);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(2));
    QCOMPARE(m_input->ReadEvent()->SysexLen, std::uint16_t(sizeof sysex));
    QCOMPARE(m_input->ReadEvent()->Data2, std::uint8_t(102));
    QVERIFY(m_input->ReadEvent() == nullptr);
}

void TestMidiPorts::fullRingDropsAndReportsOverflow()
{
    QSignalSpy overflow(m_input.get(), &TMidiInput::OnOverflow);
    QSignalSpy data(m_input.get(), &TMidiInput::OnMidiInput);
    m_input->setCapacity(3);
    m_input->OpenPort();
    m_input->StartInput();
    m_output->OpenPort();
    for (std::uint8_t note = 60; note < 66; ++note)
        m_output->SendShortMsg(0x90, note, 1);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(3));
    QCOMPARE(m_input->droppedCount(), std::uint32_t(3));
    QTRY_VERIFY(overflow.count() >= 1);
    QCOMPARE(overflow.first().first().value<TMidiInput *>(), m_input.get());
    QTRY_VERIFY(data.count() >= 1);
    // The oldest survive; reading makes room again.
    for (std::uint8_t note = 60; note < 63; ++note)
        QCOMPARE(m_input->ReadEvent()->Data1, note);
    m_output->SendShortMsg(0x80, 70, 0);
    m_cable->flush();
    QCOMPARE(m_input->ReadEvent()->Data1, std::uint8_t(70));
}

void TestMidiPorts::sysexBuffersDropAndRecycle()
{
    QSignalSpy overflow(m_input.get(), &TMidiInput::OnOverflow);
    m_input->setSysexBufferCount(2);
    m_input->setSysexBufferSize(8);
    m_input->OpenPort();
    m_input->StartInput();
    m_output->OpenPort();
    const std::uint8_t tooLong[] = {0xF0, 1, 2, 3, 4, 5, 6, 7, 0xF7};
    const std::uint8_t fits[] = {0xF0, 1, 2, 3, 4, 5, 6, 0xF7};
    m_output->SendLongMsg(tooLong, sizeof tooLong);
    for (int i = 0; i < 3; ++i)
        m_output->SendLongMsg(fits, sizeof fits);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(2));
    QCOMPARE(m_input->droppedCount(), std::uint32_t(2));
    QTRY_VERIFY(overflow.count() >= 1);

    // Read buffers go back to the pool, many times over.
    for (int round = 0; round < 10; ++round) {
        while (auto event = m_input->ReadEvent())
            QCOMPARE(event->SysexLen, std::uint16_t(sizeof fits));
        m_output->SendLongMsg(fits, sizeof fits);
        m_output->SendLongMsg(fits, sizeof fits);
        m_cable->flush();
        QCOMPARE(m_input->EventCount(), std::uint16_t(2));
    }
    QCOMPARE(m_input->droppedCount(), std::uint32_t(2));

    // Without buffers every System Exclusive message is dropped.
    m_input->ClosePort();
    m_input->setSysexBufferCount(0);
    m_input->OpenPort();
    m_input->StartInput();
    m_output->SendLongMsg(fits, sizeof fits);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(0));
    QCOMPARE(m_input->droppedCount(), std::uint32_t(1));
}

void TestMidiPorts::emptySysexGivesEmptyEvent()
{
    m_input->OpenPort();
    m_input->StartInput();
    // The port itself sends nothing for an empty buffer; a driver may still
    // hand one back, which the cable imitates.
    m_output->OpenPort();
    m_output->SendLongMsg(nullptr, 0);
    m_devices->openOutput(0)->sendLong(nullptr, 0);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(1));
    const auto event = m_input->ReadEvent();
    QCOMPARE(event->Status, std::uint8_t(0xF0));
    QCOMPARE(event->SysexLen, std::uint16_t(0));
    QVERIFY(event->SysexData.empty());
}

void TestMidiPorts::closeDiscardsWaitingEvents()
{
    QSignalSpy data(m_input.get(), &TMidiInput::OnMidiInput);
    m_input->OpenPort();
    m_input->StartInput();
    m_output->OpenPort();
    m_output->SendShortMsg(0x90, 60, 1);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(1));
    m_input->ClosePort();
    QCOMPARE(m_input->EventCount(), std::uint16_t(0));
    QVERIFY(m_input->ReadEvent() == nullptr);
    // The notification already queued finds the port closed and says nothing.
    QTest::qWait(20);
    QCOMPARE(data.count(), 0);

    m_input->OpenPort();
    QCOMPARE(m_input->EventCount(), std::uint16_t(0));
    m_input->StartInput();
    m_output->SendShortMsg(0x90, 61, 1);
    QTRY_COMPARE(data.count(), 1);
    QCOMPARE(m_input->ReadEvent()->Data1, std::uint8_t(61));
}

void TestMidiPorts::pairsAreSeparate()
{
    TMidiInput second(*m_devices);
    second.setDeviceID(1);
    m_input->OpenPort();
    m_input->StartInput();
    second.OpenPort();
    second.StartInput();
    m_output->setDeviceID(1);
    m_output->OpenPort();
    m_output->SendShortMsg(0xE0, 0, 64);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(0));
    QCOMPARE(second.EventCount(), std::uint16_t(1));
    QCOMPARE(second.ReadEvent()->Status, std::uint8_t(0xE0));
}

QTEST_GUILESS_MAIN(TestMidiPorts)
#include "tst_midiports.moc"
