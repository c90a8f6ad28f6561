#pragma once
// Preferences for the MIDI devices, the synthesizer's unit ID and the fitted
// PCM card and expansion boards. Nothing changes until Ok. The ports are
// closed while the dialog is open; Cancel leaves the settings as they were
// and opens again the ports that were open. The dialog does not delete
// itself: open it on the stack or set Qt::WA_DeleteOnClose.

#include <QDialog>
#include <QStringList>
#include <array>
#include <optional>

class AppSettings;
class EditState;
class InfoSink;
class MidiDevices;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TNoteOutForm;

class TMidiDevSelect : public QDialog
{
    Q_OBJECT
public:
    static constexpr int BoardSlots = 4;

    // Reads the device and expansion settings; on the first run it says so
    // first. The ports are closed and the device lists filled when the
    // dialog is first shown, so connect the signals before showing it.
    TMidiDevSelect(EditState &state, InfoSink &info, AppSettings &settings, MidiDevices &devices,
                   QWidget *parent = nullptr);

    // Lets the hub close, free and open its ports as the dialog asks.
    void connectHub(TNoteOutForm &hub);

    // Handlers, public so the window that owns the hub can drive them too.
    void ChSepKBClick();
    void EdJVIDChange();
    // False (after a message) when the text is no unit ID.
    bool EdJVIDExit();
    void BOk1Click();
    void BSaveIniClick();
    // Cancel, Escape and the window's close.
    void reject() override;

Q_SIGNALS:
    // The hub closes every port and discards the keyboard input.
    void closePortsRequested();
    // The hub discards the keyboard input ("KB freed").
    void keyboardReleased();
    // Cancelled: the hub opens again what closePortsRequested closed.
    void restorePortsRequested();
    // The hub opens the ports on these devices; a negative output is the
    // default output, a negative keyboard means no keyboard input.
    void openPortsRequested(int input, int output, int keyboard);
    // After Ok: the wave-group lists follow the new expansion choices.
    void settingsApplied();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void fillDeviceLists();
    void SelectKB();
    void FormShow();
    bool readUnitId(int &id) const;
    int chosenRow(const QListWidget *list) const;

    EditState &state_;
    InfoSink &info_;
    AppSettings &settings_;
    MidiDevices &devices_;
    QStringList inputs_;
    QStringList outputs_;
    int unitId_;
    bool portsClosed_ = false;
    bool shown_ = false;
    std::optional<QString> reportedText_; // the refused text already reported

    QPushButton *BOk1 = nullptr;
    QPushButton *BCan1 = nullptr;
    QPushButton *BSaveIni = nullptr;
    QFrame *Pexp = nullptr;
    QFrame *Plists = nullptr;
    QFrame *Bevel1 = nullptr;
    QLineEdit *EdJVID = nullptr;
    QComboBox *CbPCM = nullptr;
    std::array<QComboBox *, BoardSlots> CbExp{};
    QListWidget *LiKbIn = nullptr;
    QListWidget *LiJVin = nullptr;
    QListWidget *LiJVout = nullptr;
    QLabel *LNumInDev = nullptr;
    QLabel *Lnumoutdev = nullptr;
    QCheckBox *ChSepKB = nullptr;
};
