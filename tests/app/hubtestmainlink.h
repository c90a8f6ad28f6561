#pragma once
// A stand-in for the main window as the hub sees it: records what the hub
// shows there and answers its questions from plain fields.

#include "app/mainwindowlink.h"
#include "core/editstate.h"

#include <QStringList>
#include <array>

class HubTestMainLink : public MainWindowLink
{
public:
    explicit HubTestMainLink(EditState &state) : state_(state) {}

    bool updateFromJv() const override { return updateChecked; }
    void B_UpdateAllClick() override
    {
        ++refreshes;
        state_.SendLock = false;
    }
    int partChannel() const override { return part; }
    bool mainShown() const override { return shown; }
    void setStatusPanel(int panel, const QString &text) override
    {
        if (panel >= 0 && panel < int(panels.size()))
            panels[std::size_t(panel)] = text;
    }
    void setMidiOpenChecked(bool checked) override { midiOpenChecked = checked; }
    void setDevStat(const QString &text) override { devStat = text; }
    void MSetMidiDevsClick() override { ++deviceDialogs; }
    void selectPatchMode() override { ++patchModeSelections; }

    bool updateChecked = true;
    int part = 1;
    bool shown = true;
    int refreshes = 0;
    int deviceDialogs = 0;
    int patchModeSelections = 0;
    bool midiOpenChecked = false;
    QString devStat;
    std::array<QString, 3> panels;

private:
    EditState &state_;
};
