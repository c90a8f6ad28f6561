#pragma once
// Small helpers for the tone screens' tests over the editor rig.

#include "editorrig.h"

#include "midi/sysexmessage.h"

#include <QList>
#include <QPair>
#include <QString>

// A data set to tone t of the temporary patch as the rig lists it:
// "03 00 1T OO | BB ..".
inline QString toneDataSet(int tone, int offset, const QByteArray &bytes)
{
    const addr::Address a{addr::AreaTempPatch, 0x00, addr::toneBlock(tone), std::uint8_t(offset)};
    return sysex::hexLine(a.data(), 4) + QStringLiteral(" | ") +
           sysex::hexLine(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                          int(bytes.size()));
}

inline QString toneDataSet(int tone, int offset, int byte)
{
    return toneDataSet(tone, offset, QByteArray(1, char(byte)));
}

// Sets bytes (offset, value) of a tone in unit and image, then loads the
// screens as a fetch would.
inline void loadToneBytes(EditorRig &rig, int tone, const QList<QPair<int, int>> &bytes)
{
    PatchMemory p = rig.engine().memory().patch(SynthMemory::Bank::Temporary, 0);
    for (const auto &[offset, value] : bytes)
        p.block(tone)[offset] = std::uint8_t(value);
    rig.loadPatch(p);
}

template <typename T> T *childNamed(QWidget *form, const QString &name)
{
    return form->findChild<T *>(name);
}
