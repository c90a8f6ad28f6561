#include "core/editstate.h"
#include "core/patchimage.h"

#include <QTest>

class TestPatchImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initialContents_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        const std::tuple<const char *, int, int, int> rows[] = {
            {"tempo 120 high", 0, 0x2C, 7},   {"tempo 120 low", 0, 0x2D, 8},
            {"patch level", 0, 0x2E, 127},    {"pan centre", 0, 0x2F, 64},
            {"octave 0", 0, 0x41, 3},         {"structure 1", 0, 0x44, 0},
            {"effect depth 0", 0, 0x1E, 63},  {"equaliser flat", 0, 0x10, 15},
            {"tone 1 on", 1, 0x00, 1},        {"tone 2 off", 2, 0x00, 0},
            {"tone 4 Int-A", 4, 0x02, 1},     {"tone 3 wave 1", 3, 0x04, 0},
            {"velocity from 1", 2, 0x0C, 1},  {"velocity to 127", 2, 0x0D, 127},
            {"keys to G9", 3, 0x0F, 127},     {"tone level", 4, 0x65, 127},
            {"tone pan centre", 1, 0x77, 64}, {"controller depth 0", 1, 0x2C, 63},
            {"coarse tune 0", 2, 0x3D, 48},   {"reverb send", 4, 0x80, 0},
            {"past the common", 0, 0x48, 0},  {"past a tone", 2, 0x81, 0},
        };
        for (const auto &[name, slot, offset, value] : rows)
            QTest::newRow(name) << slot << offset << value;
    }

    void initialContents()
    {
        QFETCH(int, slot);
        QFETCH(int, offset);
        QFETCH(int, value);
        PatchImage img;
        img.set(slot, offset, 0x55);
        img.Initialise();
        QCOMPARE(img.name(), QByteArray("InitPatch   "));
        QCOMPARE(int(img.at(slot, offset)), value);
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
