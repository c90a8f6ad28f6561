#pragma once
// The editor rig with the edit history behind the protocol, the gesture
// watcher, Compare and the Edit menu, as the application wires them.

#include "editorrig.h"

#include "app/comparetoggle.h"
#include "app/editgestures.h"
#include "app/mainformedits.h"
#include "app/mainformtransfer.h"
#include "app/performancecommands.h"
#include "controls/spincw0r.h"
#include "midi/edithistory.h"

#include <QByteArray>
#include <QTest>

// Rolls a spin control with the mouse: pressed in its roll zone, moved five
// pixels (down lowers the value, dir 1), released.
inline void rollSpin(TSpincw0R *spin, int dir)
{
    const QPoint at(TSpincw0R::RollZoneLeft + 4, spin->height() / 2);
    QTest::mousePress(spin, Qt::LeftButton, Qt::NoModifier, at);
    for (int i = 1; i <= 5; ++i)
        QTest::mouseMove(spin, at + QPoint(0, dir * i));
    QTest::mouseRelease(spin, Qt::LeftButton, Qt::NoModifier, at + QPoint(0, dir * 5));
    QCoreApplication::processEvents();
}

class HistoryRig : public EditorRig
{
public:
    HistoryRig()
    {
        compare = new CompareToggle(form, state, protocol, screens.get());
        edits = new MainFormEdits(form, state, info, history, *compare);
    }

    // The main window's whole-patch, performance and rhythm transfers, for
    // tests that fetch or change modes.
    PerformanceCommands *addTransfers()
    {
        auto *transfer = new MainFormTransfer(form, state, info, protocol);
        return new PerformanceCommands(form, state, info, protocol, *transfer);
    }

    // The unit's temporary patch: the common block and four tones.
    QByteArray unitPatch()
    {
        QByteArray all;
        engine().waitIdle();
        const SynthMemory memory = engine().memory();
        const PatchMemory &p = memory.patch(SynthMemory::Bank::Temporary, 0);
        for (int k = 0; k < addr::SlotCount; ++k)
            all += QByteArray(reinterpret_cast<const char *>(p.block(k)), addr::blockSize(k));
        return all;
    }
    // The image's blocks as the unit holds them.
    QByteArray imagePatch() const
    {
        QByteArray all;
        for (int k = 0; k < addr::SlotCount; ++k)
            all += QByteArray(reinterpret_cast<const char *>(state.patchImage.slotData(k)),
                              addr::blockSize(k));
        return all;
    }
    QByteArray image() const
    {
        return QByteArray(reinterpret_cast<const char *>(state.patchImage.data()), addr::ImageSize);
    }

    EditHistory history{state, protocol};
    EditGestures gestures{history};
    CompareToggle *compare = nullptr;
    MainFormEdits *edits = nullptr;
};
