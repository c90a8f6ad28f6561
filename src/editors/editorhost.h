#pragma once
// What the editing screens need from the main window and the communication
// hub. The application implements it over its real windows; tests may hand
// in their own.

#include <QString>

class EditorHost
{
public:
    virtual ~EditorHost() = default;

    // The main window's tone check box ChkTone<tone> (tone 1..4) is ticked.
    virtual bool toneSwitchOn(int tone) const = 0;
    // Ticks or clears ChkTone<tone>; the main window's own handler then sends
    // that tone's switch when the box changed.
    virtual void setToneSwitch(int tone, bool on) = 0;
    // The wave name the main window shows for the tone (EWavetxt<tone>).
    virtual QString waveName(int tone) const = 0;
    // MIDI channel 1..16 the hub plays its test notes on.
    virtual int partChannel() const = 0;
    // The note of the hub's test-note slider.
    virtual int testNote() const = 0;
    // One short message to the synthesizer (nothing while MIDI is closed).
    virtual void sendShort(int status, int data1, int data2) = 0;
};
