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
    void showInfo(const QString &text) override;
    QStringList waveGroupNames() const override;
    bool waveGroupSelectable(int row) const override;
    int waveGroupRow(int tone) const override;
    int waveGroupCount(int row) const override;
    int waveNumber(int tone) const override;
    QString waveListFolder() const override;
    void selectWave(int tone, int row, int wave) override;
    void setMainSlider(MainSlider slider, int stored) override;
    void selectPerformMode(bool perform) override;
    void setUpdateFromJv() override;
    void openEffectsScreen() override;
    void raiseMainWindow() override;
    void transfer(Transfer what, int place) override;

private:
    TMidiMainForm &main_;
};
