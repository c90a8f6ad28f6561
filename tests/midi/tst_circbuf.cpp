#include "midi/circbuf.h"
#include "midi/sysexpool.h"

#include <QTest>
#include <cstdint>
#include <thread>
#include <vector>

class TestCircbuf : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keepsOrderAcrossWrapAround();
    void refusesWhenFullAndRecovers();
    void sysexBuffersRecycle();
    void sysexRefusesTooLongAndExhausted();
    void twoThreadsLoseNothingButCountedDrops();
};

void TestCircbuf::keepsOrderAcrossWrapAround()
{
    Circbuf<int> ring(3);
    int next = 0;
    int expected = 0;
    // Uneven push/pop rounds move both positions past the end many times.
    for (int round = 0; round < 10; ++round) {
        for (int i = 0; i < 2; ++i)
            QVERIFY(ring.push(next++));
        QCOMPARE(ring.count(), std::size_t(round == 0 ? 2 : 3));
        int item = -1;
        QVERIFY(ring.pop(item));
        QCOMPARE(item, expected++);
        if (round > 0) {
            QVERIFY(ring.pop(item));
            QCOMPARE(item, expected++);
        }
    }
    int item = -1;
    while (ring.pop(item))
        QCOMPARE(item, expected++);
    QCOMPARE(expected, next);
    QCOMPARE(ring.count(), std::size_t(0));
}

void TestCircbuf::refusesWhenFullAndRecovers()
{
    Circbuf<int> ring(2);
    QVERIFY(ring.push(1));
    QVERIFY(ring.push(2));
    QVERIFY(!ring.hasRoom());
    QVERIFY(!ring.push(3));
    int item = 0;
    QVERIFY(ring.pop(item));
    QCOMPARE(item, 1);
    QVERIFY(ring.push(4));
    QVERIFY(ring.pop(item));
    QCOMPARE(item, 2);
    QVERIFY(ring.pop(item));
    QCOMPARE(item, 4);
    QVERIFY(!ring.pop(item));

    Circbuf<int> empty(0);
    QVERIFY(!empty.push(1));
    QVERIFY(!empty.pop(item));
}

void TestCircbuf::sysexBuffersRecycle()
{
    SysexPool pool(2, 4);
    const std::uint8_t a[] = {0xF0, 0x41, 0xF7};
    const std::uint8_t b[] = {0xF0, 0x10, 0x20, 0xF7};
    const int first = pool.store(a, sizeof a);
    const int second = pool.store(b, sizeof b);
    QVERIFY(first >= 0 && second >= 0 && first != second);
    QCOMPARE(pool.length(first), sizeof a);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(pool.data(second)), 4),
             QByteArray::fromHex("f01020f7"));
    // Each released buffer is taken again, and carries the new bytes only.
    for (int round = 0; round < 5; ++round) {
        pool.release(first);
        const int again = pool.store(b, 2);
        QCOMPARE(again, first);
        QCOMPARE(pool.length(again), std::size_t(2));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(pool.data(again)), 2),
                 QByteArray::fromHex("f010"));
        pool.release(again);
        QVERIFY(pool.store(a, sizeof a) == first);
    }
    pool.release(second);
    const int zero = pool.store(nullptr, 0);
    QCOMPARE(zero, second);
    QCOMPARE(pool.length(zero), std::size_t(0));
}

void TestCircbuf::sysexRefusesTooLongAndExhausted()
{
    SysexPool pool(1, 3);
    const std::uint8_t four[] = {0xF0, 1, 2, 0xF7};
    QCOMPARE(pool.store(four, sizeof four), -1);
    const int slot = pool.store(four, 3);
    QVERIFY(slot >= 0);
    QCOMPARE(pool.store(four, 1), -1);
    pool.release(slot);
    QCOMPARE(pool.store(four, 1), slot);

    SysexPool none(0, 0);
    QCOMPARE(none.store(four, 0), -1);
}

// The producer runs flat out; whatever it could not store it counts. The
// consumer must see every stored value exactly once, in order.
void TestCircbuf::twoThreadsLoseNothingButCountedDrops()
{
    constexpr std::uint32_t Total = 2'000'000;
    Circbuf<std::uint32_t> ring(64);
    std::uint64_t dropped = 0;
    std::atomic<bool> done{false};
    std::thread producer([&] {
        for (std::uint32_t i = 0; i < Total; ++i)
            if (!ring.push(i))
                ++dropped;
        done.store(true);
    });
    std::uint64_t received = 0;
    std::int64_t last = -1;
    bool ordered = true;
    for (;;) {
        std::uint32_t value = 0;
        if (ring.pop(value)) {
            ordered = ordered && std::int64_t(value) > last;
            last = value;
            ++received;
        } else if (done.load() && ring.count() == 0) {
            break;
        }
    }
    producer.join();
    QVERIFY(ordered);
    QCOMPARE(received + dropped, std::uint64_t(Total));
    QVERIFY(received >= 64);
}

QTEST_GUILESS_MAIN(TestCircbuf)
#include "tst_circbuf.moc"
