#pragma once
// The main window's .syx commands: Open Sysex (one patch is loaded as a
// patch file would be, several open in the librarian), Save Sysex (the
// patch as a temporary-patch dump or for a USER place), Get Names (the
// librarian fetches the synth bank) and the librarian itself (F3, "Bank
// Manager..."). Made by the start-up after MainFormFiles, as a child of the
// main window; a .syx file dropped on the window opens as Open Sysex does.

#include "midi/banktransfer.h"

#include <QObject>
#include <QPointer>

class EditState;
class InfoSink;
class MainFormFiles;
class MainFormTransfer;
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
    // One patch is loaded, several open in the librarian; false when the
    // file held none (the user is told why).
    bool openSysexFile(const QString &path);

private:
    void showBankMan();

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
