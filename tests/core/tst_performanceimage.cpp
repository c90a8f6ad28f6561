// The performance and rhythm buffers: the voice reserve rule, where raw
// bytes sit, and which address prefix each editing mode uses.

#include "core/editstate.h"
#include "core/performanceimage.h"
#include "core/rhythmimage.h"

#include <QtTest>

class TestPerformanceImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void voiceReserveStaysWithinTheUnit_data()
    {
        QTest::addColumn<QList<int>>("reserves"); // parts 1..n, the rest 0
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("sum");
        QTest::addColumn<int>("max");

        QTest::newRow("nothing reserved") << QList<int>{} << 1 << 0 << 64;
        QTest::newRow("others leave the rest") << QList<int>{10, 20, 4} << 5 << 34 << 30;
        QTest::newRow("own share counts as free") << QList<int>{10, 20, 4} << 2 << 34 << 50;
        QTest::newRow("full: only the own share") << QList<int>{32, 32} << 2 << 64 << 32;
        QTest::newRow("part 16, the last byte") << QList<int>(15, 4) << 16 << 60 << 4;
        // Data from elsewhere may break the rule; nothing may be added then.
        QTest::newRow("over the limit already") << QList<int>{64, 64} << 3 << 128 << 0;
    }

    void voiceReserveStaysWithinTheUnit()
    {
        QFETCH(QList<int>, reserves);
        QFETCH(int, part);
        QFETCH(int, sum);
        QFETCH(int, max);

        PerformanceImage p;
        for (int i = 0; i < reserves.size(); ++i)
            p.setCommon(addr::performance::VoiceReserve1 + i, std::uint8_t(reserves[i]));
        QCOMPARE(p.voiceReserveSum(), sum);
        QCOMPARE(p.maxVoiceReserve(part), max);
    }

    void addressesFindTheirBytes_data()
    {
        QTest::addColumn<int>("buffer"); // 0 performance, 1 rhythm
        QTest::addColumn<QByteArray>("adrs");
        QTest::addColumn<int>("position"); // -1: not held

        QTest::newRow("performance name") << 0 << QByteArray("01000000") << 0;
        QTest::newRow("last voice reserve") << 0 << QByteArray("0100003F") << 63;
        QTest::newRow("part 1 first byte") << 0 << QByteArray("01001000") << 64;
        QTest::newRow("part 16 last byte") << 0 << QByteArray("01001F12") << 367;
        QTest::newRow("a USER performance is not the temporary one")
            << 0 << QByteArray("10001000") << -1;
        QTest::newRow("past a part") << 0 << QByteArray("01001013") << -1;
        QTest::newRow("rhythm name end") << 1 << QByteArray("0209000B") << 11;
        QTest::newRow("key 35") << 1 << QByteArray("02092300") << 12;
        QTest::newRow("key 98 last byte") << 1 << QByteArray("02096239") << 3723;
        QTest::newRow("part 9 is a patch") << 1 << QByteArray("02080000") << -1;
        QTest::newRow("past the rhythm name") << 1 << QByteArray("0209000C") << -1;
    }

    void addressesFindTheirBytes()
    {
        QFETCH(int, buffer);
        QFETCH(QByteArray, adrs);
        QFETCH(int, position);

        const QByteArray b = QByteArray::fromHex(adrs);
        const addr::Address a{std::uint8_t(b[0]), std::uint8_t(b[1]), std::uint8_t(b[2]),
                              std::uint8_t(b[3])};
        const std::optional<int> found =
            buffer == 0 ? PerformanceImage::Locate(a) : RhythmImage::Locate(a);
        QCOMPARE(found.value_or(-1), position);
    }

    void editModesSetThePrefix_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("part");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("prefix"); // both bytes, after the call
        QTest::addColumn<int>("shownMode");

        const int patch = int(EditMode::Patch);
        const int perform = int(EditMode::Perform);
        const int rhythm = int(EditMode::Rhythm);
        QTest::newRow("patch") << patch << 1 << true << 0x0300 << patch;
        QTest::newRow("part 1") << perform << 1 << true << 0x0200 << perform;
        QTest::newRow("part 9") << perform << 9 << true << 0x0208 << perform;
        QTest::newRow("part 11") << perform << 11 << true << 0x020A << perform;
        QTest::newRow("part 16") << perform << 16 << true << 0x020F << perform;
        QTest::newRow("rhythm is part 10") << rhythm << 1 << true << 0x0209 << rhythm;
        // Refused: the prefix stays on part 4, set before.
        QTest::newRow("part 10 is not a patch") << perform << 10 << false << 0x0203 << perform;
        QTest::newRow("no part 0") << perform << 0 << false << 0x0203 << perform;
        QTest::newRow("no part 17") << perform << 17 << false << 0x0203 << perform;
    }

    void editModesSetThePrefix()
    {
        QFETCH(int, mode);
        QFETCH(int, part);
        QFETCH(bool, accepted);
        QFETCH(int, prefix);
        QFETCH(int, shownMode);

        EditState state;
        QVERIFY(state.setEditMode(EditMode::Perform, 4));
        QCOMPARE(state.setEditMode(EditMode(mode), part), accepted);
        QCOMPARE(state.EditPrefix[0] << 8 | state.EditPrefix[1], prefix);
        QCOMPARE(int(state.editMode()), shownMode);
        // Rhythm mode plays part 10: the channel for notes is its index 9.
        if (EditMode(shownMode) == EditMode::Rhythm)
            QCOMPARE(state.currentPart(), 9);
        QCOMPARE(state.inPerformMode(), EditMode(shownMode) != EditMode::Patch);
    }

    void knownBytesFollowWrites()
    {
        RhythmImage r;
        QVERIFY(!r.known(RhythmImage::notePosition(40, 3)));
        r.setNote(40, 3, 9);
        QVERIFY(r.known(RhythmImage::notePosition(40, 3)));
        QVERIFY(!r.known(RhythmImage::notePosition(40, 4)));
        r.Initialise();
        QVERIFY(!r.known(RhythmImage::notePosition(40, 3)));
        QCOMPARE(r.note(40, 3), 0);
    }
};

QTEST_GUILESS_MAIN(TestPerformanceImage)
#include "tst_performanceimage.moc"
