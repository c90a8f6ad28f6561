#pragma once
// What the editing screens need from the main window and the communication
// hub. The application implements it over its real windows; tests may hand
// in their own.

#include <QString>
#include <QStringList>

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

    // The program's information box (ShowInfo). Hosts without a user to tell
    // drop the text.
    virtual void showInfo(const QString & /*text*/) {}

    // The main window's wave-group lists CbSourceT<n>, for the wave screen:
    // the rows they hold, whether a row names a fitted group, the row tone's
    // list shows (-1 when the tone's group is none of them), the wave count
    // of a row's group, and the tone's wave number (SpcWaveT<n>, 1-based).
    virtual QStringList waveGroupNames() const { return {}; }
    virtual bool waveGroupSelectable(int row) const { return row >= 0; }
    virtual int waveGroupRow(int /*tone*/) const { return -1; }
    virtual int waveGroupCount(int /*row*/) const { return 0; }
    virtual int waveNumber(int /*tone*/) const { return 0; }
    // The folder of the wave-name files, ending in a slash.
    virtual QString waveListFolder() const { return {}; }
    // Puts group row and wave (1-based) into the tone's row on the main
    // window, whose own handling stores and sends them.
    virtual void selectWave(int /*tone*/, int /*row*/, int /*wave*/) {}

    // The main window's patch-wide sliders that the mixer drives. Moving one
    // lets the main window show and send it as the user's own move would;
    // stored is the byte (pan 0..127, centre 64).
    enum class MainSlider
    {
        Level,
        Pan,
        Chorus,
        Reverb,
    };
    virtual void setMainSlider(MainSlider /*slider*/, int /*stored*/) {}
    // Switches between Patch and Perform mode through the main window's own
    // Patch/Perform routine (EditPrefix, the synth's sound mode, the main
    // window's controls). Hosts without a main window keep the mode.
    virtual void selectPerformMode(bool /*perform*/) {}
    // Ticks "Update from JV", so the answer to a request refreshes the screens.
    virtual void setUpdateFromJv() {}
    // Opens the effects screen as the main window's Effects button does.
    virtual void openEffectsScreen() {}
    // Brings the main window to the front.
    virtual void raiseMainWindow() {}

    // Whole transfers of the temporary performance and of the rhythm set of
    // part 10, and writing them into USER place `place` (1-based; only the
    // writes read it). Hosts without a synthesizer do nothing.
    enum class Transfer
    {
        GetPerformance,
        SendPerformance,
        WritePerformance,
        GetRhythm,
        SendRhythm,
        WriteRhythm,
    };
    virtual void transfer(Transfer /*what*/, int /*place*/) {}
};
