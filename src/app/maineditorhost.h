#pragma once
// The editing screens' view of the main window and the hub.

#include "editors/editorhost.h"

class TMidiMainForm;

class MainEditorHost : public EditorHost
{
public:
    explicit MainEditorHost(TMidiMainForm &main) : main_(main) {}

    bool toneSwitchOn(int tone) const override;
    void setToneSwitch(int tone, bool on) override;
    QString waveName(int tone) const override;
    int partChannel() const override;
    int testNote() const override;
    void sendShort(int status, int data1, int data2) override;

private:
    TMidiMainForm &main_;
};
