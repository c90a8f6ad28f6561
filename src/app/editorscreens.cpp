#include "app/editorscreens.h"

#include "app/windowplacement.h"
#include "core/editstate.h"
#include "editors/comswform.h"
#include "editors/ctrlform.h"
#include "editors/efxform.h"
#include "editors/lfoform.h"
#include "editors/mixerform.h"
#include "editors/performanceform.h"
#include "editors/ptvaform.h"
#include "editors/ptvpform.h"
#include "editors/rhythmform.h"
#include "editors/waveform.h"

EditorScreens::EditorScreens(TMidiMainForm &main, EditState &state, SysexProtocol &protocol,
                             QObject *parent)
    : QObject(parent), main_(main), state_(state), protocol_(protocol), host_(main)
{
    addToneForm<TPTVAForm>(ToneScreen::TvfTva, Lifetime::Kept);
    addToneForm<TPTVPForm>(ToneScreen::Tvp, Lifetime::Kept);
    addToneForm<TLFOForm>(ToneScreen::Lfo, Lifetime::Kept);
    addToneForm<TWaveForm>(ToneScreen::Wave, Lifetime::Kept);
    // BCtrl<n> on an open controller screen makes n the tone it returns to.
    addToneScreen(
        ToneScreen::Ctrl,
        {.create = [this] { return new TCtrlForm(state_, protocol_, host_); },
         .refresh = [](QWidget *w, int tone) { static_cast<TCtrlForm *>(w)->refreshTone(tone); },
         .reveal =
             [this](QWidget *w) { static_cast<TCtrlForm *>(w)->openForTone(state_.CurrentTone); },
         .lifetime = Lifetime::ReleasedOnClose});
    addCommonScreen(CommonScreen::Switch,
                    {.create = [this] { return new TComSwForm(state_, protocol_); },
                     .refresh = [](QWidget *w, int) { static_cast<TComSwForm *>(w)->RefreshAll(); },
                     .reveal = [](QWidget *w) { static_cast<TComSwForm *>(w)->RefreshAll(); },
                     .lifetime = Lifetime::ReleasedOnClose});

    addCommonScreen(CommonScreen::Effect,
                    {.create = [this] { return new TEfxForm(state_, protocol_, host_); },
                     .refresh = [](QWidget *w, int) { static_cast<TEfxForm *>(w)->refresh(); },
                     .reveal = [](QWidget *w) { static_cast<TEfxForm *>(w)->refresh(); }});
    addCommonScreen(CommonScreen::Mixer,
                    {.create = [this] { return new TMixerForm(state_, protocol_, host_); },
                     .refresh = [](QWidget *w, int) { static_cast<TMixerForm *>(w)->refresh(); },
                     .reveal = [](QWidget *w) { static_cast<TMixerForm *>(w)->refresh(); }});

    addCommonScreen(
        CommonScreen::Performance,
        {.create = [this] { return new TPerformanceForm(state_, protocol_, host_); },
         .refresh = [](QWidget *w, int) { static_cast<TPerformanceForm *>(w)->refresh(); },
         .reveal = [](QWidget *w) { static_cast<TPerformanceForm *>(w)->refresh(); }});
    addCommonScreen(CommonScreen::Rhythm,
                    {.create = [this] { return new TRhythmForm(state_, protocol_, host_); },
                     .refresh = [](QWidget *w, int) { static_cast<TRhythmForm *>(w)->refresh(); },
                     .reveal = [](QWidget *w) { static_cast<TRhythmForm *>(w)->refresh(); }});

    connect(&main, &TMidiMainForm::editModeChanged, this, &EditorScreens::followEditMode);
    connect(&main, &TMidiMainForm::toneScreenRequested, this, &EditorScreens::openToneScreen);
    connect(&main, &TMidiMainForm::commonScreenRequested, this, &EditorScreens::openCommonScreen);
    connect(&main, &TMidiMainForm::refreshScreens, this, &EditorScreens::refresh);
}

EditorScreens::~EditorScreens()
{
    for (auto &[screen, entry] : tone_)
        delete entry.window.data();
    for (auto &[screen, entry] : common_)
        delete entry.window.data();
}

template <typename Form> void EditorScreens::addToneForm(ToneScreen screen, Lifetime lifetime)
{
    Entry e;
    e.create = [this] { return new Form(state_, protocol_, host_); };
    e.refresh = [](QWidget *w, int tone) { static_cast<ToneEditorForm *>(w)->refreshTone(tone); };
    e.reveal = [](QWidget *w) { static_cast<ToneEditorForm *>(w)->reload(); };
    e.lifetime = lifetime;
    addToneScreen(screen, std::move(e));
}

void EditorScreens::addToneScreen(ToneScreen screen, Entry entry)
{
    tone_[screen] = std::move(entry);
}

void EditorScreens::addCommonScreen(CommonScreen screen, Entry entry)
{
    common_[screen] = std::move(entry);
}

void EditorScreens::openToneScreen(ToneScreen screen, int)
{
    const auto it = tone_.find(screen);
    if (it != tone_.end())
        open(it->second);
}

void EditorScreens::openCommonScreen(CommonScreen screen)
{
    const auto it = common_.find(screen);
    if (it != common_.end())
        open(it->second);
}

void EditorScreens::open(Entry &entry)
{
    if (!entry.window) {
        entry.window = entry.create();
        if (entry.lifetime == Lifetime::ReleasedOnClose)
            entry.window->setAttribute(Qt::WA_DeleteOnClose);
        entry.window->setEnabled(enabledNow(entry.window));
        // First shown over the main window, then where the user leaves it.
        WindowPlacement::install(*entry.window, WindowPlacement::Mode::CentreOnce, &main_);
    }
    QWidget *w = entry.window;
    if (w->isVisible()) {
        if (entry.reveal)
            entry.reveal(w);
    } else {
        w->show();
    }
    w->raise();
    w->activateWindow();
}

void EditorScreens::refresh(int tone)
{
    for (auto &[screen, entry] : tone_)
        if (entry.window && entry.refresh)
            entry.refresh(entry.window, tone);
    for (auto &[screen, entry] : common_)
        if (entry.window && entry.refresh)
            entry.refresh(entry.window, tone);
}

void EditorScreens::setScreensEnabled(bool on)
{
    const auto apply = [&](Entry &entry) {
        if (entry.window)
            entry.window->setEnabled(on && enabledNow(entry.window));
    };
    for (auto &[screen, entry] : tone_)
        apply(entry);
    for (auto &[screen, entry] : common_)
        apply(entry);
}

QWidget *EditorScreens::toneScreen(ToneScreen screen) const
{
    const auto it = tone_.find(screen);
    return it == tone_.end() ? nullptr : it->second.window.data();
}

QWidget *EditorScreens::commonScreen(CommonScreen screen) const
{
    const auto it = common_.find(screen);
    return it == common_.end() ? nullptr : it->second.window.data();
}

bool EditorScreens::editsPatch(const QWidget *window) const
{
    // The effects screen follows the mode itself: in Rhythm mode it edits
    // the performance's effect.
    return window != commonScreen(CommonScreen::Performance) &&
           window != commonScreen(CommonScreen::Rhythm) &&
           window != commonScreen(CommonScreen::Effect);
}

bool EditorScreens::enabledNow(const QWidget *window) const
{
    return !state_.Comparing && (!editsPatch(window) || state_.editMode() != EditMode::Rhythm);
}

void EditorScreens::followEditMode()
{
    setScreensEnabled(true);
}
