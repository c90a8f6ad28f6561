// Cutting a raw byte stream into System Exclusive messages, as tessiva-cli
// sim reads its standard input.

#include "sim/sysexstream.h"
#include "simtesthelpers.h"

#include <QTest>

class TestSysexStream : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cutsMessages_data();
    void cutsMessages();
    void piecesOfAnySize();
};

void TestSysexStream::cutsMessages_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArray>("messages"); // joined by '|'
    QTest::addColumn<int>("dropped");
    QTest::newRow("one") << hex("F0 41 10 F7") << hex("F0 41 10 F7") << 0;
    QTest::newRow("short messages around")
        << hex("90 3C 64 F0 01 F7 C0 05") << hex("F0 01 F7") << 0;
    QTest::newRow("real-time inside is skipped")
        << hex("F0 01 F8 02 FE F7") << hex("F0 01 02 F7") << 0;
    QTest::newRow("status cuts it short") << hex("F0 01 90 F0 02 F7") << hex("F0 02 F7") << 1;
    QTest::newRow("new start cuts it short") << hex("F0 01 F0 03 F7") << hex("F0 03 F7") << 1;
    QTest::newRow("stray end") << hex("F7 F0 04 F7 F7") << hex("F0 04 F7") << 0;
    QTest::newRow("unfinished at the end") << hex("F0 05 F7 F0 06") << hex("F0 05 F7") << 0;
    QTest::newRow("too long") << hex("F0 01 02 03 04 05 F7 F0 01 F7") << hex("F0 01 F7") << 1;
}

void TestSysexStream::cutsMessages()
{
    QFETCH(QByteArray, stream);
    QFETCH(QByteArray, messages);
    QFETCH(int, dropped);
    SysexStream s(6);
    QCOMPARE(s.feed(stream.constData(), stream.size()).join(), messages);
    QCOMPARE(s.dropped(), dropped);
}

void TestSysexStream::piecesOfAnySize()
{
    const QByteArray stream = hex("F0 41 10 6A 11 03 00 00 00 00 00 00 0C 71 F7 90 3C 64 F0 01 F7");
    for (int piece = 1; piece <= 4; ++piece) {
        SysexStream s;
        QList<QByteArray> got;
        for (qsizetype i = 0; i < stream.size(); i += piece)
            got += s.feed(stream.constData() + i, std::min<qsizetype>(piece, stream.size() - i));
        QCOMPARE(got, (QList<QByteArray>{stream.left(15), hex("F0 01 F7")}));
    }
}

QTEST_GUILESS_MAIN(TestSysexStream)
#include "tst_sysexstream.moc"
