#pragma once
// Compare: the synthesizer plays the patch as last opened, fetched or saved,
// and on the second press the edited patch again; nothing of the edits is
// lost. While it compares, no data set leaves (EditState::Comparing), the
// main window's controls and the editing screens are off, and the window
// title and status bar say so. Any command of the main window ends the
// comparison first, so nothing ever works on the wrong patch.

#include "core/patchimage.h"
#include "midi/patchtransfer.h"

#include <QObject>
#include <QString>

class EditorScreens;
class EditState;
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
    void showComparing(bool on);

    TMidiMainForm &form_;
    EditState &state_;
    SysexProtocol &protocol_;
    EditorScreens *screens_;
    PatchTransfer transfer_;
    PatchImage edited_;
    bool modified_ = false;
    QString title_;
    QString status_;
    QAction *action_ = nullptr;
    QToolButton *button_ = nullptr;
};
