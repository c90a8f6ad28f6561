// Outgoing data sets and requests, and the incoming parse, byte for byte.

#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "midi/hublink.h"
#include "midi/midisender.h"
#include "midi/parseobserver.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"

#include <QFile>
#include <QtTest>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

class RecordingSender : public MidiSender
{
public:
    void SendShortMsg(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SendLongMsg(const std::uint8_t *buffer, int length) override
    {
        sent.append(QByteArray(reinterpret_cast<const char *>(buffer), length));
    }
    QList<QByteArray> sent;
};

class RecordingHub : public HubLink
{
public:
    void AddOutLog(const QString &line) override { outLog.append(line); }
    void AddInLog(const QString &line) override { inLog.append(line); }
    void LedOut() override { ++ledOut; }
    void LedIn() override {}
    void PlayEditNote() override { ++notes; }
    QStringList outLog, inLog;
    int ledOut = 0, notes = 0;
};

// A DT1 from unit 17 with a correct checksum, for the incoming side.
QByteArray dataSet(const char *address, const QByteArray &data, std::uint8_t device = 0x10)
{
    const QByteArray a = hex(address);
    const QByteArray body = a + data;
    QByteArray m = hex("F0 41") + char(device) + hex("6A 12") + body;
    m += char(sysex::checksum(reinterpret_cast<const std::uint8_t *>(body.constData()),
                              int(body.size())));
    return m + hex("F7");
}

addr::Address address(const char *text)
{
    const QByteArray a = hex(text);
    return {std::uint8_t(a[0]), std::uint8_t(a[1]), std::uint8_t(a[2]), std::uint8_t(a[3])};
}

// Everything observers are told, as text.
class RecordingObserver : public ParseObserver
{
public:
    void parsedIncoming(const ParseResult &r) override
    {
        seen << QStringLiteral("stored slot %1").arg(r.slot);
    }
    void memoryDataSet(const addr::Address &a, const std::uint8_t *data, int count) override
    {
        seen << sysex::hexLine(a.data(), int(a.size())) + QStringLiteral(": ") +
                    sysex::hexLine(data, count);
    }
    QStringList seen;
};

} // namespace

class TestSysexProtocol : public QObject
{
    Q_OBJECT

    EditState state;
    RecordingInfoSink info;
    RecordingHub hub;
    RecordingSender sender;
    SysexProtocol proto{state, info, hub};

    ParseResult receive(const QByteArray &m)
    {
        return proto.parseIncoming(reinterpret_cast<const std::uint8_t *>(m.constData()),
                                   int(m.size()));
    }
    void send(const char *adrs, const QByteArray &data)
    {
        proto.SendDataSet(address(adrs), reinterpret_cast<const std::uint8_t *>(data.constData()),
                          int(data.size()));
    }

private slots:
    void init()
    {
        state.reset();
        state.MidiClosed = false;
        info = RecordingInfoSink();
        hub = RecordingHub();
        sender.sent.clear();
        proto.setSender(&sender);
    }

    void dataSetKnownAnswers_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QByteArray>("adrs");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("unit 17") << 17 << hex("0300000C") << hex("05")
                                 << hex("F0 41 10 6A 12 03 00 00 0C 05 6C F7");
        QTest::newRow("unit 32") << 32 << hex("0300000C") << hex("05")
                                 << hex("F0 41 1F 6A 12 03 00 00 0C 05 6C F7");
        QTest::newRow("sum 128 gives 00")
            << 17 << hex("0300007D") << hex("00") << hex("F0 41 10 6A 12 03 00 00 7D 00 00 F7");
        QTest::newRow("no data") << 17 << hex("0300000C") << QByteArray()
                                 << hex("F0 41 10 6A 12 03 00 00 0C 71 F7");
        QTest::newRow("tone 129th byte")
            << 17 << hex("03001100") << hex("05") << hex("F0 41 10 6A 12 03 00 11 00 05 67 F7");
    }
    void dataSetKnownAnswers()
    {
        QFETCH(int, unit);
        QFETCH(QByteArray, adrs);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        state.UnitId = unit;
        state.LastSentValue = 0x55;
        send(adrs.toHex().constData(), data);
        QCOMPARE(sender.sent, QList<QByteArray>{expected});
        QCOMPARE(
            sysex::dataSetMessage(std::uint8_t(unit - 1), address(adrs.toHex().constData()), data),
            expected);
        QVERIFY(state.PatchModified);
        QCOMPARE(hub.ledOut, 1);
        QCOMPARE(hub.notes, 1);
        QCOMPARE(state.LastSentValue, data.size() == 1 ? std::uint8_t(data[0]) : 0x55);
        QVERIFY(hub.outLog.isEmpty()); // no log lines built while logging is off
    }

    void requestLayout()
    {
        state.LogMessages = true;
        proto.RequestData(address("03001000"), addr::RequestToneSize);
        proto.RequestData(address("03000000"), addr::RequestCommonSize);
        const QList<QByteArray> expected{hex("F0 41 10 6A 11 03 00 10 00 00 00 01 01 6B F7"),
                                         hex("F0 41 10 6A 11 03 00 00 00 00 00 00 48 35 F7")};
        QCOMPARE(sender.sent, expected);
        QVERIFY(state.SendLock);
        QCOMPARE(hub.outLog.first(),
                 QStringLiteral(" F0 41 10 6A 11 03 00 10 00 00 00 01 01 6B F7"));
        QCOMPARE(hub.outLog.size(), 2);
    }

    // Position: where the bytes land in the image; -1 sent but not mirrored;
    // -2 refused, nothing sent and nothing changed.
    void sendMirrorsOrRefuses_data()
    {
        QTest::addColumn<QByteArray>("adrs");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("position");
        const QByteArray one(1, 0x2A);
        QTest::newRow("tone 1 byte 80") << hex("03001100") << one << 1 << false << 131 + 128;
        QTest::newRow("whole tone 1")
            << hex("03001000") << QByteArray(129, 0x2A) << 129 << false << 131;
        QTest::newRow("perform part 4") << hex("02031205") << one << 1 << false << 2 * 131 + 5;
        QTest::newRow("user patch 6") << hex("11050000") << one << 1 << false << -1;
        QTest::newRow("system") << hex("00000012") << one << 1 << false << -1;
        QTest::newRow("past the slot") << hex("03001102") << hex("2A 2A") << 2 << false << -1;
        QTest::newRow("send lock") << hex("03001000") << one << 1 << true << -2;
        QTest::newRow("136 bytes") << hex("03001000") << QByteArray(136, 1) << 136 << false << -2;
        QTest::newRow("byte above 7F") << hex("03001000") << hex("05 80") << 2 << false << -2;
        QTest::newRow("negative count") << hex("03001000") << one << -1 << false << -2;
    }
    void sendMirrorsOrRefuses()
    {
        QFETCH(QByteArray, adrs);
        QFETCH(QByteArray, data);
        QFETCH(int, count);
        QFETCH(bool, locked);
        QFETCH(int, position);
        state.SendLock = locked;
        state.LogMessages = true;
#ifndef NDEBUG
        if (position == -2 && !locked)
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("SendDataSet refused"));
#endif
        PatchImage expected = state.patchImage;
        proto.SendDataSet(address(adrs.toHex().constData()),
                          reinterpret_cast<const std::uint8_t *>(data.constData()), count);
        for (int i = 0; position >= 0 && i < count; ++i)
            expected[position + i] = std::uint8_t(data[i]);
        QVERIFY(state.patchImage == expected);
        QCOMPARE(sender.sent.size(), position == -2 ? 0 : 1);
        QCOMPARE(state.PatchModified, position != -2);
        if (position == -2)
            QCOMPARE(hub.ledOut + hub.notes + int(hub.outLog.size()), 0);
    }

    void midiClosedStillMirrors()
    {
        state.MidiClosed = true;
        send("0300000C", hex("05"));
        proto.RequestData(address("03000000"), addr::RequestNameSize);
        QVERIFY(sender.sent.isEmpty());
        QCOMPARE(info.messages, (QStringList{"Midi Closed", "Midi Closed "}));
        QCOMPARE(state.patchImage.common(0x0C), 5);
        QCOMPARE(hub.notes, 1);
    }

    void outgoingLogLines()
    {
        state.LogMessages = true;
        send("0300000C", hex("05"));
        QCOMPARE(hub.outLog, (QStringList{"Len=1  F0 41 10 6A 12 03 00 00 0C 05 6C F7", ""}));
        hub.outLog.clear();
        send("03001000", QByteArray(129, 0));
        QCOMPARE(hub.outLog.size(), 2);
        // "Len=129 " then 81 bytes fill the first line past 250 characters.
        QCOMPARE(hub.outLog[0].size(), 8 + 81 * 3);
        QCOMPARE(hub.outLog[1].size(), (140 - 81) * 3);
        QVERIFY(hub.outLog[1].endsWith(" 00 00 00 6D F7"));
    }

    void incomingStoresWhereAddressed_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("offset");
        QTest::newRow("tone 2 three bytes")
            << hex("F0 41 10 6A 12 03 00 12 05 01 02 03 60 F7") << 2 << 5;
        QTest::newRow("tone 3 whole") << dataSet("03001400", QByteArray(129, 0x11)) << 3 << 0;
        QTest::newRow("tone 4 last byte") << dataSet("03001700", hex("22")) << 4 << 128;
        QTest::newRow("broadcast device") << dataSet("0300000C", hex("07"), 0x7F) << 0 << 12;
    }
    void incomingStoresWhereAddressed()
    {
        QFETCH(QByteArray, message);
        QFETCH(int, slot);
        QFETCH(int, offset);
        const ParseResult r = receive(message);
        QVERIFY(r.stored());
        QCOMPARE(r.target, ParseResult::Target::Slot);
        QCOMPARE(r.slot, slot);
        QCOMPARE(r.offset, offset);
        QCOMPARE(r.count, message.size() - 11);
        for (int i = 0; i < r.count; ++i)
            QCOMPARE(state.patchImage.at(slot, offset + i), std::uint8_t(message[9 + i]));
        QVERIFY(hub.inLog.isEmpty());
    }

    void incomingRejections_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("parseLine");
        const auto row = [](const char *name, const QByteArray &m, const QString &reason) {
            QTest::newRow(name) << m << reason << reason + QLatin1Char(' ');
        };
        row("wrong checksum", hex("F0 41 10 6A 12 03 00 00 0C 05 6D F7"),
            "checksum 6D wrong, expected 6C");
        row("other model", hex("F0 41 10 6B 12 03 00 00 0C 05 6C F7"),
            "model 6B is not this synthesizer");
        row("other maker", hex("F0 43 10 6A 12 03 00 00 0C 05 6C F7"),
            "not a Roland message (maker 43)");
        row("other unit", hex("F0 41 11 6A 12 03 00 00 0C 05 6C F7"),
            "device 11 is not this unit (10)");
        row("request", hex("F0 41 10 6A 11 03 00 00 0C 05 6C F7"),
            "command 11 where 12 was expected");
        row("no F7", hex("F0 41 10 6A 12 03 00 00 0C 05 6C"),
            "not a complete System Exclusive message");
        row("too short", hex("F0 41 10 6A 12 03 00 F7"), "wrong length 8 for a Roland message");
        row("status byte", hex("F0 41 10 6A 12 03 00 00 0C 85 6C F7"),
            "status byte inside the message");
        row("147 bytes", dataSet("03001000", QByteArray(136, 0)),
            "message of 147 bytes is longer than 146");
        row("odd common block", dataSet("03000100", hex("05")), "block 01 names no patch block");
        row("block 18", dataSet("03001800", hex("05")), "block 18 names no patch block");
        row("past slot", dataSet("03001102", hex("05 06")), "2 bytes at offset 82 run past slot 1");
        row("user memory", dataSet("11000000", hex("05")), "area 11 is not kept");
        QTest::newRow("undefined area") << dataSet("12000000", hex("05")) << "undefined area 12"
                                        << "Undefined adrs[2] = 12 ";
        QTest::newRow("scale tune")
            << dataSet("00001000", hex("05 06")) << "scale tune data is not kept"
            << "st0005 st0106 ";
    }
    void incomingRejections()
    {
        QFETCH(QByteArray, message);
        QFETCH(QString, reason);
        QFETCH(QString, parseLine);
        state.LogMessages = true;
        const EditState before = state;
        const ParseResult r = receive(message);
        QVERIFY(!r.stored());
        QVERIFY(!r.stopNotification);
        QCOMPARE(r.reason, reason);
        QVERIFY(state.patchImage == before.patchImage);
        QVERIFY(state.SystemCommon == before.SystemCommon);
        QCOMPARE(hub.inLog.size(), 3);
        QCOMPARE(hub.inLog[0], parseLine);
    }

    // USER and CARD data sets go to the observers and nowhere else; what
    // the parse reports of them is unchanged.
    void memoryDataReachesObserversOnly_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("seen");
        QTest::newRow("USER tone 4, 129th byte")
            << dataSet("11051700", hex("05")) << QStringList{"11 05 17 00: 05"};
        QTest::newRow("CARD 128 common")
            << dataSet("217F0000", hex("41 42 43")) << QStringList{"21 7F 00 00: 41 42 43"};
        QTest::newRow("bad checksum")
            << hex("F0 41 10 6A 12 11 00 00 00 05 6B F7") << QStringList();
        QTest::newRow("temporary patch")
            << dataSet("03000000", hex("05")) << QStringList{"stored slot 0"};
    }
    void memoryDataReachesObserversOnly()
    {
        QFETCH(QByteArray, message);
        QFETCH(QStringList, seen);
        RecordingObserver observer;
        proto.addObserver(&observer);
        const EditState before = state;
        const bool stored = receive(message).stored();
        proto.removeObserver(&observer);
        QCOMPARE(observer.seen, seen);
        QCOMPARE(stored, message[5] == char(addr::AreaTempPatch));
        QCOMPARE(state.patchImage == before.patchImage, !stored);
    }

    // The bank transfers' messages are no edit: no lock, no modified flag,
    // no edit note, nothing remembered, and they go out under SendLock.
    void memoryMessagesLeaveTheEditAlone()
    {
        state.PlayNoteOn = true;
        state.SendLock = true;
        const std::uint8_t data[] = {1, 2, 3};
        QVERIFY(proto.RequestMemory(address("21050000"), {0x00, 0x00, 0x17, 0x01}));
        QVERIFY(proto.SendMemory(address("11071400"), data, 3));
        QVERIFY(!proto.SendMemory(address("03000000"), data, 3));
        state.MidiClosed = true;
        QVERIFY(!proto.RequestMemory(address("11000000"), {0x00, 0x00, 0x17, 0x01}));
        QCOMPARE(sender.sent,
                 (QList<QByteArray>{hex("F0 41 10 6A 11 21 05 00 00 00 00 17 01 42 F7"),
                                    hex("F0 41 10 6A 12 11 07 14 00 01 02 03 4E F7")}));
        QVERIFY(state.SendLock);
        QVERIFY(!state.PatchModified);
        QCOMPARE(hub.notes, 0);
        QVERIFY(!state.sentBytes.lastSent(address("11071400")));
        QVERIFY(info.messages.isEmpty());
    }

    void incomingLogLines()
    {
        state.LogMessages = true;
        receive(hex("F0 41 10 6A 12 03 00 00 0C 05 6C F7"));
        QCOMPARE(hub.inLog, (QStringList{"", "F0 41 10 6A 12 03 00 00 0C 05 6C F7 ", ""}));

        hub.inLog.clear();
        receive(dataSet("01000000", hex("00 01 02 03 04 05 06 07 08 09 0A 0B")));
        QCOMPARE(hub.inLog.size(), 4);
        QCOMPARE(hub.inLog[0], QStringLiteral("P100 00 P101 01 P102 02 P103 03 P104 04 "
                                              "P105 05 P106 06 P107 07 P108 08 P109 09 "));
        QCOMPARE(hub.inLog[1], QStringLiteral("P10A 0A P10B 0B "));

        hub.inLog.clear();
        receive(dataSet("03001000", QByteArray(129, 0)));
        QCOMPARE(hub.inLog.size(), 3);
        QCOMPARE(hub.inLog[1].size(), 85 * 3);
        QCOMPARE(hub.inLog[2].size(), (140 - 85) * 3);
    }

    void systemCommon()
    {
        state.LogMessages = true;
        ParseResult r = receive(dataSet("00000012", hex("05 06")));
        QVERIFY(r.stored());
        QCOMPARE(r.target, ParseResult::Target::System);
        QCOMPARE(r.offset, 0x12);
        QCOMPARE(state.SystemCommon[0x12], 5);
        QCOMPARE(state.SystemCommon[0x13], 6);
        QCOMPARE(hub.inLog.first(), QStringLiteral("sy1205 sy1306 "));

        // Running past the 40-byte block keeps what fits and ends the notification.
        r = receive(dataSet("00000026", hex("01 02 03 04")));
        QVERIFY(r.stored());
        QVERIFY(r.stopNotification);
        QCOMPARE(r.count, 2);
        QCOMPARE(state.SystemCommon[0x26], 1);
        QCOMPARE(state.SystemCommon[0x27], 2);
        QCOMPARE(r.reason, QStringLiteral("system common offset 28 is past its 40 bytes"));

        r = receive(dataSet("00000030", hex("01")));
        QVERIFY(!r.stored());
        QVERIFY(r.stopNotification);
    }

    void realDumps()
    {
        const QString dir = QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/");
        QFile xp(dir + "XP60_partial_replies.syx");
        QFile jv(dir + "JV1080_SuperJVPad_user023.syx");
        if (!xp.open(QIODevice::ReadOnly) || !jv.open(QIODevice::ReadOnly))
            QFAIL("reference dumps missing from tests/data/syx");

        QStringList results;
        for (const QByteArray &m : sysex::splitMessages(xp.readAll())) {
            const ParseResult r = receive(m);
            results << (r.stored() ? QStringLiteral("%1/%2").arg(r.slot).arg(r.count) : r.reason);
        }
        QCOMPARE(results, (QStringList{"0/12", "0/12", "area 11 is not kept", "-1/16"}));
        QCOMPARE(state.patchImage.name(), QByteArray("Childlike   "));
        QCOMPARE(state.SystemCommon[0x06], 0x3F);

        // A USER patch dump lands nowhere as it is; moved to the temporary
        // patch it fills all five blocks.
        const QList<QByteArray> patch = sysex::splitMessages(jv.readAll());
        QCOMPARE(patch.size(), 5);
        state.patchImage.Initialise();
        for (QByteArray m : patch) {
            QVERIFY(!receive(m).stored());
            m[5] = addr::AreaTempPatch;
            m[6] = 0;
            const auto *body = reinterpret_cast<const std::uint8_t *>(m.constData()) + 5;
            m[m.size() - 2] = char(sysex::checksum(body, int(m.size()) - 7));
            const ParseResult r = receive(m);
            QVERIFY(r.stored());
            const QByteArray data = m.mid(9, m.size() - 11);
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(state.patchImage.slotData(r.slot)),
                                data.size()),
                     data);
        }
        QCOMPARE(state.patchImage.name(), QByteArray("Super JV Pad"));
    }
};

QTEST_GUILESS_MAIN(TestSysexProtocol)
#include "tst_sysexprotocol.moc"
