// The editor's protocol and ports against the simulator through the built-in
// device, as the app uses them.

#include "editorrig.h"
#include "sim/simulatorbackend.h"

#include "midi/sysexmessage.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

using Bank = SynthMemory::Bank;

QByteArray slotBytes(const PatchImage &image, int k)
{
    return QByteArray(reinterpret_cast<const char *>(image.slotData(k)), addr::blockSize(k));
}

QByteArray simBlock(const SynthMemory &m, int k)
{
    return QByteArray(reinterpret_cast<const char *>(m.patch(Bank::Temporary, 0).block(k)),
                      addr::blockSize(k));
}

addr::Address blockAddress(int k)
{
    return {addr::AreaTempPatch, 0x00, addr::patchBlock(k), 0x00};
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void offersOneDeviceEachWay();
    void randomEditsKeepImageAndUnitEqual();
    void saveToUserMemoryLandsInTheBank();

private:
    std::shared_ptr<SimulatorBackend> backend_;
    std::unique_ptr<EditorRig> rig_;
    void getPatch();
};

void TestEndToEnd::init()
{
    backend_ = std::make_shared<SimulatorBackend>();
    rig_ = std::make_unique<EditorRig>();
    rig_->devices.insertBackend(backend_);
    QString why;
    QVERIFY2(rig_->open(SimulatorBackend::DeviceName, SimulatorBackend::DeviceName, &why),
             qPrintable(why));
}

void TestEndToEnd::cleanup()
{
    rig_.reset();
    backend_.reset();
}

void TestEndToEnd::offersOneDeviceEachWay()
{
    QCOMPARE(rig_->devices.inputNames().first(), QStringLiteral("Virtual JV-1080 (built-in)"));
    QCOMPARE(rig_->devices.outputNames().first(), QStringLiteral("Virtual JV-1080 (built-in)"));
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, backend_->openOutput(1));
}

// Get Patch: five requests, answers parsed into the image.
void TestEndToEnd::getPatch()
{
    const qsizetype before = rig_->sysex.size();
    for (int k = 0; k <= addr::ToneCount; ++k)
        rig_->protocol.RequestData(blockAddress(k),
                                   k == 0 ? addr::RequestCommonSize : addr::RequestToneSize);
    QVERIFY(rig_->waitForMessages(int(before) + 5));
}

// Thousands of edits of random parameters, single bytes and runs, some
// crossing into a tone's odd block byte: afterwards the editor's image and
// the unit's temporary patch agree byte for byte, and asking the unit for
// each block returns exactly the image's bytes.
void TestEndToEnd::randomEditsKeepImageAndUnitEqual()
{
    const auto imageEqualsUnit = [this] {
        const SynthMemory m = backend_->engine().memory();
        for (int k = 0; k <= addr::ToneCount; ++k)
            QCOMPARE(slotBytes(rig_->state.patchImage, k), simBlock(m, k));
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
        rig_->protocol.SendDataSet(a, data, run);
    }
    QVERIFY(backend_->engine().waitIdle());
    QCOMPARE(backend_->engine().stats().dataSets, Edits);
    imageEqualsUnit();

    const qsizetype before = rig_->sysex.size();
    getPatch();
    for (int k = 0; k <= addr::ToneCount; ++k)
        QCOMPARE(
            rig_->sysex[before + k],
            sysex::dataSetMessage(0x10, blockAddress(k), slotBytes(rig_->state.patchImage, k)));
}

// Save to USER 128: the five blocks of the image go to 11 7F.
void TestEndToEnd::saveToUserMemoryLandsInTheBank()
{
    const QByteArray name("Saved At 128");
    rig_->protocol.SendDataSet(rig_->state.commonAddress(0),
                               reinterpret_cast<const std::uint8_t *>(name.constData()), 12);
    for (int k = 0; k <= addr::ToneCount; ++k)
        rig_->protocol.SendDataSet({addr::AreaUser, 0x7F, addr::patchBlock(k), 0x00},
                                   rig_->state.patchImage.slotData(k), addr::blockSize(k));
    QVERIFY(backend_->engine().waitIdle());
    const SynthMemory m = backend_->engine().memory();
    QCOMPARE(m.patch(Bank::User, 127).name(), name);
    for (int k = 0; k <= addr::ToneCount; ++k)
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(m.patch(Bank::User, 127).block(k)),
                            addr::blockSize(k)),
                 slotBytes(rig_->state.patchImage, k));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
