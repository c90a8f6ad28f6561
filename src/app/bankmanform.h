#pragma once
// The librarian: the synthesizer's USER or CARD bank beside the bank of a
// .syx file, 128 places each. The synth side is fetched place by place
// through BankTransfer and written back after a confirmation; the file side
// is opened from and saved to .syx. Patches travel between places and banks
// by drag and drop, and a place can be auditioned: it becomes the edited
// patch exactly as an opened patch file does. Made by MainFormSysex the
// first time it is needed, as a window of the main window, and kept.

#include "midi/banktransfer.h"

#include <QWidget>

class EditState;
class InfoSink;
class MainFormFiles;
class PatchImage;
class SysexProtocol;
class TBankList;
struct SyxReadReport;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

class TBankManForm : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ConfirmListLength = 8; // places named in a question
    static constexpr int ReportProblemLines = 12;

    TBankManForm(EditState &state, InfoSink &info, SysexProtocol &protocol, MainFormFiles &files,
                 QWidget *parent = nullptr);
    ~TBankManForm() override;

    void setPacing(const BankTransfer::Pacing &pacing);
    BankTransfer &transfer() { return transfer_; }

    const PatchBank &synthBank() const { return synthBank_; }
    const PatchBank &fileBank() const { return fileBank_; }
    bool synthIsCard() const;
    QString filePath() const { return filePath_; }
    bool busy() const;

    // Reads a .syx file into the file side; a file without a patch is
    // refused with its reason and changes nothing.
    bool openFile(const QString &path);
    // Asks before file-side changes not yet saved are dropped.
    bool mayReplaceFileBank();
    // What a read found, as the file side's bank (path names it), with
    // what was skipped told.
    void showRead(const SyxReadReport &report, const QString &path);
    void showFileBank(const PatchBank &bank, const QString &path);
    // Fetches every place of the synth bank.
    void fetchAll();

    // The read's summary and its problems, shortened, for the user; empty
    // when nothing was skipped.
    static QString reportText(const SyxReadReport &report, int dropped);

    // Handlers of the buttons, also for the main window's commands.
    void BFetchClick();
    void BFetchAllClick();
    void BCancelClick();
    void BWriteClick();
    void BOpenBankClick();
    void BSaveBankClick();
    void BSaveSynthClick();
    void BAuditionClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Work
    {
        Idle,
        Fetching,
        Sending
    };

    // bankmanformlayout.cpp
    void buildControls();
    void connectHandlers();

    void fetch(int first, int last);
    void CbBankChange(int index);
    void ESearchChange(const QString &text);
    void placesDropped(TBankList *targetList, quintptr sourceId, const QList<int> &places,
                       int target, bool copy);
    void audition(TBankList *list, int place);
    void transferProgress(int done, int total, int place, const QString &name);
    void placeArrived(int place);
    void transferFinished(BankTransfer::Outcome outcome, const QString &message);
    void setWork(Work work);
    bool refuseWhenMidiClosed();
    bool refuseWhileBusy();
    void saveBank(const PatchBank &bank, const QString &proposed, bool fileSide);
    // Whether changes not yet saved or written may go.
    bool mayDiscard(const PatchBank &bank, const QString &what, int first = 1,
                    int last = PatchBank::PlaceCount);
    QString writeQuestion(const QList<int> &places) const;
    QString bankName() const;
    PatchBank &bankOf(const TBankList *list);
    TBankList *listOf(quintptr id) const;

    EditState &state_;
    InfoSink &info_;
    MainFormFiles &files_;
    BankTransfer transfer_;
    Work work_ = Work::Idle;
    PatchBank synthBank_;
    // What the unit holds as far as it is known: fetched or written.
    PatchBank unitBank_;
    PatchBank fileBank_;
    QString filePath_;
    QList<int> sending_;
    TBankList *activeList_ = nullptr;

    QComboBox *CbBank = nullptr;
    QSpinBox *SpFrom = nullptr;
    QSpinBox *SpTo = nullptr;
    QPushButton *BFetch = nullptr;
    QPushButton *BFetchAll = nullptr;
    QPushButton *BCancel = nullptr;
    QPushButton *BWrite = nullptr;
    QPushButton *BSaveSynth = nullptr;
    QPushButton *BOpenBank = nullptr;
    QPushButton *BSaveBank = nullptr;
    QPushButton *BAudition = nullptr;
    QLineEdit *ESearch = nullptr;
    QLabel *LFile = nullptr;
    QLabel *LTransfer = nullptr;
    QProgressBar *PbTransfer = nullptr;
    TBankList *LvSynth = nullptr;
    TBankList *LvFile = nullptr;
};
