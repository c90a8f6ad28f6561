#pragma once
// The main editor window: patch-wide parameters, the four tone rows with
// their waves and outputs, the menus, and the doors to every other screen.
// Controls carry their component names as object names, so other code and
// tests reach them with findChild<T *>("SlLevel").

#include "app/mainwindowlink.h"
#include "controls/focuscombobox.h"
#include "editors/editorhost.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <cstdint>

class EditState;
enum class EditMode;
class InfoSink;
class SysexProtocol;
class HubControl;
class TSpincw0R;
class TSliderBase;
class TSlidNaVf;
class TLPanH;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class QAbstractButton;

class TMidiMainForm : public QMainWindow, public MainWindowLink
{
    Q_OBJECT

public:
    // The screens a tone row's buttons open.
    enum class ToneScreen
    {
        Wave,
        Tvp,
        TvfTva,
        Ctrl,
        Lfo
    };
    // Screens without a tone.
    enum class CommonScreen
    {
        Switch,
        Effect,
        Mixer,
        Performance,
        Rhythm
    };
    // Commands whose work lives elsewhere; each has a virtual method below
    // that announces it through commandRequested.
    enum class Command
    {
        GetPatch,
        SendPatch,
        SaveToJv,
        OpenFile,
        SaveFile,
        Exit,
        MidiSettings,
        CopyTone,
        SystemControl,
        ReadSettings,
        OpenSysex,
        SaveSysex,
        GetNames,
        BankManager,
    };

    static constexpr int WaveGroupRows = 7; // Int-A, Int-B, P, A, B, C, D
    static constexpr int IntACount = 255;
    static constexpr int IntBCount = 193;
    static constexpr int MaxWaveCount = 255;
    static constexpr int NoWaveGroup = -1; // a tone whose group is not fitted
    static constexpr int HalfWidth = 710;
    static constexpr int FullWidth = 690;
    static constexpr int FullHeight = 488;

    TMidiMainForm(EditState &state, InfoSink &info, SysexProtocol &protocol,
                  HubControl *hub = nullptr, QWidget *parent = nullptr);
    ~TMidiMainForm() override;

    void setHub(HubControl *hub) { hub_ = hub; }
    HubControl *hub() const { return hub_; }
    // Where the program's messages go, for the screens this window opens.
    InfoSink &infoSink() const { return info_; }

    // Where the wave lists and structure pictures are looked up; ends with a
    // slash. Defaults to the program folder.
    void setProgramDir(const QString &dir);
    QString programDir() const { return programDir_; }

    // The patch file the image belongs to and the remembered one.
    QString PatchFileName;
    QString LastPatchFile;
    void UpdateCaption();

    // MainWindowLink
    bool updateFromJv() const override;
    void B_UpdateAllClick() override;
    int partChannel() const override;
    bool mainShown() const override { return mainShown_; }
    void setStatusPanel(int panel, const QString &text) override;
    void setMidiOpenChecked(bool checked) override;
    void setDevStat(const QString &text) override;
    void MSetMidiDevsClick() override;
    void selectPatchMode() override;

    // Option states as the settings store them.
    void setUpdateFromJv(bool on);
    bool playNoteChecked() const;
    void setPlayNoteChecked(bool on);
    bool hintsOn() const;

    // Wave groups and names.
    void FillWaveGroupLists();
    int WaveGroupCount(int row);
    int WaveGroupIndex(int type, int id);
    // Returns how many names the list held (0 when none could be read).
    int LoadWaveNames(int row);
    void ShowWaveName(int row, int wave, int tone);
    // False, with nothing sent, when the row's group is no valid group (an
    // empty slot, or a patch's own group that names none).
    bool SendWaveSelect(int row, int wave, int tone);

    // Hourglass and the "loading" note around the creation of a screen. The
    // window brings its own note; the application may hand it the shared one.
    void setWaitNote(QWidget *note);
    void BeginScreenOpen(QWidget *button);
    void EndScreenOpen();

    // Commands that other parts of the program provide. The defaults only
    // announce them (and Exit also closes MIDI and quits), so the windows
    // behind them connect to the signals or override these.
    virtual void BGetPatchClick();
    virtual void BSendPatchClick();
    virtual void MSavetoJVClick();
    virtual void MOpenClick();
    virtual void MSaveClick();
    virtual void MExitClick();
    virtual void SpCopyClick();
    virtual void BSysCtrlClick();
    virtual void BreadiniClick();
    virtual void MOpenSysexClick();
    virtual void MSaveSysexClick();
    virtual void MGetNamesClick();
    virtual void MBankmanClick();
    virtual void openToneScreen(ToneScreen screen, int tone);
    virtual void openCommonScreen(CommonScreen screen);
    // Reloads every created secondary screen for the current tone.
    virtual void refreshOpenScreens(int tone);
    virtual void OpenDroppedFile(const QString &path);
    // The close button's question; true lets the window close.
    virtual bool FormCloseQuery();

    // Patch/Perform/Rhythm selection; button is SpBPatch, SpBPerf or
    // SpBRhythm. Perform takes the part from SpPart, part 1 for part 10,
    // which plays the rhythm set. Fetches nothing: the user's choices on
    // the buttons and the part number do, through editModeChanged.
    void SpBPerfClick(QAbstractButton *button);
    // Part number 1..16 in Perform or Rhythm mode; 10 selects Rhythm mode.
    void SpPartChange();
    // A screen's request for a whole performance or rhythm set transfer.
    void requestTransfer(EditorHost::Transfer what, int place)
    {
        Q_EMIT transferRequested(what, place);
    }

    // The per-tone controls other screens read and drive (tone 1..4). A
    // program change of a check box or wave spin runs its handler as a click
    // would; a group list change needs CbSourceT1Change to follow it.
    QCheckBox *ChkTone(int tone) const { return row(tone).ChkTone; }
    QComboBox *CbSourceT(int tone) const { return row(tone).CbSource; }
    TSpincw0R *SpcWaveT(int tone) const { return row(tone).SpcWave; }
    QLineEdit *EWavetxt(int tone) const { return row(tone).EWavetxt; }
    QComboBox *CbOutput(int tone) const { return row(tone).CbOutput; }
    TSpincw0R *SpLevOut(int tone) const { return row(tone).SpLevOut; }
    void CbSourceT1Change(int tone);
    void CbOutput1Change(int tone);

Q_SIGNALS:
    void commandRequested(TMidiMainForm::Command command);
    void toneScreenRequested(TMidiMainForm::ToneScreen screen, int tone);
    void commonScreenRequested(TMidiMainForm::CommonScreen screen);
    void refreshScreens(int tone);
    void fileDropped(const QString &path);
    // The mode or part changed from previous; byUser when the user chose it
    // on the buttons or the part number, so that what is now edited is
    // fetched.
    void editModeChanged(EditMode previous, bool byUser);
    // A screen asked for a whole performance or rhythm set transfer.
    void transferRequested(EditorHost::Transfer what, int place);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct ToneRow
    {
        QCheckBox *ChkTone = nullptr;
        TFocusComboBox *CbSource = nullptr;
        TSpincw0R *SpcWave = nullptr;
        QLineEdit *EWavetxt = nullptr;
        TFocusComboBox *CbOutput = nullptr;
        TSpincw0R *SpLevOut = nullptr;
        // The list row of the tone's group as last loaded or chosen.
        int groupRow = 0;
    };
    const ToneRow &row(int tone) const { return tones_.at(std::size_t(tone - 1)); }

    // Building (mainformcontrols.cpp).
    void buildMenus();
    void buildControls();
    QWidget *buildTopBar();
    QWidget *buildToneGrid();
    QWidget *buildLevelPanel();
    QWidget *buildExtrasPanel();
    QWidget *buildBoosterStepper(int pair);
    void buildHiddenControls(QWidget *host);
    void buildStatusBar();
    void connectHandlers();
    void layoutContent();

    // Parameter handlers (mainformhandlers.cpp).
    void sendCommon(int offset, std::uint8_t value);
    void sendTone(int tone, int offset, std::uint8_t value);
    void SlLevelChange(TSliderBase *sender);
    void SlPPanChange();
    void SpOctaveSChange();
    void SpTretchTChange();
    void CbVoicePChange();
    void SpStruct12Change();
    void SpStruct34Change();
    void structureChanged(int pair);
    void showStructure(int pair);
    void boosterStep(int pair, int delta);
    void SpDefTempoChange();
    void EPtchNameChange();
    void ChkTone1Click(int tone);
    void SpLevOut1Change(int tone);
    void loadCommonControls();
    void loadToneControls(int tone);
    void updateBoosterLabel(int pair, int step);

    // Wave selection (mainformwaves.cpp).
    QString waveListFile(int row) const;
    // Sizes the wave name fields for the longest name of the lists found.
    void fitWaveNameFields();

    // Options and openers (mainform.cpp).
    void MPlayNoteClick(bool checked);
    void ChUpdateClick(bool checked);
    void Half1Click();
    void Full1Click();
    int barsHeight() const;
    void colourUpdateLed(const QColor &colour);
    void switchMode(EditMode mode, bool byUser);
    void showEditMode();
    void toneButtonClick(ToneScreen screen, int tone, QWidget *button);
    void commonButtonClick(CommonScreen screen, QWidget *button);
    void infoOnce(const QString &text);
    void waitBusy(int ms);
    void waitProcessing(int ms);

    EditState &state_;
    InfoSink &info_;
    SysexProtocol &protocol_;
    HubControl *hub_;
    QString programDir_;
    bool mainShown_ = false;
    bool waveListsFilled_ = false;
    // Messages already shown during the current control update.
    QStringList updateMessages_;
    bool inUpdate_ = false;

    QWidget *content_ = nullptr;
    QWidget *lowerPanels_ = nullptr;
    QPointer<QWidget> waitNote_;

    // Menu items.
    QAction *MMidiDevOpen = nullptr;
    QAction *MMidiClose = nullptr;
    QAction *MBankman = nullptr;
    QAction *ChUpdate = nullptr;
    QAction *MHintsOn = nullptr;

    // Patch-wide controls.
    QLineEdit *EPtchName = nullptr;
    TSlidNaVf *SlLevel = nullptr;
    TSlidNaVf *SlPPan = nullptr;
    TSlidNaVf *SlChorus = nullptr;
    TSlidNaVf *SlReverb = nullptr;
    TSlidNaVf *SlAnaFeel = nullptr;
    TLPanH *LPPan = nullptr;
    QSpinBox *SpOctaveS = nullptr;
    QSpinBox *SpTretchT = nullptr;
    TFocusComboBox *CbVoiceP = nullptr;
    QSpinBox *SpStruct12 = nullptr;
    QSpinBox *SpStruct34 = nullptr;
    std::array<QLabel *, 2> Image{};
    std::array<QWidget *, 2> SPboost{};
    std::array<QLabel *, 2> Lboost{};
    QLabel *STBooster = nullptr;
    TSpincw0R *SpDefTempo = nullptr;
    std::array<ToneRow, 4> tones_{};

    // Top bar and indicators.
    QPushButton *BGetPatch = nullptr;
    QPushButton *BSendPatch = nullptr;
    QCheckBox *ChPlayNote = nullptr;
    QToolButton *SpBPatch = nullptr;
    QToolButton *SpBPerf = nullptr;
    QToolButton *SpBRhythm = nullptr;
    QSpinBox *SpPart = nullptr;
    QLabel *Ltonekeus = nullptr;
    QLabel *LDevStat = nullptr;
    QLabel *ledplay = nullptr;
    QLabel *ledupdate = nullptr;
    std::array<QLabel *, 3> statusPanels_{};
    QLabel *StatusEdit = nullptr;
    // Controls that edit a patch, off while the rhythm set is edited.
    QList<QWidget *> patchOnly_;
};
