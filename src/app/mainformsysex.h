#pragma once
// The main window's .syx commands: Open Sysex (one patch is loaded as a
// patch file would be, several open in the librarian; a performance or
// rhythm set goes to its buffer and to the unit), Save Sysex (the patch as
// a temporary-patch dump or for a USER place; in Perform and Rhythm mode
// the temporary performance or rhythm set), Get Names (the
// librarian fetches the synth bank) and the librarian itself (F3, "Bank
// Manager..."). Made by the start-up after MainFormFiles, as a child of the
// main window; a .syx file dropped on the window opens as Open Sysex does.

#include "core/fileresult.h"
#include "midi/banktransfer.h"

#include <QObject>
#include <QPointer>

class EditState;
class InfoSink;
class MainFormFiles;
class MainFormTransfer;
struct PerformanceSyxReport;
class SysexProtocol;
class TBankManForm;
class TMidiMainForm;
class TSaveSysexForm;

class MainFormSysex : public QObject
{
    Q_OBJECT
public:
    static const QString OpenTitle;
    static const QString SaveTitle;
    static const QString SavePerformanceTitle;
    static const QString SaveRhythmTitle;
    static const QString Filter;

    MainFormSysex(TMidiMainForm &form, EditState &state, InfoSink &info, SysexProtocol &protocol,
                  MainFormFiles &files, MainFormTransfer &transfer);

    // How the librarian paces its bank transfers (from the settings).
    void setPacing(const BankTransfer::Pacing &pacing);

    // The librarian, made on first use.
    TBankManForm &bankManForm();
    bool hasBankManForm() const;
    TSaveSysexForm &saveForm() const { return *saveForm_; }

    void MOpenSysexClick();
    void MSaveSysexClick();
    void MGetNamesClick();
    void MBankmanClick();
    // A performance or rhythm set is loaded; else one patch is loaded,
    // several open in the librarian. False when the file held nothing
    // whole (the user is told why).
    bool openSysexFile(const QString &path);

private:
    void showBankMan();
    bool openPatches(const QString &path, const PerformanceSyxReport &performance);
    void loadPerformance(const QString &path, const PerformanceSyxReport &report,
                         qsizetype patches);
    void savePerformance();
    // The default file name as a .syx beside the last file used.
    QString proposedFile(const QString &defaultName) const;
    void finishSave(const QString &path, const FileResult &written);

    TMidiMainForm &form_;
    EditState &state_;
    InfoSink &info_;
    SysexProtocol &protocol_;
    MainFormFiles &files_;
    MainFormTransfer &transfer_;
    TSaveSysexForm *saveForm_;
    QPointer<TBankManForm> bankMan_;
    QString lastFile_;
    BankTransfer::Pacing pacing_;
};
