// Which parameter changes leave as data sets: a value is skipped only when
// it equals that parameter's own current byte, never because some other
// control happened to send the same number last.

#include "core/editstate.h"
#include "core/loadscope.h"
#include "core/recordinginfosink.h"
#include "midi/midisender.h"
#include "midi/silenthublink.h"
#include "midi/sysexmessage.h"
#include "midi/sysexprotocol.h"

#include <QtTest>

namespace {

class CountingSender : public MidiSender
{
public:
    void SendShortMsg(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SendLongMsg(const std::uint8_t *buffer, int length) override
    {
        sent.append(QByteArray(reinterpret_cast<const char *>(buffer), length).toHex(' '));
    }
    QStringList sent;
};

} // namespace

class TestSendGuard : public QObject
{
    Q_OBJECT

    EditState state;
    RecordingInfoSink info;
    SilentHubLink hub;
    CountingSender sender;
    SysexProtocol protocol{state, info, hub};

    ParseResult receive(const char *address, const QByteArray &data)
    {
        const QByteArray body = QByteArray::fromHex(address) + data;
        QByteArray m = QByteArray::fromHex("F041106A12") + body;
        m += char(sysex::checksum(reinterpret_cast<const std::uint8_t *>(body.constData()),
                                  int(body.size())));
        m += char(0xF7);
        return protocol.parseIncoming(reinterpret_cast<const std::uint8_t *>(m.constData()),
                                      int(m.size()));
    }

private Q_SLOTS:
    void init()
    {
        state.reset();
        state.MidiClosed = false;
        protocol.setSender(&sender);
        sender.sent.clear();
    }

    void sendsWhatDiffersFromItsOwnByte_data()
    {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("imageByte");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("sent");

        const QByteArray patch("\x03\x00", 2);
        QTest::newRow("common level equal to its byte")
            << patch << 0x00 << 0x2E << 100 << 100 << false;
        QTest::newRow("common level differs") << patch << 0x00 << 0x2E << 100 << 101 << true;
        QTest::newRow("tone 3 cutoff equal") << patch << 0x14 << 0x4B << 7 << 7 << false;
        QTest::newRow("tone 3 cutoff differs") << patch << 0x14 << 0x4B << 7 << 0 << true;
        QTest::newRow("tone 4 last byte equal") << patch << 0x17 << 0x00 << 90 << 90 << false;
        QTest::newRow("perform part 6 equal")
            << QByteArray("\x02\x05", 2) << 0x10 << 0x21 << 5 << 5 << false;
    }

    void sendsWhatDiffersFromItsOwnByte()
    {
        QFETCH(QByteArray, prefix);
        QFETCH(int, block);
        QFETCH(int, offset);
        QFETCH(int, imageByte);
        QFETCH(int, value);
        QFETCH(bool, sent);

        state.EditPrefix = {std::uint8_t(prefix[0]), std::uint8_t(prefix[1])};
        const addr::Address a{state.EditPrefix[0], state.EditPrefix[1], std::uint8_t(block),
                              std::uint8_t(offset)};
        state.patchImage[PatchImage::Locate(a)->position()] = std::uint8_t(imageByte);
        // Another control's last value must not matter.
        state.LastSentValue = std::uint8_t(value);

        QCOMPARE(protocol.SendParameter(a, std::uint8_t(value)), sent);
        QCOMPARE(sender.sent.size(), sent ? 1 : 0);
        QCOMPARE(state.patchImage[PatchImage::Locate(a)->position()], std::uint8_t(value));
    }

    void anotherPatchIsNotTheImage()
    {
        // In Perform mode the image is part 1's patch; the same offset of
        // part 2 is not known, so it is sent.
        state.EditPrefix = {addr::AreaPerformancePart, 0};
        QVERIFY(protocol.SendParameter({0x02, 0x01, 0x00, 0x2E}, state.patchImage.common(0x2E)));
    }

    void areasOutsideTheImageRememberWhatWasSent()
    {
        const addr::Address chorus{addr::AreaTempPerformance, 0x00, 0x00, 0x0D};
        QVERIFY(protocol.SendParameter(chorus, 5));
        QVERIFY(!protocol.SendParameter(chorus, 5));
        QVERIFY(protocol.SendParameter({addr::AreaTempPerformance, 0x00, 0x00, 0x0E}, 5));
        QVERIFY(protocol.SendParameter(chorus, 6));
        QCOMPARE(sender.sent.size(), 3);

        // A multi-byte set counts for every byte, across the 7-bit carry.
        const std::uint8_t bytes[] = {1, 2, 3};
        protocol.SendDataSet({addr::AreaSystem, 0x00, 0x00, 0x7F}, bytes, 3);
        QVERIFY(!protocol.SendParameter({addr::AreaSystem, 0x00, 0x01, 0x01}, 3));
        QVERIFY(protocol.SendParameter({addr::AreaSystem, 0x00, 0x01, 0x01}, 4));
    }

    void bytesThatNeverLeftAreNotRemembered()
    {
        state.MidiClosed = true;
        const addr::Address a{addr::AreaSystem, 0x00, 0x00, 0x12};
        QVERIFY(protocol.SendParameter(a, 7));
        state.MidiClosed = false;
        QVERIFY(protocol.SendParameter(a, 7));
        QCOMPARE(sender.sent.size(), 1);
    }

    void performanceCommonStaysOutOfThePatch()
    {
        const PatchImage before = state.patchImage;
        // The answer to an effects request in Perform mode: 21 bytes from 0Dh.
        QByteArray effects;
        for (int i = 0; i < 21; ++i)
            effects += char(i + 1);
        const ParseResult r = receive("0100000D", effects);
        QCOMPARE(r.target, ParseResult::Target::Performance);
        QCOMPARE(r.count, 21);
        QVERIFY(state.patchImage == before);
        QCOMPARE(state.performance.common(0x0D), 1);
        QCOMPARE(state.performance.common(0x21), 21);

        // Sent bytes mirror there too, and the guard reads them.
        const addr::Address type{addr::AreaTempPerformance, 0, 0, 0x0D};
        QVERIFY(!protocol.SendParameter(type, 1));
        QVERIFY(protocol.SendParameter(type, 9));
        QCOMPARE(state.performance.common(0x0D), 9);
        QVERIFY(state.patchImage == before);

        // A run past the end of the common block has no home.
        QVERIFY(!receive("0100003F", QByteArray(2, 3)).stored());
        QCOMPARE(state.performance.common(0x3F), 0);
        QVERIFY(state.patchImage == before);
    }

    void nestedLoadsKeepTheLockUntilTheOuterEnds()
    {
        const addr::Address a{0x03, 0x00, 0x00, 0x2E};
        {
            LoadScope outer(state);
            {
                LoadScope inner(state);
            }
            QVERIFY(state.SendLock);
            QVERIFY(!protocol.SendParameter(a, 1));
        }
        QVERIFY(!state.SendLock);
        QVERIFY(protocol.SendParameter(a, 1));
        QCOMPARE(sender.sent.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSendGuard)
#include "tst_sendguard.moc"
