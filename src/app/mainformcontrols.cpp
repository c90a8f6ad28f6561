// Building the main window's menus and controls and wiring them up.

#include "app/hubcontrol.h"
#include "app/mainform.h"
#include "controls/lpanh.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/infosink.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int StatusPanelWidth = 200;
constexpr int StatusPanelCount = 3;
// Tone grid: the screen buttons start after an empty gap column.
constexpr int ButtonColumn = 7;
constexpr int HeaderGap = 8;
constexpr int ButtonPadding = 16;
// The structure pictures are drawn at 364 x 110; shown smaller, their
// "Tone 1/3" labels no longer read.
constexpr int PictureWidth = 364;
constexpr int PictureHeight = 110;
constexpr int SliderGap = 6;
constexpr int MaxPart = 16;
constexpr char BoosterCaption[] = "+18";

template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

// A push button no wider than its caption needs, so the rows stay compact.
QPushButton *captionButton(const QString &text, const char *name, QWidget *parent)
{
    auto *b = named(new QPushButton(text, parent), name);
    const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text().remove(QLatin1Char('&'))) +
                     2 * margin + ButtonPadding / 2);
    return b;
}

// A spin edit whose number can only be stepped, never typed.
QSpinBox *steppedSpin(int lo, int hi, const char *name, QWidget *parent)
{
    auto *s = named(new QSpinBox(parent), name);
    s->setRange(lo, hi);
    if (auto *edit = s->findChild<QLineEdit *>())
        edit->setReadOnly(true);
    s->setAlignment(Qt::AlignRight);
    return s;
}

TSpincw0R *ledSpin(int lo, int hi, const QString &name, QWidget *parent)
{
    auto *s = named(new TSpincw0R(parent), name);
    s->setMinValue(lo);
    s->setMaxValue(hi);
    return s;
}

QFrame *panel(const char *name, QWidget *parent)
{
    auto *f = named(new QFrame(parent), name);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QLabel *lamp(const QString &text, const char *name, QWidget *parent)
{
    auto *l = named(new QLabel(text, parent), name);
    l->setAutoFillBackground(true);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    l->setMargin(2);
    return l;
}
} // namespace

void TMidiMainForm::buildMenus()
{
    auto add = [this](QMenu *menu, const QString &text, const char *name,
                      const QKeySequence &key = {}) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        return a;
    };
    // Items the menus do not show still answer their keys. A hidden QAction
    // is a disabled one, so these live on the window instead of a menu.
    auto unlisted = [this](const QString &text, const char *name, const QKeySequence &key = {}) {
        auto *a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        addAction(a);
        return a;
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(add(file, QStringLiteral("&Open"), "MOpen", QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, [this] { MOpenClick(); });
    connect(add(file, QStringLiteral("&Save"), "MSave", QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { MSaveClick(); });
    connect(add(file, QStringLiteral("Save to JV"), "MSavetoJV"), &QAction::triggered, this,
            [this] { MSavetoJVClick(); });
    connect(add(file, QStringLiteral("Get Names"), "MGetNames"), &QAction::triggered, this,
            [this] { MGetNamesClick(); });
    connect(add(file, QStringLiteral("Open Sysex"), "MOpenSysex"), &QAction::triggered, this,
            [this] { MOpenSysexClick(); });
    connect(add(file, QStringLiteral("Save Sysex"), "MSaveSysex"), &QAction::triggered, this,
            [this] { MSaveSysexClick(); });
    connect(add(file, QStringLiteral("Bank Manager..."), "MBankManager"), &QAction::triggered, this,
            [this] { MBankmanClick(); });
    file->addSeparator();
    connect(add(file, QStringLiteral("E&xit"), "MExit", QKeySequence(Qt::Key_F12)),
            &QAction::triggered, this, [this] { MExitClick(); });

    QMenu *settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    connect(add(settings, QStringLiteral("&Midi && Exp"), "MSetMidiDevs", QKeySequence(Qt::Key_F9)),
            &QAction::triggered, this, [this] { MSetMidiDevsClick(); });
    MMidiDevOpen =
        unlisted(QStringLiteral("Midi &Open"), "MMidiDevOpen", QKeySequence(Qt::Key_F11));
    MMidiDevOpen->setCheckable(true);
    connect(MMidiDevOpen, &QAction::triggered, this, [this] {
        if (hub_)
            hub_->reopenMidi();
    });
    MMidiClose = unlisted(QStringLiteral("Midi &Close"), "MMidiClose");
    connect(MMidiClose, &QAction::triggered, this, [this] {
        if (hub_)
            hub_->closeMidi();
    });

    QMenu *options = menuBar()->addMenu(QStringLiteral("&Options"));
    connect(add(options, QStringLiteral("&Note Out"), "MNoteOut", QKeySequence(Qt::Key_F10)),
            &QAction::triggered, this, [this] {
                if (hub_)
                    hub_->showHub();
            });
    QMenu *perform = menuBar()->addMenu(QStringLiteral("&Perform"));
    connect(add(perform, QStringLiteral("&Performance"), "MPerformance", QKeySequence(Qt::Key_F5)),
            &QAction::triggered, this, [this] { openCommonScreen(CommonScreen::Performance); });
    connect(add(perform, QStringLiteral("&Rhythm Set"), "MRhythm", QKeySequence(Qt::Key_F6)),
            &QAction::triggered, this, [this] { openCommonScreen(CommonScreen::Rhythm); });

    connect(add(options, QStringLiteral("View &Sys"), "MViewSys", QKeySequence(Qt::Key_F2)),
            &QAction::triggered, this, [this] {
                if (hub_)
                    hub_->showMessageLog();
            });
    MBankman = unlisted(QStringLiteral("&Bankman"), "MBankman", QKeySequence(Qt::Key_F3));
    connect(MBankman, &QAction::triggered, this, [this] { MBankmanClick(); });
    options->addSeparator();
    ChUpdate = add(options, QStringLiteral("Update from JV"), "ChUpdate",
                   QKeySequence(Qt::CTRL | Qt::Key_U));
    ChUpdate->setCheckable(true);
    ChUpdate->setChecked(true);
    connect(add(options, QStringLiteral("Update Now"), "MUpdateNow",
                QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, [this] { B_UpdateAllClick(); });
    MHintsOn =
        add(options, QStringLiteral("Hints On"), "MHintsOn", QKeySequence(Qt::CTRL | Qt::Key_H));
    MHintsOn->setCheckable(true);
    MHintsOn->setChecked(true);

    QMenu *size = menuBar()->addMenu(QStringLiteral("Size"));
    connect(add(size, QStringLiteral("Half"), "Half1"), &QAction::triggered, this,
            [this] { Half1Click(); });
    connect(add(size, QStringLiteral("Full"), "Full1"), &QAction::triggered, this,
            [this] { Full1Click(); });
}

void TMidiMainForm::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    content_ = named(new QWidget(central), "Content");
    auto *column = new QVBoxLayout(content_);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    column->addWidget(buildTopBar());
    QWidget *toneGrid = buildToneGrid();
    column->addWidget(toneGrid);
    // The lower panels go as a whole in the half-size window, so it never
    // shows a control cut in two.
    lowerPanels_ = named(new QWidget(content_), "LowerPanels");
    auto *bottom = new QHBoxLayout(lowerPanels_);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(buildLevelPanel());
    bottom->addWidget(buildExtrasPanel());
    bottom->addStretch(1);
    column->addWidget(lowerPanels_);
    column->addStretch(1);
    patchOnly_ << toneGrid << lowerPanels_;
    buildHiddenControls(content_);
    buildStatusBar();

    auto *note = new QLabel(QStringLiteral("One moment please, loading window."), this,
                            Qt::SplashScreen | Qt::FramelessWindowHint);
    note->setObjectName(QStringLiteral("Tmomentform"));
    note->setFrameShape(QFrame::Box);
    note->setMargin(16);
    waitNote_ = note;
    layoutContent();
}

QWidget *TMidiMainForm::buildTopBar()
{
    QFrame *bar = panel("TopBar", content_);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(4);

    BGetPatch = captionButton(QStringLiteral("Get Patch"), "BGetPatch", bar);
    auto *spGet = named(new QToolButton(bar), "SpBGetPatch");
    spGet->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    BSendPatch = captionButton(QStringLiteral("Send Patch"), "BSendPatch", bar);
    auto *spSend = named(new QToolButton(bar), "SpBSendPatch");
    spSend->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    auto *saveUser = captionButton(QStringLiteral("Save USER"), "SpeedButton1", bar);
    saveUser->setToolTip(QStringLiteral("Save To USER or CARD place in JV ~ XP"));
    auto *copy = captionButton(QStringLiteral("Copy Tone"), "SpCopy", bar);
    copy->setToolTip(QStringLiteral("Copy One to Multiple"));
    for (QWidget *w : {static_cast<QWidget *>(BGetPatch), static_cast<QWidget *>(spGet),
                       static_cast<QWidget *>(BSendPatch), static_cast<QWidget *>(spSend),
                       static_cast<QWidget *>(saveUser), static_cast<QWidget *>(copy)}) {
        row->addWidget(w);
        patchOnly_ << w;
    }
    connect(BGetPatch, &QPushButton::clicked, this, [this] { BGetPatchClick(); });
    connect(spGet, &QToolButton::clicked, this, [this] { BGetPatchClick(); });
    connect(BSendPatch, &QPushButton::clicked, this, [this] { BSendPatchClick(); });
    connect(spSend, &QToolButton::clicked, this, [this] { BSendPatchClick(); });
    connect(saveUser, &QPushButton::clicked, this, [this] { MSavetoJVClick(); });
    connect(copy, &QPushButton::clicked, this, [this] { SpCopyClick(); });

    row->addSpacing(8);
    auto *modes = new QButtonGroup(bar);
    auto modeButton = [&](const char *text, const char *name) {
        auto *b = named(new QToolButton(bar), name);
        b->setText(QLatin1String(text));
        b->setCheckable(true);
        b->setAutoRaise(false);
        modes->addButton(b);
        row->addWidget(b);
        return b;
    };
    SpBPatch = modeButton("Patch", "SpBPatch");
    SpBPatch->setChecked(true);
    SpBPatch->setToolTip(QStringLiteral("Patch mode"));
    SpBPerf = modeButton("Perform", "SpBPerf");
    SpBPerf->setToolTip(QStringLiteral("Performance mode"));
    SpBRhythm = modeButton("Rhythm", "SpBRhythm");
    SpBRhythm->setToolTip(QStringLiteral("Rhythm set of part 10"));
    // A click on the mode already chosen changes nothing and fetches nothing.
    connect(modes, &QButtonGroup::buttonClicked, this, [this](QAbstractButton *b) {
        const EditMode wanted = b == SpBPatch  ? EditMode::Patch
                                : b == SpBPerf ? EditMode::Perform
                                               : EditMode::Rhythm;
        if (wanted != state_.editMode())
            switchMode(wanted, true);
    });

    EPtchName = named(new QLineEdit(bar), "EPtchName");
    EPtchName->setMaxLength(addr::PatchNameSize);
    EPtchName->setToolTip(QStringLiteral("Type PatchName"));
    QFont nameFont = EPtchName->font();
    nameFont.setBold(true);
    EPtchName->setFont(nameFont);
    // Room for twelve of the widest letter: any name shows whole.
    EPtchName->setFixedWidth(
        EPtchName->fontMetrics().horizontalAdvance(QString(addr::PatchNameSize, QLatin1Char('W'))) +
        ButtonPadding);
    row->addWidget(EPtchName);
    SpPart = named(new QSpinBox(bar), "SpPart");
    SpPart->setRange(1, MaxPart);
    SpPart->setToolTip(QStringLiteral("Part; 10 plays the rhythm set"));
    SpPart->hide();
    row->addWidget(SpPart);
    connect(SpPart, &QSpinBox::valueChanged, this, &TMidiMainForm::SpPartChange);
    Ltonekeus = named(new QLabel(bar), "Ltonekeus");
    Ltonekeus->hide();
    row->addWidget(Ltonekeus);

    row->addStretch(1);
    ChPlayNote = named(new QCheckBox(QStringLiteral("Play Note"), bar), "ChPlayNote");
    ChPlayNote->setToolTip(QStringLiteral("Edit Play on/off"));
    ChPlayNote->setChecked(true);
    row->addWidget(ChPlayNote);
    ledplay = lamp(QStringLiteral("play is on"), "ledplay", bar);
    QPalette playPal = ledplay->palette();
    playPal.setColor(QPalette::Window, QColor(255, 96, 64));
    playPal.setColor(QPalette::WindowText, Qt::black);
    ledplay->setPalette(playPal);
    row->addWidget(ledplay);
    row->addStretch(1);
    return bar;
}

QWidget *TMidiMainForm::buildToneGrid()
{
    QFrame *box = panel("PTones", content_);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    auto header = [&](const char *text, int col, int span, Qt::Alignment align) {
        auto *l = new QLabel(QLatin1String(text), box);
        grid->addWidget(l, 0, col, 1, span, align | Qt::AlignBottom);
    };
    header("Wave Group    W.Nr", 1, 2, Qt::AlignRight);
    header("Wave Name", 3, 1, Qt::AlignLeft);
    header("Output", 4, 1, Qt::AlignLeft);
    header("Mix Efx send", 5, 1, Qt::AlignLeft);
    LDevStat = named(new QLabel(QStringLiteral("Device Status"), box), "LDevStat");
    grid->addWidget(LDevStat, 0, ButtonColumn, 1, 3, Qt::AlignLeft | Qt::AlignVCenter);
    ledupdate = lamp(QStringLiteral("upd"), "ledupdate", box);
    grid->addWidget(ledupdate, 0, ButtonColumn + 3, Qt::AlignCenter);
    auto *mixer = captionButton(QStringLiteral("Mixer"), "BMixer", box);
    mixer->setToolTip(QStringLiteral("Open Mixer-Screen"));
    grid->addWidget(mixer, 0, ButtonColumn + 4);
    // Extra width goes past the last column: the boxes keep their size and
    // every header stays over its column.
    grid->setColumnStretch(ButtonColumn + 5, 1);
    // The send header is wider than its box; a gap keeps it off the status.
    grid->setColumnMinimumWidth(ButtonColumn - 1, HeaderGap);
    connect(mixer, &QPushButton::clicked, this,
            [this, mixer] { commonButtonClick(CommonScreen::Mixer, mixer); });

    static constexpr const char *ScreenCaptions[] = {"Wave", "TVP", "TVF-TVA", "Contrl", "LFO"};
    static constexpr const char *ScreenNames[] = {"BWave", "BTVP", "BTVF_TVA", "BCtrl", "BLFO"};
    static constexpr ToneScreen Screens[] = {ToneScreen::Wave, ToneScreen::Tvp, ToneScreen::TvfTva,
                                             ToneScreen::Ctrl, ToneScreen::Lfo};
    const QString n0 = QStringLiteral("%1%2");
    for (int t = 1; t <= addr::ToneCount; ++t) {
        ToneRow &r = tones_[std::size_t(t - 1)];
        const int row = t;
        r.ChkTone = named(new QCheckBox(QStringLiteral("Tone %1").arg(t), box),
                          n0.arg(QLatin1String("ChkTone")).arg(t));
        r.CbSource =
            named(new TFocusComboBox(box), t == 1 ? QStringLiteral("CbSourceT1")
                                                  : n0.arg(QLatin1String("CBSourceT")).arg(t));
        r.CbSource->setProperty("Tag", t);
        // Wide enough for the longest board name of the rows it holds.
        r.CbSource->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        r.SpcWave = ledSpin(1, IntACount, n0.arg(QLatin1String("SpcWaveT")).arg(t), box);
        r.SpcWave->setToolTip(QStringLiteral("Press and Roll"));
        r.EWavetxt = named(new QLineEdit(box), n0.arg(QLatin1String("EWavetxt")).arg(t));
        r.EWavetxt->setReadOnly(true);
        r.EWavetxt->setFocusPolicy(Qt::NoFocus);
        r.CbOutput = named(new TFocusComboBox(box), n0.arg(QLatin1String("CbOutput")).arg(t));
        r.CbOutput->addItems({QStringLiteral("MIX"), QStringLiteral("EFX"), QStringLiteral("Out 1"),
                              QStringLiteral("Out 2")});
        r.CbOutput->setMaxVisibleItems(4);
        r.SpLevOut = ledSpin(0, 127, n0.arg(QLatin1String("SpLevOut")).arg(t), box);
        if (t == 1) {
            r.ChkTone->setToolTip(QStringLiteral("Click tone on/off"));
            r.SpLevOut->setToolTip(QStringLiteral("MixOut Level Press and Roll"));
        }
        grid->addWidget(r.ChkTone, row, 0);
        grid->addWidget(r.CbSource, row, 1);
        grid->addWidget(r.SpcWave, row, 2);
        grid->addWidget(r.EWavetxt, row, 3);
        grid->addWidget(r.CbOutput, row, 4);
        grid->addWidget(r.SpLevOut, row, 5, Qt::AlignLeft);
        for (int s = 0; s < 5; ++s) {
            auto *b = captionButton(QLatin1String(ScreenCaptions[s]), "", box);
            b->setObjectName(n0.arg(QLatin1String(ScreenNames[s])).arg(t));
            grid->addWidget(b, row, ButtonColumn + s);
            const ToneScreen screen = Screens[s];
            connect(b, &QPushButton::clicked, this,
                    [this, screen, t, b] { toneButtonClick(screen, t, b); });
        }
    }
    return box;
}

QWidget *TMidiMainForm::buildLevelPanel()
{
    QFrame *box = panel("PLevel", content_);
    auto *outer = new QVBoxLayout(box);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->setSpacing(6);
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    outer->addLayout(row);

    // Each caption names the sliders below it; a slider sits under the
    // middle of its word, wherever the desktop font puts it.
    auto sliderGroup = [&](const char *caption, std::initializer_list<const char *> words,
                           std::initializer_list<TSlidNaVf **> sliders,
                           std::initializer_list<const char *> names) {
        auto *g = new QWidget(box);
        auto *label = new QLabel(QLatin1String(caption), g);
        label->setTextFormat(Qt::PlainText);
        label->adjustSize();
        const QFontMetrics fm(label->font());
        const QString text = QLatin1String(caption);
        int width = label->width();
        int height = 0;
        auto s = sliders.begin();
        auto n = names.begin();
        for (const char *word : words) {
            const QString w = QLatin1String(word);
            const int start = int(text.indexOf(w));
            const int centre = fm.horizontalAdvance(text.left(start)) + fm.horizontalAdvance(w) / 2;
            auto *slider = named(new TSlidNaVf(g), *n++);
            const QSize sz = slider->sizeHint();
            const int x = std::max(0, centre - sz.width() / 2);
            slider->setGeometry(x, label->height() + SliderGap / 2, sz.width(), sz.height());
            width = std::max(width, x + sz.width());
            height = std::max(height, slider->geometry().bottom() + 1);
            **s++ = slider;
        }
        g->setFixedSize(width, height);
        return g;
    };

    QWidget *panGroup = sliderGroup("Pan           Level ", {"Pan", "Level"}, {&SlPPan, &SlLevel},
                                    {"SlPPan", "SlLevel"});
    SlPPan->setMinValue(-64);
    SlPPan->setMaxValue(63);
    auto *panColumn = new QVBoxLayout;
    panColumn->setSpacing(3);
    panColumn->addWidget(panGroup);
    LPPan = named(new TLPanH(box), "LPPan");
    panColumn->addWidget(LPPan, 0, Qt::AlignLeft);
    panColumn->addStretch(1);
    row->addLayout(panColumn);
    row->addWidget(sliderGroup("Chorus  Reverb Analog Fl  ", {"Chorus", "Reverb", "Analog Fl"},
                               {&SlChorus, &SlReverb, &SlAnaFeel},
                               {"SlChorus", "SlReverb", "SlAnaFeel"}),
                   0, Qt::AlignTop);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    auto screenButton = [&](const char *text, const char *name, const char *hint) {
        auto *b = named(new QPushButton(QLatin1String(text), box), name);
        b->setToolTip(QLatin1String(hint));
        buttons->addWidget(b);
        return b;
    };
    auto *effect = screenButton("Effects", "BEffect", "EFX Window");
    auto *swch = screenButton("Range && Swch", "BSwitch", "Common Range and Switches");
    auto *sys = screenButton("Set Sys Ctrl", "BSysCtrl", "System Control");
    outer->addLayout(buttons);
    outer->addStretch(1);
    connect(effect, &QPushButton::clicked, this,
            [this, effect] { commonButtonClick(CommonScreen::Effect, effect); });
    connect(swch, &QPushButton::clicked, this,
            [this, swch] { commonButtonClick(CommonScreen::Switch, swch); });
    // The system control dialog is modal and quick to build: no wait note.
    connect(sys, &QPushButton::clicked, this, [this] { BSysCtrlClick(); });
    return box;
}

QWidget *TMidiMainForm::buildBoosterStepper(int pair)
{
    static constexpr const char *Names[] = {"SPboost1", "Spboost2"};
    auto *w = named(new QWidget(content_), Names[pair]);
    auto *col = new QVBoxLayout(w);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);
    const QString base = QLatin1String(Names[pair]);
    auto arrow = [&](Qt::ArrowType type, const char *suffix, int delta) {
        auto *b = named(new QToolButton(w), base + QLatin1String(suffix));
        b->setArrowType(type);
        b->setFixedSize(18, 12);
        col->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, pair, delta] { boosterStep(pair, delta); });
    };
    arrow(Qt::UpArrow, "Up", 1);
    arrow(Qt::DownArrow, "Down", -1);
    return w;
}

QWidget *TMidiMainForm::buildExtrasPanel()
{
    QFrame *box = panel("PExtras", content_);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    auto label = [&](const char *text, int r, int c) {
        grid->addWidget(new QLabel(QLatin1String(text), box), r, c);
    };

    // The four single settings, two by two.
    auto *settings = new QGridLayout;
    settings->setHorizontalSpacing(6);
    settings->setVerticalSpacing(3);
    auto setting = [&](const char *text, QWidget *w, int r, int c) {
        settings->addWidget(new QLabel(QLatin1String(text), box), r, c);
        settings->addWidget(w, r, c + 1, Qt::AlignLeft);
    };
    SpOctaveS = steppedSpin(-3, 3, "SpOctaveS", box);
    SpTretchT = steppedSpin(0, 3, "SpTretchT", box);
    CbVoiceP = named(new TFocusComboBox(box), "CbVoiceP");
    CbVoiceP->addItems({QStringLiteral("Last"), QStringLiteral("Loudest")});
    SpDefTempo = ledSpin(20, 250, QStringLiteral("SpDefTempo"), box);
    setting("Octave Shift", SpOctaveS, 0, 0);
    setting("Stretch Tune", SpTretchT, 1, 0);
    setting("Priority", CbVoiceP, 0, 2);
    setting("Default Tempo", SpDefTempo, 1, 2);
    settings->setColumnMinimumWidth(2, 0);
    settings->setColumnStretch(4, 1);
    grid->addLayout(settings, 0, 0, 1, 4);

    STBooster = named(new QLabel(QStringLiteral("Booster"), box), "STBooster");
    grid->addWidget(STBooster, 1, 1, Qt::AlignLeft | Qt::AlignBottom);

    static constexpr const char *StructCaptions[] = {"Structure 1-2", "Structure 3-4"};
    static constexpr const char *StructNames[] = {"SpStruct12", "SpStruct34"};
    static constexpr const char *ImageNames[] = {"Image1", "Image2"};
    static constexpr const char *ImageHints[] = {"Watch for the Booster !!",
                                                 "Booster only on 3 and 4 .."};
    static constexpr const char *LabelNames[] = {"Lboost1", "Lboost2"};
    for (int pair = 0; pair < 2; ++pair) {
        // Caption over the spin, the booster beside it, the picture right.
        const int r = 1 + 3 * pair;
        label(StructCaptions[pair], r, 0);
        QSpinBox *spin = steppedSpin(1, 10, StructNames[pair], box);
        (pair == 0 ? SpStruct12 : SpStruct34) = spin;
        grid->addWidget(spin, r + 1, 0, Qt::AlignLeft | Qt::AlignTop);
        auto *booster = new QHBoxLayout;
        booster->setSpacing(3);
        SPboost[std::size_t(pair)] = buildBoosterStepper(pair);
        booster->addWidget(SPboost[std::size_t(pair)]);
        auto *value = named(new QLabel(QLatin1String(BoosterCaption), box), LabelNames[pair]);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("+188")));
        Lboost[std::size_t(pair)] = value;
        booster->addWidget(value);
        grid->addLayout(booster, r + 1, 1, Qt::AlignLeft | Qt::AlignTop);
        auto *image = named(new QLabel(box), ImageNames[pair]);
        image->setToolTip(QLatin1String(ImageHints[pair]));
        image->setFixedSize(PictureWidth, PictureHeight);
        image->setScaledContents(true);
        Image[std::size_t(pair)] = image;
        grid->addWidget(image, r, 2, 3, 1, Qt::AlignLeft | Qt::AlignTop);
        // The booster's place is kept while it is hidden, so the picture
        // beside it stays where it is when a structure brings it up.
        for (QWidget *w : {SPboost[std::size_t(pair)], static_cast<QWidget *>(value)}) {
            QSizePolicy keep = w->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            w->setSizePolicy(keep);
            w->hide();
        }
    }
    QSizePolicy keep = STBooster->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    STBooster->setSizePolicy(keep);
    STBooster->hide();
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(7, 1);
    return box;
}

void TMidiMainForm::buildHiddenControls(QWidget *host)
{
    for (const char *name : {"LInfo", "LabelDropfile", "Lext", "Lindic"})
        named(new QLabel(host), name)->hide();
    auto *update = named(new QPushButton(QStringLiteral("Update"), host), "B_UpdateAll");
    update->hide();
    connect(update, &QPushButton::clicked, this, [this] { B_UpdateAllClick(); });
    auto *readIni = named(new QPushButton(QStringLiteral("Read ini"), host), "Breadini");
    readIni->hide();
    connect(readIni, &QPushButton::clicked, this, [this] { BreadiniClick(); });
}

void TMidiMainForm::buildStatusBar()
{
    QStatusBar *bar = named(statusBar(), "StatusBar");
    static constexpr const char *Texts[StatusPanelCount] = {"Status", "Midi-In", "Midi-Out"};
    for (int i = 0; i < StatusPanelCount; ++i) {
        auto *l = new QLabel(QLatin1String(Texts[i]), bar);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        // At least the classic width; longer device names still show whole.
        l->setMinimumWidth(StatusPanelWidth);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        bar->addWidget(l);
        statusPanels_[std::size_t(i)] = l;
    }
    StatusEdit = new QLabel(bar);
    StatusEdit->setObjectName(QStringLiteral("StatusEdit"));
    StatusEdit->setFrameShape(QFrame::Panel);
    StatusEdit->setFrameShadow(QFrame::Sunken);
    bar->addWidget(StatusEdit, 1);
}

void TMidiMainForm::layoutContent()
{
    // The window may be made smaller than its contents (Size/Half): the
    // contents keep their size and the window shows their upper part.
    QWidget *central = centralWidget();
    const QSize need = content_->minimumSizeHint();
    content_->setGeometry(0, 0, std::max(central->width(), need.width()),
                          std::max(central->height(), need.height()));
}

void TMidiMainForm::connectHandlers()
{
    for (TSlidNaVf *s : {SlLevel, SlChorus, SlReverb, SlAnaFeel}) {
        connect(s, &TSliderBase::OnChange, this, &TMidiMainForm::SlLevelChange);
        connect(s, &TSliderBase::OnChanging, this, &TMidiMainForm::SlLevelChange);
    }
    connect(SlPPan, &TSliderBase::OnChange, this, &TMidiMainForm::SlPPanChange);
    connect(SlPPan, &TSliderBase::OnChanging, this, &TMidiMainForm::SlPPanChange);
    connect(SpOctaveS, &QSpinBox::valueChanged, this, &TMidiMainForm::SpOctaveSChange);
    connect(SpTretchT, &QSpinBox::valueChanged, this, &TMidiMainForm::SpTretchTChange);
    connect(CbVoiceP, &QComboBox::activated, this, &TMidiMainForm::CbVoicePChange);
    connect(SpStruct12, &QSpinBox::valueChanged, this, &TMidiMainForm::SpStruct12Change);
    connect(SpStruct34, &QSpinBox::valueChanged, this, &TMidiMainForm::SpStruct34Change);
    connect(SpDefTempo, &TSpincw0R::OnChange, this, &TMidiMainForm::SpDefTempoChange);
    connect(EPtchName, &QLineEdit::textChanged, this, &TMidiMainForm::EPtchNameChange);
    connect(EPtchName, &QLineEdit::returnPressed, this, &TMidiMainForm::EPtchNameChange);
    connect(ChPlayNote, &QCheckBox::toggled, this, &TMidiMainForm::MPlayNoteClick);
    connect(ChUpdate, &QAction::toggled, this, &TMidiMainForm::ChUpdateClick);

    for (int t = 1; t <= addr::ToneCount; ++t) {
        const ToneRow &r = tones_[std::size_t(t - 1)];
        connect(r.ChkTone, &QCheckBox::toggled, this, [this, t] { ChkTone1Click(t); });
        connect(r.CbSource, &QComboBox::activated, this, [this, t] { CbSourceT1Change(t); });
        connect(r.SpcWave, &TSpincw0R::OnChange, this, [this, t] { CbSourceT1Change(t); });
        connect(r.SpcWave, &TSpincw0R::OnChanging, this, [this, t] { CbSourceT1Change(t); });
        connect(r.CbOutput, &QComboBox::activated, this, [this, t] { CbOutput1Change(t); });
        connect(r.SpLevOut, &TSpincw0R::OnChange, this, [this, t] { SpLevOut1Change(t); });
        connect(r.SpLevOut, &TSpincw0R::OnChanging, this, [this, t] { SpLevOut1Change(t); });
    }
}
