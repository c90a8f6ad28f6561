#include "transferrig.h"

#include <QRandomGenerator>
#include <QTest>

TransferRig::TransferRig()
{
    devices.addBackend(backend);
    form.setProgramDir(QStringLiteral(TESSIVA_BIN_DIR));
    hub = std::make_unique<TNoteOutForm>(state, info, protocol, devices, &form);
    relay.setTarget(hub.get());
    form.setHub(hub.get());
    transfer = new MainFormTransfer(form, state, info, protocol);
    files = new MainFormFiles(form, state, info, *transfer);
    sysex = new MainFormSysex(form, state, info, protocol, *files, *transfer);
    engine().setRecording(true);
}

TransferRig::~TransferRig()
{
    form.setHub(nullptr);
    relay.setTarget(nullptr);
    hub.reset();
    protocol.setSender(nullptr);
}

bool TransferRig::openMidi()
{
    return hub->openPorts(0, 0, -1);
}

void TransferRig::driveDialogs(std::function<void(QDialog &)> script)
{
    transfer->setDialogRunner([this, script](QDialog &d) {
        ++dialogsShown;
        d.setResult(QDialog::Rejected);
        d.show();
        if (QTest::qWaitForWindowExposed(&d))
            script(d);
        d.hide();
    });
}

QByteArray TransferRig::unitBlock(int k)
{
    engine().waitIdle();
    // memory() hands out a copy: keep it alive while its bytes are read.
    const SynthMemory memory = engine().memory();
    const PatchMemory &p = memory.patch(SynthMemory::Bank::Temporary, 0);
    return QByteArray(reinterpret_cast<const char *>(p.block(k)), addr::blockSize(k));
}

QByteArray TransferRig::imageBlock(int k) const
{
    return QByteArray(reinterpret_cast<const char *>(state.patchImage.slotData(k)),
                      addr::blockSize(k));
}

void TransferRig::fillImage(const QByteArray &name, quint32 seed)
{
    QRandomGenerator rng(seed);
    for (int k = 0; k < addr::SlotCount; ++k)
        for (int i = 0; i < addr::blockSize(k); ++i)
            state.patchImage.set(k, i, std::uint8_t(rng.bounded(128)));
    for (int i = 0; i < addr::PatchNameSize; ++i)
        state.patchImage.set(0, i, std::uint8_t(i < name.size() ? name[i] : ' '));
    // Waves of the internal groups, so loading the screen finds them all.
    constexpr int NibbleRange = 16;
    for (int t = 1; t <= addr::ToneCount; ++t) {
        state.patchImage.set(t, addr::tone::WaveGroupType, 0);
        state.patchImage.set(t, addr::tone::WaveGroupId, std::uint8_t(1 + rng.bounded(2)));
        state.patchImage.set(t, addr::tone::WaveNumberHigh, std::uint8_t(rng.bounded(12)));
        state.patchImage.set(t, addr::tone::WaveNumberLow, std::uint8_t(rng.bounded(NibbleRange)));
    }
}
