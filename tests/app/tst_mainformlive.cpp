// The main window driven by keys and mouse against the virtual synthesizer
// through the real hub and ports: after a series of edits the unit's
// temporary patch and the editor's image are the same bytes, and the first
// image sends nothing the synthesizer could not hold.

#include "transferrig.h"

#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "midi/sysexmessage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <span>

namespace {
// Stored range of every patch byte, from the JV-1080 parameter map: first
// and last offset of a run of like bytes, lowest and highest value.
struct Range
{
    int first, last, lo, hi;
};

constexpr Range CommonRanges[] = {
    {0x00, 0x0B, 0x20, 0x7D}, {0x0C, 0x0C, 0, 39},  {0x0D, 0x18, 0, 127}, {0x19, 0x19, 0, 2},
    {0x1A, 0x1C, 0, 127},     {0x1D, 0x1D, 0, 10},  {0x1E, 0x1E, 0, 126}, {0x1F, 0x1F, 0, 10},
    {0x20, 0x20, 0, 126},     {0x21, 0x25, 0, 127}, {0x26, 0x26, 0, 2},   {0x27, 0x27, 0, 7},
    {0x28, 0x29, 0, 127},     {0x2A, 0x2A, 0, 17},  {0x2B, 0x2B, 0, 127}, {0x2C, 0x2D, 0, 15},
    {0x2E, 0x30, 0, 127},     {0x31, 0x31, 0, 12},  {0x32, 0x32, 0, 48},  {0x33, 0x38, 0, 1},
    {0x39, 0x39, 0, 127},     {0x3A, 0x3B, 0, 15},  {0x3C, 0x3F, 0, 2},   {0x40, 0x40, 0, 1},
    {0x41, 0x41, 0, 6},       {0x42, 0x42, 0, 3},   {0x43, 0x43, 0, 1},   {0x44, 0x44, 0, 9},
    {0x45, 0x45, 0, 3},       {0x46, 0x46, 0, 9},   {0x47, 0x47, 0, 3},
};

// Controller destinations and depths (0x15..0x2C) alternate; see rangeOf.
constexpr Range ToneRanges[] = {
    {0x00, 0x00, 0, 1},   {0x01, 0x01, 0, 2},   {0x02, 0x02, 1, 127}, {0x03, 0x04, 0, 15},
    {0x05, 0x05, 0, 3},   {0x06, 0x06, 0, 1},   {0x07, 0x07, 0, 3},   {0x08, 0x08, 0, 15},
    {0x09, 0x09, 0, 6},   {0x0A, 0x0B, 0, 127}, {0x0C, 0x0D, 1, 127}, {0x0E, 0x0F, 0, 127},
    {0x10, 0x13, 0, 1},   {0x14, 0x14, 0, 2},   {0x2D, 0x2D, 0, 7},   {0x2E, 0x2E, 0, 1},
    {0x2F, 0x2F, 0, 127}, {0x30, 0x30, 0, 4},   {0x31, 0x31, 0, 127}, {0x32, 0x32, 0, 3},
    {0x33, 0x33, 0, 127}, {0x34, 0x34, 0, 2},   {0x35, 0x35, 0, 7},   {0x36, 0x36, 0, 1},
    {0x37, 0x37, 0, 127}, {0x38, 0x38, 0, 4},   {0x39, 0x39, 0, 127}, {0x3A, 0x3A, 0, 3},
    {0x3B, 0x3B, 0, 127}, {0x3C, 0x3C, 0, 2},   {0x3D, 0x3D, 0, 96},  {0x3E, 0x3E, 0, 100},
    {0x3F, 0x3F, 0, 30},  {0x40, 0x40, 0, 15},  {0x41, 0x41, 0, 24},  {0x42, 0x42, 0, 125},
    {0x43, 0x45, 0, 14},  {0x46, 0x49, 0, 127}, {0x4A, 0x4F, 0, 126}, {0x50, 0x50, 0, 4},
    {0x51, 0x51, 0, 127}, {0x52, 0x52, 0, 15},  {0x53, 0x53, 0, 127}, {0x54, 0x54, 0, 125},
    {0x55, 0x55, 0, 126}, {0x56, 0x56, 0, 6},   {0x57, 0x57, 0, 125}, {0x58, 0x5A, 0, 14},
    {0x5B, 0x62, 0, 127}, {0x63, 0x64, 0, 126}, {0x65, 0x65, 0, 127}, {0x66, 0x66, 0, 3},
    {0x67, 0x67, 0, 127}, {0x68, 0x68, 0, 14},  {0x69, 0x69, 0, 6},   {0x6A, 0x6A, 0, 125},
    {0x6B, 0x6D, 0, 14},  {0x6E, 0x74, 0, 127}, {0x75, 0x76, 0, 126}, {0x77, 0x77, 0, 127},
    {0x78, 0x78, 0, 14},  {0x79, 0x79, 0, 63},  {0x7A, 0x7A, 1, 127}, {0x7B, 0x7C, 0, 126},
    {0x7D, 0x7D, 0, 3},   {0x7E, 0x80, 0, 127},
};
constexpr int FirstController = 0x15;
constexpr int LastController = 0x2C;

// Lowest and highest value of byte offset of block k (0 common, 1..4 tones);
// lowest above highest for a byte the tables do not name.
std::pair<int, int> rangeOf(int k, int offset)
{
    if (k > 0 && offset >= FirstController && offset <= LastController)
        return (offset - FirstController) % 2 == 0 ? std::pair{0, 18} : std::pair{0, 126};
    for (const Range &r : k == 0 ? std::span<const Range>(CommonRanges) : ToneRanges)
        if (offset >= r.first && offset <= r.last)
            return {r.lo, r.hi};
    return {1, 0};
}
} // namespace

class TestMainFormLive : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { rig.reset(); }
    void editsReachTheUnit();
    void editsWhileClosedStayInTheImageOnly();
    void sameValueAsAnotherEditReachesTheUnit_data();
    void sameValueAsAnotherEditReachesTheUnit();
    void firstImageSendsOnlyInRangeBytes();

private:
    void press(const char *name, Qt::Key key, int times = 1);
    void compareWithUnit();
    std::unique_ptr<TransferRig> rig;
};

void TestMainFormLive::init()
{
    rig = std::make_unique<TransferRig>();
    QVERIFY(rig->openMidi());
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->form));
    // Start from what the unit holds, as a musician would.
    QTest::mouseClick(rig->child<QPushButton>("BGetPatch"), Qt::LeftButton);
    QTRY_VERIFY(!rig->state.SendLock);
    rig->info.messages.clear();
}

void TestMainFormLive::press(const char *name, Qt::Key key, int times)
{
    QWidget *w = rig->form.findChild<QWidget *>(QLatin1String(name));
    QVERIFY2(w, name);
    w->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(w, key);
}

void TestMainFormLive::compareWithUnit()
{
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->unitBlock(k).toHex(' '), rig->imageBlock(k).toHex(' '));
}

void TestMainFormLive::editsReachTheUnit()
{
    const PatchImage fetched = rig->state.patchImage;

    auto *name = rig->child<QLineEdit>("EPtchName");
    QVERIFY(name);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Live Bass"));
    QTest::keyClick(name, Qt::Key_Return);

    press("SlLevel", Qt::Key_Down, 3);
    press("SlPPan", Qt::Key_Up, 5);
    press("SlChorus", Qt::Key_PageUp);
    press("SlReverb", Qt::Key_End);
    press("SlAnaFeel", Qt::Key_Up, 2);
    press("SpDefTempo", Qt::Key_Up, 4);
    press("SpOctaveS", Qt::Key_Down);
    press("CbVoiceP", Qt::Key_Down);
    press("ChkTone1", Qt::Key_Space);
    press("ChkTone3", Qt::Key_Space);
    press("SpcWaveT1", Qt::Key_Up, 7);
    press("SpcWaveT3", Qt::Key_PageUp);
    press("CbOutput2", Qt::Key_Down);
    press("SpLevOut4", Qt::Key_Down, 6);

    QVERIFY(rig->info.messages.isEmpty());
    QVERIFY(rig->state.PatchModified);
    QVERIFY(!(rig->state.patchImage == fetched));
    QCOMPARE(rig->state.patchImage.name(), QByteArray("Live Bass   "));
    compareWithUnit();

    // A fetch after the edits brings back exactly what was edited.
    const PatchImage edited = rig->state.patchImage;
    rig->state.patchImage.Initialise();
    QTest::mouseClick(rig->child<QPushButton>("BGetPatch"), Qt::LeftButton);
    QTRY_VERIFY(!rig->state.SendLock);
    QVERIFY(rig->state.patchImage == edited);
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text().trimmed(), QStringLiteral("Live Bass"));
}

void TestMainFormLive::editsWhileClosedStayInTheImageOnly()
{
    rig->hub->closeMidi();
    const QByteArray before = rig->unitBlock(0);
    press("SlLevel", Qt::Key_Down);
    QCOMPARE(rig->info.messages, QStringList{QStringLiteral("Midi Closed")});
    QCOMPARE(rig->unitBlock(0), before);
    QVERIFY(rig->imageBlock(0) != before);
}

void TestMainFormLive::sameValueAsAnotherEditReachesTheUnit_data()
{
    QTest::addColumn<QString>("first"); // control whose key sends a value first
    QTest::addColumn<int>("firstKey");
    QTest::addColumn<QString>("second"); // control whose key then sends the same value
    QTest::addColumn<int>("secondKey");
    QTest::addColumn<int>("slot"); // where the second control's byte lives
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");

    // The unit starts neutral: levels 127, chorus and reverb 64, pan centre,
    // octave 0, tone 1 alone on, outputs MIX.
    QTest::newRow("reverb after chorus")
        << "SlChorus" << int(Qt::Key_Up) << "SlReverb" << int(Qt::Key_Up) << 0 << 0x28 << 65;
    QTest::newRow("pan after chorus")
        << "SlChorus" << int(Qt::Key_Up) << "SlPPan" << int(Qt::Key_Up) << 0 << 0x2F << 65;
    QTest::newRow("tone level after patch level")
        << "SlLevel" << int(Qt::Key_Down) << "SpLevOut2" << int(Qt::Key_Down) << 2 << 0x7E << 126;
    QTest::newRow("analog feel after tone switch")
        << "ChkTone3" << int(Qt::Key_Space) << "SlAnaFeel" << int(Qt::Key_Up) << 0 << 0x30 << 1;
    QTest::newRow("output after tone switch")
        << "ChkTone2" << int(Qt::Key_Space) << "CbOutput4" << int(Qt::Key_Down) << 4 << 0x7D << 1;
    QTest::newRow("priority after tone switch")
        << "ChkTone4" << int(Qt::Key_Space) << "CbVoiceP" << int(Qt::Key_Down) << 0 << 0x43 << 1;
    QTest::newRow("octave after stretch")
        << "SpTretchT" << int(Qt::Key_PageUp) << "SpOctaveS" << int(Qt::Key_Up) << 0 << 0x41 << 4;
}

// What the screen shows after an edit is what the synthesizer holds, also
// when the value is the one some other control sent just before.
void TestMainFormLive::sameValueAsAnotherEditReachesTheUnit()
{
    QFETCH(QString, first);
    QFETCH(int, firstKey);
    QFETCH(QString, second);
    QFETCH(int, secondKey);
    QFETCH(int, slot);
    QFETCH(int, offset);
    QFETCH(int, stored);

    // Start from the neutral patch on both sides.
    rig->state.patchImage.Initialise();
    rig->form.B_UpdateAllClick();
    QTest::mouseClick(rig->child<QPushButton>("BSendPatch"), Qt::LeftButton);
    rig->engine().waitIdle();

    press(first.toLatin1().constData(), Qt::Key(firstKey));
    press(second.toLatin1().constData(), Qt::Key(secondKey));
    QCOMPARE(int(rig->state.LastSentValue), stored);
    QCOMPARE(int(rig->state.patchImage.at(slot, offset)), stored);

    QTest::mouseClick(rig->child<QPushButton>("BGetPatch"), Qt::LeftButton);
    QTRY_VERIFY(!rig->state.SendLock);
    QCOMPARE(int(quint8(rig->unitBlock(slot).at(offset))), stored);
    QCOMPARE(int(rig->state.patchImage.at(slot, offset)), stored);
    compareWithUnit();
    QVERIFY(rig->info.messages.isEmpty());
}

// Every byte of the image the program starts with lies inside its
// parameter's range, so a Send Patch right after start gives the unit a
// patch it can hold; the unit powers up with the same neutral patch.
void TestMainFormLive::firstImageSendsOnlyInRangeBytes()
{
    TransferRig fresh;
    QVERIFY(fresh.openMidi());
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(fresh.imageBlock(k).toHex(' '), fresh.unitBlock(k).toHex(' '));
    const qsizetype before = fresh.engine().received().size();
    fresh.form.BSendPatchClick();
    fresh.engine().waitIdle();
    const QList<QByteArray> sent = fresh.engine().received().mid(before);

    std::array<std::array<bool, addr::SlotSize>, addr::SlotCount> seen{};
    for (const QByteArray &m : sent) {
        const auto *b = reinterpret_cast<const std::uint8_t *>(m.constData());
        if (m.size() <= sysex::Overhead || b[sysex::CommandPos] != sysex::CommandDataSet)
            continue;
        const addr::Address a{b[sysex::AddressPos], b[sysex::AddressPos + 1],
                              b[sysex::AddressPos + 2], b[sysex::AddressPos + 3]};
        const std::optional<ImagePlace> place = PatchImage::Locate(a);
        QVERIFY(place);
        for (int i = 0; i < int(m.size()) - sysex::Overhead; ++i) {
            const int k = place->slot;
            const int o = place->offset + i;
            const int v = b[sysex::DataPos + i];
            const auto [lo, hi] = rangeOf(k, o);
            QVERIFY2(o < addr::blockSize(k) && lo <= hi, "a byte no parameter owns");
            QVERIFY2(
                v >= lo && v <= hi,
                qPrintable(
                    QStringLiteral("block %1 offset %2 holds %3").arg(k).arg(o, 2, 16).arg(v)));
            seen[k][o] = true;
        }
    }
    for (int k = 0; k < addr::SlotCount; ++k)
        for (int o = 0; o < addr::blockSize(k); ++o)
            QVERIFY2(
                seen[k][o],
                qPrintable(QStringLiteral("block %1 offset %2 not sent").arg(k).arg(o, 2, 16)));
    const PatchImage &img = fresh.state.patchImage;
    QVERIFY(img.tempo() >= 20 && img.tempo() <= 250);
    for (int t = 1; t <= addr::ToneCount; ++t)
        QVERIFY(img.waveNumber(t) <= 254);
}

QTEST_MAIN(TestMainFormLive)
#include "tst_mainformlive.moc"
