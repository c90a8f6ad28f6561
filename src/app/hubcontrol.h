#pragma once
// What the main editor window asks of the communication hub. The hub window
// (TNoteOutForm) implements it.

class HubControl
{
public:
    static constexpr int StartTestNote = 65;

    virtual ~HubControl() = default;
    // Opens the devices named by the settings.
    virtual void OpenMidi() = 0;
    // Menu "Midi Open" while MidiClosed: reopens the ports already chosen.
    virtual void reopenMidi() = 0;
    // Menu "Midi Close" and the main window's close button.
    virtual void closeMidi() = 0;
    // Menu "Note Out": shows the hub window.
    virtual void showHub() = 0;
    // Menu "View Sys": opens the message log window.
    virtual void showMessageLog() = 0;
    // Controller 120 on the current part's channel.
    virtual void AllSoundOff() = 0;
    // Sends one short message to the synthesizer (nothing when MidiClosed).
    virtual void SendShort(int status, int data1, int data2) = 0;
    // The note of the hub's test-note slider, for the screens' release
    // buttons (a note-on with velocity 0 ends the held test note). Stand-ins
    // that play no notes keep the note the slider starts at.
    virtual int testNote() const { return StartTestNote; }
};
