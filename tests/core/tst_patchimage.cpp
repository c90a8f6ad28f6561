#include "core/editstate.h"
#include "core/patchimage.h"

#include <QTest>

class TestPatchImage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initialContents();
    void locate_data();
    void locate();
    void toneAddress();
};

void TestPatchImage::initialContents()
{
    PatchImage img;
    QCOMPARE(img.name(), QByteArray("InitPatch   "));
    for (int t = 1; t <= 4; ++t) {
        QCOMPARE(img.tone(t, addr::tone::Switch), 0);
        QCOMPARE(img.tone(t, addr::tone::WaveGroupType), 0);
        QCOMPARE(img.tone(t, addr::tone::WaveGroupId), 1);
        QCOMPARE(img.waveNumber(t), 0);
    }
    int nonZero = 0;
    for (int i = 0; i < addr::ImageSize; ++i)
        nonZero += img[i] != 0;
    // The name and the group IDs of the four tones (the common slot's byte 2
    // is part of the name).
    QCOMPARE(nonZero, 12 + 4);
}

void TestPatchImage::locate_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("position");
    auto a = [](int x, int y, int z, int w) {
        QByteArray b(4, 0);
        b[0] = char(x);
        b[1] = char(y);
        b[2] = char(z);
        b[3] = char(w);
        return b;
    };
    QTest::newRow("tone 1 last byte") << a(0x03, 0, 0x11, 0) << true << 131 + 128;
    QTest::newRow("tone 1 first byte") << a(0x03, 0, 0x10, 0) << true << 131;
    QTest::newRow("perform part 4, tone 2") << a(0x02, 0x03, 0x12, 0x05) << true << 2 * 131 + 5;
    QTest::newRow("tone 2 third byte") << a(0x03, 0, 0x12, 0x05) << true << 2 * 131 + 5;
    QTest::newRow("common") << a(0x03, 0, 0x00, 0x0C) << true << 0x0C;
    QTest::newRow("temp performance") << a(0x01, 0, 0x00, 0x0D) << true << 0x0D;
    QTest::newRow("tone 4 odd") << a(0x03, 0, 0x17, 0) << true << 4 * 131 + 128;
    QTest::newRow("user memory") << a(0x11, 0x05, 0, 0) << false << 0;
    QTest::newRow("card memory") << a(0x21, 0, 0x10, 0) << false << 0;
    QTest::newRow("system") << a(0x00, 0, 0, 0x12) << false << 0;
    QTest::newRow("odd block below 10") << a(0x03, 0, 0x03, 0) << false << 0;
    QTest::newRow("block 0A") << a(0x03, 0, 0x0A, 0) << false << 0;
    QTest::newRow("block 0F") << a(0x03, 0, 0x0F, 0) << false << 0;
    QTest::newRow("block 18") << a(0x03, 0, 0x18, 0) << false << 0;
}

void TestPatchImage::locate()
{
    QFETCH(QByteArray, address);
    QFETCH(bool, found);
    QFETCH(int, position);
    addr::Address a{std::uint8_t(address[0]), std::uint8_t(address[1]), std::uint8_t(address[2]),
                    std::uint8_t(address[3])};
    const auto place = PatchImage::Locate(a);
    QCOMPARE(place.has_value(), found);
    if (found)
        QCOMPARE(place->position(), position);
}

void TestPatchImage::toneAddress()
{
    EditState st;
    QCOMPARE(st.toneAddress(1, 0x80), (addr::Address{0x03, 0x00, 0x11, 0x00}));
    QCOMPARE(st.toneAddress(4, 0x7D), (addr::Address{0x03, 0x00, 0x16, 0x7D}));
    st.EditPrefix = {0x02, 0x03};
    QCOMPARE(st.commonAddress(0x2C), (addr::Address{0x02, 0x03, 0x00, 0x2C}));
    QCOMPARE(addr::sizeBytes(0x81), (addr::Size{0, 0, 0x01, 0x01}));
    QCOMPARE(addr::sizeBytes(0x48), (addr::Size{0, 0, 0, 0x48}));
}

QTEST_GUILESS_MAIN(TestPatchImage)
#include "tst_patchimage.moc"
