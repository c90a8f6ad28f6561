#include "app/mainformsysex.h"

#include "app/bankmanform.h"
#include "app/mainform.h"
#include "app/mainformfiles.h"
#include "app/mainformtransfer.h"
#include "app/savesysexform.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/patchfile.h"
#include "core/syxfile.h"

#include <QDir>
#include <QFileInfo>

const QString MainFormSysex::OpenTitle = QStringLiteral("Open Sysex File");
const QString MainFormSysex::SaveTitle = QStringLiteral("Save Patch as Sysex File");
const QString MainFormSysex::Filter = QStringLiteral("Sysex Files (*.syx);;All Files (*.*)");

namespace {
constexpr char SyxDefaultSuffix[] = "syx";
} // namespace

MainFormSysex::MainFormSysex(TMidiMainForm &form, EditState &state, InfoSink &info,
                             SysexProtocol &protocol, MainFormFiles &files,
                             MainFormTransfer &transfer)
    : QObject(&form), form_(form), state_(state), info_(info), protocol_(protocol), files_(files),
      transfer_(transfer), saveForm_(new TSaveSysexForm(&form))
{
    setObjectName(QStringLiteral("MainFormSysex"));
    connect(&form, &TMidiMainForm::commandRequested, this, [this](TMidiMainForm::Command c) {
        switch (c) {
        case TMidiMainForm::Command::OpenSysex:
            MOpenSysexClick();
            break;
        case TMidiMainForm::Command::SaveSysex:
            MSaveSysexClick();
            break;
        case TMidiMainForm::Command::GetNames:
            MGetNamesClick();
            break;
        case TMidiMainForm::Command::BankManager:
            MBankmanClick();
            break;
        default:
            break;
        }
    });
    files_.setSyxOpener([this](const QString &path) { openSysexFile(path); });
}

void MainFormSysex::setPacing(const BankTransfer::Pacing &pacing)
{
    pacing_ = pacing;
    if (bankMan_)
        bankMan_->setPacing(pacing);
}

TBankManForm &MainFormSysex::bankManForm()
{
    if (!bankMan_) {
        bankMan_ = new TBankManForm(state_, info_, protocol_, files_, &form_);
        bankMan_->setPacing(pacing_);
    }
    return *bankMan_;
}

bool MainFormSysex::hasBankManForm() const
{
    return !bankMan_.isNull();
}

void MainFormSysex::showBankMan()
{
    TBankManForm &b = bankManForm();
    b.show();
    b.raise();
    b.activateWindow();
}

void MainFormSysex::MOpenSysexClick()
{
    const QString chosen =
        files_.chooseFile({false, OpenTitle, lastFile_, Filter, QLatin1String(SyxDefaultSuffix)});
    if (!chosen.isEmpty())
        openSysexFile(chosen);
}

bool MainFormSysex::openSysexFile(const QString &path)
{
    const SyxReadReport report = SyxFile::read(path);
    if (!report.ok || report.patches.isEmpty()) {
        const QString why = report.error.isEmpty() ? report.summary() : report.error;
        info_.ShowInfo(QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(path), why));
        return false;
    }
    lastFile_ = path;
    if (report.patches.size() == 1) {
        files_.loadImage(report.patches.first().image);
        const QString skipped = TBankManForm::reportText(report, 0);
        if (!skipped.isEmpty())
            info_.ShowInfo(skipped);
        return true;
    }
    TBankManForm &b = bankManForm();
    if (!b.mayReplaceFileBank())
        return false;
    b.showRead(report, path);
    showBankMan();
    return true;
}

void MainFormSysex::MSaveSysexClick()
{
    saveForm_->setResult(QDialog::Rejected);
    transfer_.runDialog(*saveForm_);
    if (saveForm_->result() != QDialog::Accepted)
        return;
    QString proposed = PatchFile::DefaultFileName(state_.patchImage);
    proposed =
        QFileInfo(proposed).completeBaseName() + QLatin1Char('.') + QLatin1String(SyxDefaultSuffix);
    const QString folder = QFileInfo(lastFile_.isEmpty() ? form_.LastPatchFile : lastFile_).path();
    if (!lastFile_.isEmpty() || !form_.LastPatchFile.isEmpty())
        proposed = QDir(folder).filePath(proposed);
    const QString chosen =
        files_.chooseFile({true, SaveTitle, proposed, Filter, QLatin1String(SyxDefaultSuffix)});
    if (chosen.isEmpty())
        return;
    const QByteArray bytes =
        saveForm_->toUserPlace()
            ? SyxFile::placePatch(state_.patchImage, false, saveForm_->userPlace(), state_.UnitId)
            : SyxFile::temporaryPatch(state_.patchImage, state_.UnitId);
    const FileResult written = SyxFile::write(chosen, bytes);
    if (!written) {
        info_.ShowInfo(written.error);
        return;
    }
    lastFile_ = chosen;
    files_.reportWritten(written.bytes);
}

void MainFormSysex::MGetNamesClick()
{
    showBankMan();
    bankMan_->fetchAll();
}

void MainFormSysex::MBankmanClick()
{
    showBankMan();
}
