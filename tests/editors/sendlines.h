#pragma once
// Data sets as EditorRig::takeDataSets() lists them ("03 00 12 0E | 3C"), and
// a patch edited byte by byte in unit and image alike, for the wave,
// controller and range screens' tests (Patch mode).

#include "editorrig.h"

#include "midi/sysexmessage.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <initializer_list>

namespace sendlines {

inline QString line(std::uint8_t block, int offset, const QByteArray &bytes)
{
    const addr::Address a{addr::AreaTempPatch, 0x00, block, std::uint8_t(offset)};
    return sysex::hexLine(a.data(), 4) + QStringLiteral(" | ") +
           sysex::hexLine(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                          int(bytes.size()));
}

inline QString tone(int t, int offset, int byte)
{
    return line(addr::toneBlock(t), offset, QByteArray(1, char(byte)));
}

inline QString common(int offset, int byte)
{
    return line(addr::BlockCommon, offset, QByteArray(1, char(byte)));
}

// Block k (0 common, 1..4 tones) of the unit's temporary patch.
inline QByteArray unitBlock(EditorRig &rig, int k)
{
    rig.engine().waitIdle();
    // memory() hands out a copy: keep it alive while its bytes are read.
    const SynthMemory memory = rig.engine().memory();
    const PatchMemory &p = memory.patch(SynthMemory::Bank::Temporary, 0);
    return QByteArray(reinterpret_cast<const char *>(p.block(k)), addr::blockSize(k));
}

inline QByteArray imageBlock(const EditorRig &rig, int k)
{
    return QByteArray(reinterpret_cast<const char *>(rig.state.patchImage.slotData(k)),
                      addr::blockSize(k));
}

// Sets bytes {block k, offset, value} in unit and image and loads the main
// window as a fetch would, which refreshes every open screen.
inline void loadBytes(EditorRig &rig, std::initializer_list<std::array<int, 3>> bytes)
{
    PatchMemory p = rig.engine().memory().patch(SynthMemory::Bank::Temporary, 0);
    for (const auto &[k, offset, value] : bytes)
        p.block(k)[offset] = std::uint8_t(value);
    rig.loadPatch(p);
}

} // namespace sendlines
