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
            while (sender->EventCount() > 0)
                events.push_back(bytesOf(*sender->ReadEvent()));
        });
    }
    QList<QByteArray> events;
    bool onOwnerThread = true;
};
} // namespace

class TestMidiPorts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void eventsArriveInOrderOnTheOwnerThread();
    void nothingStoredBeforeStartOrWhenSysexOnly();
    void overflowDropsTheNewestAndRecovers();
    void closeDiscardsWaitingEvents();

private:
    void openBoth()
    {
        m_input->OpenPort();
        m_input->StartInput();
        m_output->OpenPort();
    }
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

void TestMidiPorts::eventsArriveInOrderOnTheOwnerThread()
{
    Reader reader(*m_input);
    QSignalSpy sent(m_output.get(), &TMidiOutput::Onmidioutput);
    openBoth();
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
    // The port sends nothing for an empty buffer; a driver may still hand one
    // back, which the cable imitates.
    m_output->SendLongMsg(nullptr, 0);
    m_devices->openOutput(0)->sendLong(nullptr, 0);

    QTRY_COMPARE(reader.events.size(), 4);
    QVERIFY(reader.onOwnerThread);
    QCOMPARE(reader.events, (QList<QByteArray>{QByteArray::fromHex("903c64"), sysex,
                                               QByteArray::fromHex("c10500"), QByteArray()}));
    // One completion: for the System Exclusive message actually sent.
    QTRY_COMPARE(sent.count(), 1);
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

// Both the event ring and the System Exclusive buffer pool keep the oldest,
// count what they drop, and take more once read.
void TestMidiPorts::overflowDropsTheNewestAndRecovers()
{
    QSignalSpy overflow(m_input.get(), &TMidiInput::OnOverflow);
    m_input->setCapacity(3);
    m_input->setSysexBufferCount(2);
    m_input->setSysexBufferSize(8);
    openBoth();
    for (std::uint8_t note = 60; note < 65; ++note)
        m_output->SendShortMsg(0x90, note, 1);
    m_cable->flush();
    QCOMPARE(m_input->droppedCount(), std::uint32_t(2));
    QTRY_VERIFY(overflow.count() >= 1);
    QCOMPARE(overflow.first().first().value<TMidiInput *>(), m_input.get());
    for (std::uint8_t note = 60; note < 63; ++note)
        QCOMPARE(m_input->ReadEvent()->Data1, note);

    const std::uint8_t tooLong[] = {0xF0, 1, 2, 3, 4, 5, 6, 7, 0xF7};
    const std::uint8_t fits[] = {0xF0, 1, 2, 3, 4, 5, 6, 0xF7};
    m_output->SendLongMsg(tooLong, sizeof tooLong);
    // Read buffers go back to the pool, many times over.
    for (int round = 0; round < 10; ++round) {
        for (int i = 0; i < 3; ++i)
            m_output->SendLongMsg(fits, sizeof fits);
        m_cable->flush();
        QCOMPARE(m_input->EventCount(), std::uint16_t(2));
        while (auto event = m_input->ReadEvent())
            QCOMPARE(event->SysexLen, std::uint16_t(sizeof fits));
    }
    QCOMPARE(m_input->droppedCount(), std::uint32_t(2 + 1 + 10));
}

void TestMidiPorts::closeDiscardsWaitingEvents()
{
    QSignalSpy data(m_input.get(), &TMidiInput::OnMidiInput);
    openBoth();
    m_output->SendShortMsg(0x90, 60, 1);
    m_cable->flush();
    QCOMPARE(m_input->EventCount(), std::uint16_t(1));
    m_input->ClosePort();
    QCOMPARE(m_input->EventCount(), std::uint16_t(0));
    QVERIFY(m_input->ReadEvent() == nullptr);
    // The notification already queued finds the port closed and says nothing.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(data.count(), 0);

    m_input->OpenPort();
    QCOMPARE(m_input->EventCount(), std::uint16_t(0));
    m_input->StartInput();
    m_output->SendShortMsg(0x90, 61, 1);
    QTRY_COMPARE(data.count(), 1);
    QCOMPARE(m_input->ReadEvent()->Data1, std::uint8_t(61));
}

QTEST_GUILESS_MAIN(TestMidiPorts)
#include "tst_midiports.moc"
