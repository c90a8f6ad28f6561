#pragma once
// Owns the editing screens the main window opens. Each is created the first
// time one of its buttons is used and then kept (or, for screens that free
// themselves on closing, until closed); whether it exists is its created-flag,
// and the main window's refresh reloads exactly the screens that exist.
// A new screen is one registration line in the constructor: addToneForm for
// the tone screens built on ToneEditorForm, addToneScreen/addCommonScreen
// with an Entry for anything else.

#include "app/maineditorhost.h"
#include "app/mainform.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

class EditState;
class SysexProtocol;

class EditorScreens : public QObject
{
    Q_OBJECT

public:
    using ToneScreen = TMidiMainForm::ToneScreen;
    using CommonScreen = TMidiMainForm::CommonScreen;

    enum class Lifetime
    {
        Kept,            // hidden on closing, kept for the next opening
        ReleasedOnClose, // freed on closing; the next opening builds it anew
    };

    struct Entry
    {
        std::function<QWidget *()> create;
        // The main window's refresh after new data (tone = CurrentTone).
        std::function<void(QWidget *, int)> refresh;
        // Opening a screen that is already on view reloads it as an
        // activation would.
        std::function<void(QWidget *)> reveal;
        Lifetime lifetime = Lifetime::Kept;
        QPointer<QWidget> window{};
    };

    EditorScreens(TMidiMainForm &main, EditState &state, SysexProtocol &protocol,
                  QObject *parent = nullptr);
    ~EditorScreens() override;
    EditorScreens(const EditorScreens &) = delete;
    EditorScreens &operator=(const EditorScreens &) = delete;

    void addToneScreen(ToneScreen screen, Entry entry);
    void addCommonScreen(CommonScreen screen, Entry entry);

    // The main window's requests (CurrentTone is already the row's tone).
    void openToneScreen(ToneScreen screen, int tone);
    void openCommonScreen(CommonScreen screen);
    void refresh(int tone);

    // The screen's window while it exists, else null.
    QWidget *toneScreen(ToneScreen screen) const;
    QWidget *commonScreen(CommonScreen screen) const;

    EditorHost &host() { return host_; }

    // Every existing screen on or off (off while comparing); on leaves the
    // patch screens off while the rhythm set is edited.
    void setScreensEnabled(bool on);

private:
    template <typename Form> void addToneForm(ToneScreen screen, Lifetime lifetime);
    void open(Entry &entry);
    // The screens that edit a patch rest while the rhythm set is edited:
    // there is no patch at part 10 to send them to.
    bool editsPatch(const QWidget *window) const;
    // Whether a screen may take edits now: not while comparing, and a patch
    // screen not in Rhythm mode.
    bool enabledNow(const QWidget *window) const;
    void followEditMode();

    TMidiMainForm &main_;
    EditState &state_;
    SysexProtocol &protocol_;
    MainEditorHost host_;
    std::map<ToneScreen, Entry> tone_;
    std::map<CommonScreen, Entry> common_;
};
