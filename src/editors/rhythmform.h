#pragma once
// The rhythm set that part 10 plays: its 64 notes (keys 35..98) in a list
// drawn like a keyboard, each with its key and wave name, and the editor of
// the chosen note: wave, pitch, pitch envelope, filter with its envelope,
// level envelope, pan, outputs and sends, mute group and control switches.
// The name belongs to the set. Every edit is one data set to 02 09 ..; a
// note can be auditioned on channel 10.

#include "editors/parameterscreen.h"
#include "editors/wavegroups.h"

#include <cstdint>
#include <vector>

class EditState;
class EditorHost;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SysexProtocol;
class TSpincw0R;
struct ParameterDef;

class TRhythmForm : public ParameterScreen
{
    Q_OBJECT

public:
    static constexpr int RhythmChannel = 10;
    static constexpr int NoteOn = 0x90;
    static constexpr int NoteOff = 0x80;
    static constexpr int AuditionVelocity = 100;
    static constexpr int RhythmPlaces = 2;

    TRhythmForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
                QWidget *parent = nullptr);

    // The name, the note list and the chosen note.
    void refresh() override;

    // The note the editor shows (35..98) and choosing another one.
    int currentKey() const { return key_; }
    void selectKey(int key);

    // The note editor's control of a table row.
    QWidget *noteControl(const char *name) const;

    // Handlers, as the controls call them (public for the tests' sake).
    void noteEdited(int row);
    void ERhythmNameChange();
    void auditionPressed();
    void auditionReleased();

protected:
    void deactivated() override { auditionReleased(); }

private:
    // Building (rhythmformlayout.cpp).
    void buildControls();
    QWidget *buildTopBar();
    QWidget *buildNoteList();
    QWidget *buildNotePanels();
    QWidget *notePanel(const char *name, const char *title,
                       std::initializer_list<const char *> rows, int columns);
    void connectControls();

    void loadNote();
    void showNoteItem(int key);
    void showWave();
    void waveEdited(int row);
    void sendNote(const ParameterDef &def, int value);

    EditState &state_;
    SysexProtocol &protocol_;
    EditorHost &host_;
    WaveGroups waves_;
    int key_;
    int sounding_ = -1; // key of the audition note still held

    std::vector<QWidget *> note_;
    QLineEdit *ERhythmName = nullptr;
    QListWidget *LbNotes = nullptr;
    QLabel *LNoteKey = nullptr;
    QLabel *LWaveName = nullptr;
    QPushButton *BPlayNote = nullptr;
    TSpincw0R *SpRhythmPlace = nullptr;
};
