// The editor's protocol and ports against the simulator through the built-in
// device, as the app uses them.

#include "editorrig.h"
#include "sim/simulatorbackend.h"
#include "simtesthelpers.h"

#include <QRandomGenerator>
#include <QTest>

class TestEndToEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void randomEditsKeepImageAndUnitEqual();
};

// Thousands of edits of random parameters, single bytes and runs, some
// crossing into a tone's odd block byte: afterwards the editor's image and
// the unit's temporary patch agree byte for byte, and asking the unit for
// each block returns exactly the image's bytes.
void TestEndToEnd::randomEditsKeepImageAndUnitEqual()
{
    auto backend = std::make_shared<SimulatorBackend>();
    EditorRig rig;
    rig.devices.insertBackend(backend);
    QString why;
    QVERIFY2(rig.open(SimulatorBackend::DeviceName, SimulatorBackend::DeviceName, &why),
             qPrintable(why));
    const auto blockAddress = [](int k) {
        return addr::Address{addr::AreaTempPatch, 0x00, addr::patchBlock(k), 0x00};
    };
    const auto getPatch = [&] {
        const qsizetype before = rig.sysex.size();
        for (int k = 0; k <= addr::ToneCount; ++k)
            rig.protocol.RequestData(blockAddress(k),
                                     k == 0 ? addr::RequestCommonSize : addr::RequestToneSize);
        QVERIFY(rig.waitForMessages(int(before) + 5));
    };
    const auto imageEqualsUnit = [&] {
        const PatchMemory unit = backend->engine().memory().patch(SynthMemory::Bank::Temporary, 0);
        for (int k = 0; k <= addr::ToneCount; ++k)
            QCOMPARE(blockBytes(rig.state.patchImage.slotData(k), k), blockBytes(unit.block(k), k));
    };
    getPatch();
    imageEqualsUnit();

    QRandomGenerator rng(0x1080);
    constexpr int Edits = 4000;
    constexpr int LongestRun = 24;
    for (int i = 0; i < Edits; ++i) {
        const int k = rng.bounded(addr::SlotCount);
        const int offset = rng.bounded(addr::blockSize(k));
        const int run = rng.bounded(4) == 0
                            ? 1 + rng.bounded(std::min(LongestRun, addr::blockSize(k) - offset))
                            : 1;
        std::uint8_t data[LongestRun];
        for (int j = 0; j < run; ++j)
            data[j] = std::uint8_t(rng.bounded(128));
        const addr::Address a{addr::AreaTempPatch, 0x00,
                              std::uint8_t(addr::patchBlock(k) + offset / 128),
                              std::uint8_t(offset % 128)};
        rig.protocol.SendDataSet(a, data, run);
    }
    QVERIFY(backend->engine().waitIdle());
    QCOMPARE(backend->engine().stats().dataSets, Edits);
    imageEqualsUnit();

    const qsizetype before = rig.sysex.size();
    getPatch();
    for (int k = 0; k <= addr::ToneCount; ++k)
        QCOMPARE(rig.sysex[before + k],
                 sysex::dataSetMessage(0x10, blockAddress(k),
                                       blockBytes(rig.state.patchImage.slotData(k), k)));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
