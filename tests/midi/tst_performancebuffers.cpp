// Data sets to the temporary performance and to part 10's rhythm set, sent
// and received: the bytes on the wire, where they land, and that the patch
// image never sees them.

#include "core/editstate.h"
#include "core/recordinginfosink.h"
#include "midi/midisender.h"
#include "midi/silenthublink.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"

#include <QtTest>

namespace {

class WireSender : public MidiSender
{
public:
    void SendShortMsg(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SendLongMsg(const std::uint8_t *buffer, int length) override
    {
        sent.append(sysex::hexLine(buffer, length));
    }
    QStringList sent;
};

addr::Address address(const QByteArray &hex)
{
    const QByteArray a = QByteArray::fromHex(hex);
    return {std::uint8_t(a[0]), std::uint8_t(a[1]), std::uint8_t(a[2]), std::uint8_t(a[3])};
}

enum class Buffer
{
    Performance,
    Rhythm,
};

} // namespace

class TestPerformanceBuffers : public QObject
{
    Q_OBJECT

    EditState state;
    RecordingInfoSink info;
    SilentHubLink hub;
    WireSender sender;
    SysexProtocol protocol{state, info, hub};

    ParseResult receive(const addr::Address &a, const QByteArray &data)
    {
        const QByteArray m = sysex::dataSetMessage(state.deviceByte(), a, data);
        return protocol.parseIncoming(reinterpret_cast<const std::uint8_t *>(m.constData()),
                                      int(m.size()));
    }
    QByteArray bytesAt(Buffer buffer, int position, int count) const
    {
        const std::uint8_t *d =
            buffer == Buffer::Performance ? state.performance.data() : state.rhythm.data();
        return QByteArray(reinterpret_cast<const char *>(d + position), count);
    }

private Q_SLOTS:
    void init()
    {
        state.reset();
        state.MidiClosed = false;
        protocol.setSender(&sender);
        sender.sent.clear();
    }

    void blocksLandInTheirOwnBuffer_data()
    {
        QTest::addColumn<QByteArray>("adrs");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<int>("buffer");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("block");

        using T = ParseResult::Target;
        const int perf = int(Buffer::Performance);
        const int rhythm = int(Buffer::Rhythm);
        QTest::newRow("performance tempo, two nibbles")
            << QByteArray("0100002D") << QByteArray::fromHex("0708")
            << "F0 41 10 6A 12 01 00 00 2D 07 08 43 F7" << perf << 0x2D << int(T::Performance)
            << -1;
        QTest::newRow("part 1 level")
            << QByteArray("01001006") << QByteArray::fromHex("64")
            << "F0 41 10 6A 12 01 00 10 06 64 05 F7" << perf << PerformanceImage::partPosition(1, 6)
            << int(T::PerformancePart) << 1;
        QTest::newRow("part 16 upper key")
            << QByteArray("01001F12") << QByteArray::fromHex("64")
            << "F0 41 10 6A 12 01 00 1F 12 64 6A F7" << perf
            << PerformanceImage::partPosition(16, 0x12) << int(T::PerformancePart) << 16;
        QTest::newRow("rhythm name") << QByteArray("02090000") << QByteArray("Jazz Kit    ")
                                     << "F0 41 10 6A 12 02 09 00 00 4A 61 7A 7A 20 4B 69 74 20 20 "
                                        "20 20 0E F7"
                                     << rhythm << 0 << int(T::RhythmCommon) << -1;
        QTest::newRow("lowest key, tone level")
            << QByteArray("02092329") << QByteArray::fromHex("5A")
            << "F0 41 10 6A 12 02 09 23 29 5A 4F F7" << rhythm
            << RhythmImage::notePosition(35, 0x29) << int(T::RhythmNote) << 35;
        QTest::newRow("highest key, last byte")
            << QByteArray("02096239") << QByteArray::fromHex("7F")
            << "F0 41 10 6A 12 02 09 62 39 7F 5B F7" << rhythm
            << RhythmImage::notePosition(98, 0x39) << int(T::RhythmNote) << 98;
    }

    void blocksLandInTheirOwnBuffer()
    {
        QFETCH(QByteArray, adrs);
        QFETCH(QByteArray, data);
        QFETCH(QString, wire);
        QFETCH(int, buffer);
        QFETCH(int, position);
        QFETCH(int, target);
        QFETCH(int, block);

        const Buffer where = Buffer(buffer);
        const addr::Address a = address(adrs);
        const PatchImage patch = state.patchImage;
        const PerformanceImage performance = state.performance;
        const RhythmImage rhythm = state.rhythm;

        // Sent: the exact message, mirrored into its buffer only.
        protocol.SendDataSet(a, reinterpret_cast<const std::uint8_t *>(data.constData()),
                             int(data.size()));
        QCOMPARE(sender.sent, QStringList{wire});
        QCOMPARE(bytesAt(where, position, int(data.size())), data);
        QVERIFY(state.patchImage == patch);
        QVERIFY(where == Buffer::Performance ? state.rhythm == rhythm
                                             : state.performance == performance);
        // The guard now knows the byte: the same value is not sent again.
        QVERIFY(!protocol.SendParameter(a, std::uint8_t(data.at(0))));

        // Received: stored at the same place and reported by block.
        state.reset();
        QByteArray other = data;
        other[0] = char(other.at(0) ^ 0x01);
        const ParseResult r = receive(a, other);
        QVERIFY2(r.stored(), qPrintable(r.reason));
        QCOMPARE(int(r.target), target);
        QCOMPARE(r.block, block);
        QCOMPARE(r.offset, int(a[3]));
        QCOMPARE(r.count, int(data.size()));
        QCOMPARE(bytesAt(where, position, int(data.size())), other);
        QVERIFY(state.patchImage == patch);
    }

    void unheldRunsChangeNoBuffer_data()
    {
        QTest::addColumn<QByteArray>("adrs");
        QTest::addColumn<int>("count");

        QTest::newRow("run past the end of part 1") << QByteArray("01001012") << 2;
        QTest::newRow("no part 17") << QByteArray("01002000") << 1;
        QTest::newRow("gap below part 1") << QByteArray("01000F00") << 1;
        QTest::newRow("key 34 has no note") << QByteArray("02092200") << 1;
        QTest::newRow("key 99 has no note") << QByteArray("02096300") << 1;
        QTest::newRow("run past the rhythm name") << QByteArray("0209000B") << 2;
        QTest::newRow("a tone address in part 10") << QByteArray("02091000") << 1;
        QTest::newRow("past the end of a note") << QByteArray("0209403A") << 1;
    }

    void unheldRunsChangeNoBuffer()
    {
        QFETCH(QByteArray, adrs);
        QFETCH(int, count);

        const addr::Address a = address(adrs);
        const QByteArray data(count, 0x05);
        const PatchImage patch = state.patchImage;
        const PerformanceImage performance = state.performance;
        const RhythmImage rhythm = state.rhythm;

        const ParseResult r = receive(a, data);
        QVERIFY(!r.stored());
        QVERIFY(!r.reason.isEmpty());
        protocol.SendDataSet(a, reinterpret_cast<const std::uint8_t *>(data.constData()), count);
        QCOMPARE(sender.sent.size(), 1);
        QVERIFY(state.patchImage == patch);
        QVERIFY(state.performance == performance);
        QVERIFY(state.rhythm == rhythm);
    }

    void unknownBytesAreAlwaysSent()
    {
        // The neutral start bytes are not the unit's: an edit to the same
        // value still leaves, once.
        const addr::Address level = addr::performancePartAddress(3, addr::part::Level);
        QVERIFY(protocol.SendParameter(level, state.performance.part(3, addr::part::Level)));
        QVERIFY(!protocol.SendParameter(level, state.performance.part(3, addr::part::Level)));
        const addr::Address pan = addr::rhythmNoteAddress(60, addr::note::TonePan);
        QVERIFY(protocol.SendParameter(pan, state.rhythm.note(60, addr::note::TonePan)));
        QCOMPARE(sender.sent.size(), 2);
    }

    void patchScreensInPerformModeStillEditThePatch()
    {
        // Part 9 is a patch: its tone data go to the image as before.
        QVERIFY(state.setEditMode(EditMode::Perform, 9));
        protocol.SendDataSet(state.toneAddress(2, 0x05), 3);
        QCOMPARE(state.patchImage.tone(2, 0x05), 3);
        QVERIFY(receive(state.commonAddress(0x2E), QByteArray(1, 77)).stored());
        QCOMPARE(state.patchImage.common(0x2E), 77);
    }
};

QTEST_GUILESS_MAIN(TestPerformanceBuffers)
#include "tst_performancebuffers.moc"
