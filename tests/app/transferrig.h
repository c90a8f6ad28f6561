#pragma once
// The main window with its transfer and file commands, the real hub and the
// virtual synthesizer behind the built-in device, for the tests of whole
// patch transfers, patch files and the copy-tone and system dialogs.

#include "app/mainform.h"
#include "app/mainformfiles.h"
#include "app/mainformsysex.h"
#include "app/mainformtransfer.h"
#include "app/noteoutform.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "midi/hublink.h"
#include "midi/hublinkrelay.h"
#include "midi/mididevices.h"
#include "midi/sysexprotocol.h"
#include "sim/simulatorbackend.h"

#include <QByteArray>
#include <QDialog>
#include <functional>
#include <memory>

class TransferRig
{
public:
    TransferRig();
    ~TransferRig();

    // Opens the hub's ports on the built-in device; false when they failed.
    bool openMidi();

    // Dialogs run without a modal loop: shown, driven by the script, hidden.
    // A dialog the script leaves open counts as cancelled.
    void driveDialogs(std::function<void(QDialog &)> script);
    int dialogsShown = 0;

    SimulatorEngine &engine() { return backend->engine(); }
    // Block k (0 common, 1..4 tones) of the unit's temporary patch and of
    // the image, as many bytes as a block has.
    QByteArray unitBlock(int k);
    QByteArray imageBlock(int k) const;
    // Fills the image with a patch named name and bytes from the seed.
    void fillImage(const QByteArray &name, quint32 seed);

    template <typename T> T *child(const char *name) const
    {
        return form.findChild<T *>(QLatin1String(name));
    }

    std::shared_ptr<SimulatorBackend> backend = std::make_shared<SimulatorBackend>();
    MidiDevices devices;
    EditState state;
    RecordingInfoSink info;
    HubLinkRelay relay;
    SysexProtocol protocol{state, info, relay};
    TMidiMainForm form{state, info, protocol};
    std::unique_ptr<TNoteOutForm> hub;
    MainFormTransfer *transfer;
    MainFormFiles *files;
    MainFormSysex *sysex;
};
