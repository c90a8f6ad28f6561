#include "core/editstate.h"
#include "core/patchimage.h"

#include <QTest>

class TestPatchImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initialContents()
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
        // The name and the group IDs of the four tones.
        QCOMPARE(nonZero, 12 + 4);
    }

    void locate_data()
    {
        QTest::addColumn<quint32>("address");
        QTest::addColumn<int>("position"); // -1: not part of the image
        const std::tuple<const char *, quint32, int> rows[] = {
            {"tone 1 offset 0x80", 0x03001100, 131 + 128},
            {"tone 1 first byte", 0x03001000, 131},
            {"perform part 4, tone 2", 0x02031205, 2 * 131 + 5},
            {"common", 0x0300000C, 0x0C},
            {"temp performance", 0x0100000D, 0x0D},
            {"tone 4 odd", 0x03001700, 4 * 131 + 128},
            {"user memory", 0x11050000, -1},
            {"card memory", 0x21001000, -1},
            {"system", 0x00000012, -1},
            {"odd block below 10", 0x03000300, -1},
            {"block 0F", 0x03000F00, -1},
            {"block 18", 0x03001800, -1}};
        for (const auto &[name, address, position] : rows)
            QTest::newRow(name) << address << position;
    }

    void locate()
    {
        QFETCH(quint32, address);
        QFETCH(int, position);
        const addr::Address a{std::uint8_t(address >> 24), std::uint8_t(address >> 16),
                              std::uint8_t(address >> 8), std::uint8_t(address)};
        const auto place = PatchImage::Locate(a);
        QCOMPARE(place.has_value(), position >= 0);
        if (place)
            QCOMPARE(place->position(), position);
    }

    void toneAddress()
    {
        EditState st;
        QCOMPARE(st.toneAddress(1, 0x80), (addr::Address{0x03, 0x00, 0x11, 0x00}));
        QCOMPARE(st.toneAddress(4, 0x7D), (addr::Address{0x03, 0x00, 0x16, 0x7D}));
        st.EditPrefix = {0x02, 0x03};
        QCOMPARE(st.commonAddress(0x2C), (addr::Address{0x02, 0x03, 0x00, 0x2C}));
        QCOMPARE(addr::sizeBytes(0x81), (addr::Size{0, 0, 0x01, 0x01}));
        QCOMPARE(addr::sizeBytes(0x48), (addr::Size{0, 0, 0, 0x48}));
    }
};

QTEST_GUILESS_MAIN(TestPatchImage)
#include "tst_patchimage.moc"
