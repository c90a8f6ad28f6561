#pragma once
// Compare: the synthesizer plays the patch as last opened, fetched or saved,
// and on the second press the edited patch again; nothing of the edits is
// lost. In Perform mode it does the same with the temporary performance, in
// Rhythm mode with part 10's rhythm set, each as last fetched or written. While it compares, no
// data set leaves (EditState::Comparing), the main window's controls and the editing screens are
// off, and the window title and status bar say so. Any command of the main window ends the
// comparison first, so nothing ever works on the wrong patch.

#include "core/editstate.h"
#include "core/patchimage.h"
#include "core/performanceimage.h"
#include "core/rhythmimage.h"
#include "midi/patchtransfer.h"
#include "midi/performancetransfer.h"

#include <QObject>
#include <QString>

class EditorScreens;
class QAction;
class QToolButton;
class SysexProtocol;
class TMidiMainForm;

class CompareToggle : public QObject
{
    Q_OBJECT
public:
    static const QString TitleMark;
    static const QString StatusText;
    static const QString ClosedText;
    static const QString PerformanceStatusText;
    static const QString RhythmStatusText;
    static const QString NoPerformanceText;
    static const QString NoRhythmText;

    // Make it before the window's other command handlers, so that it ends
    // the comparison before they run.
    CompareToggle(TMidiMainForm &form, EditState &state, SysexProtocol &protocol,
                  EditorScreens *screens);

    bool comparing() const;
    void toggle();
    void start();
    void stop();

    // F8 and the button beside the menus.
    QAction *action() const { return action_; }
    QToolButton *button() const { return button_; }

Q_SIGNALS:
    void comparingChanged(bool comparing);

private:
    void sendImage(const PatchImage &image);
    void sendPerformance(const PerformanceImage &performance);
    void sendRhythm(const RhythmImage &rhythm);
    // Puts version into buffer and sends it, leaving no step in the history.
    template <typename Buffer, typename Send>
    void play(Buffer &buffer, const Buffer &version, Send send);
    void showComparing(bool on);

    TMidiMainForm &form_;
    EditState &state_;
    SysexProtocol &protocol_;
    EditorScreens *screens_;
    PatchTransfer transfer_;
    PerformanceTransfer sets_;
    // What is compared: the mode at the start.
    EditMode mode_ = EditMode::Patch;
    PatchImage edited_;
    PerformanceImage editedPerformance_;
    RhythmImage editedRhythm_;
    bool modified_ = false;
    QString title_;
    QString status_;
    QAction *action_ = nullptr;
    QToolButton *button_ = nullptr;
};
