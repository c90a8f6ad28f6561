#include "midi/circbuf.h"

#include <QTest>
#include <cstdint>
#include <thread>

class TestCircbuf : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void wrapsAroundAndRefusesWhenFull();
    void twoThreadsLoseNothingButCountedDrops();
};

void TestCircbuf::wrapsAroundAndRefusesWhenFull()
{
    Circbuf<int> ring(3);
    int next = 0, expected = 0, item = -1;
    // Two in, one or two out: both positions pass the end many times.
    for (int round = 0; round < 10; ++round) {
        QVERIFY(ring.push(next++));
        QVERIFY(ring.push(next++));
        for (int i = 0; i < (round == 0 ? 1 : 2); ++i) {
            QVERIFY(ring.pop(item));
            QCOMPARE(item, expected++);
        }
    }
    QVERIFY(ring.push(next++));
    QVERIFY(ring.push(next++));
    QVERIFY(!ring.hasRoom());
    QVERIFY(!ring.push(99));
    while (ring.pop(item))
        QCOMPARE(item, expected++);
    QCOMPARE(expected, next);
    QCOMPARE(ring.count(), std::size_t(0));

    Circbuf<int> empty(0);
    QVERIFY(!empty.push(1));
    QVERIFY(!empty.pop(item));
}

// The producer runs flat out and counts what it could not store; the
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
    for (std::uint32_t value = 0; !done.load() || ring.count() > 0;) {
        if (ring.pop(value)) {
            ordered = ordered && std::int64_t(value) > last;
            last = value;
            ++received;
        }
    }
    producer.join();
    QVERIFY(ordered);
    QCOMPARE(received + dropped, std::uint64_t(Total));
    QVERIFY(received >= 64);
}

QTEST_GUILESS_MAIN(TestCircbuf)
#include "tst_circbuf.moc"
