#pragma once
// What the communication hub needs from the main editor window. The main
// window implements it; hub tests substitute a small fake.

#include <QString>

class MainWindowLink
{
public:
    virtual ~MainWindowLink() = default;
    // The menu item "Update from JV" (ChUpdate) is checked.
    virtual bool updateFromJv() const = 0;
    // Reload every control of every open screen from the patch image; clears
    // SendLock at its end.
    virtual void B_UpdateAllClick() = 0;
    // The hidden part spin edit SpPart: MIDI channel 1..16 of test notes.
    virtual int partChannel() const = 0;
    // The main window has been shown at least once.
    virtual bool mainShown() const = 0;
    // Status bar panels 0..2.
    virtual void setStatusPanel(int panel, const QString &text) = 0;
    // Checks or unchecks the menu item MMidiDevOpen.
    virtual void setMidiOpenChecked(bool checked) = 0;
    // The label LDevStat.
    virtual void setDevStat(const QString &text) = 0;
    // Opens the MIDI device settings dialog (MSetMidiDevsClick).
    virtual void MSetMidiDevsClick() = 0;
    // Selects Patch mode as the SpBPatch button would (SpBPerfClick).
    virtual void selectPatchMode() = 0;
};
