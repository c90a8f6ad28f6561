#pragma once
// The main window with the real hub and the editing screens behind it, and
// the virtual synthesizer on the built-in device, for the screens' tests:
// screens open through the main window's buttons, edits travel as MIDI to
// the unit, and the unit's memory can be compared with the image.

#include "app/editorscreens.h"
#include "app/mainform.h"
#include "app/noteoutform.h"
#include "core/editstate.h"
#include "core/recordinginfosink.h"
#include "midi/hublinkrelay.h"
#include "midi/mididevices.h"
#include "midi/sysexprotocol.h"
#include "sim/simulatorbackend.h"

#include <QByteArray>
#include <QList>
#include <memory>

class QAbstractItemView;

// Clicks row of an open list popup where the popup shows it. A row may be
// laid out wider than the popup it sits in, and a release outside the popup
// leaves it open.
void clickPopupRow(QAbstractItemView *view, int row);

class EditorRig
{
public:
    // Opens MIDI on the built-in device; ok() tells whether that worked.
    EditorRig();
    ~EditorRig();
    bool ok() const { return ok_; }

    // Clicks the main window's button for the screen and tone ("BTVF_TVA",
    // 3) and returns the screen's window.
    template <typename Form> Form *open(const char *button, int tone)
    {
        return qobject_cast<Form *>(openWindow(button, tone));
    }
    QWidget *openWindow(const char *button, int tone);

    // Puts a patch from a dump file (one data set per block, any address
    // area) into the unit's temporary patch and into the image, then loads
    // the main window as a fetch would. False when the file holds no patch.
    bool loadDump(const QString &path, int patch = 0);
    // Fills unit and image with the same random patch.
    void loadRandom(quint32 seed);
    // Puts the patch into the unit and the image and loads the main window.
    void loadPatch(const PatchMemory &patch);

    // Tone t (1..4) of the unit and of the image.
    QByteArray unitTone(int tone);
    QByteArray imageTone(int tone) const;

    // Messages the unit received since the last call (all when none yet),
    // after it has handled everything sent so far.
    QList<QByteArray> takeReceived();
    // The data sets among them, as "address | data" in hex.
    QStringList takeDataSets();

    SimulatorEngine &engine() { return backend->engine(); }

    std::shared_ptr<SimulatorBackend> backend = std::make_shared<SimulatorBackend>();
    MidiDevices devices;
    EditState state;
    RecordingInfoSink info;
    HubLinkRelay relay;
    SysexProtocol protocol{state, info, relay};
    TMidiMainForm form{state, info, protocol};
    std::unique_ptr<TNoteOutForm> hub;
    std::unique_ptr<EditorScreens> screens;

private:
    bool ok_ = false;
    int seen_ = 0;
};
