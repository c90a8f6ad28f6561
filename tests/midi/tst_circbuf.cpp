#include "midi/circbuf.h"

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
