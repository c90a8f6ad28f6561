#include "app/mainformsysex.h"

#include "app/bankmanform.h"
#include "app/mainform.h"
#include "app/mainformfiles.h"
#include "app/mainformtransfer.h"
#include "app/savesysexform.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/loadscope.h"
#include "core/patchfile.h"
#include "core/performancesyx.h"
#include "core/syxfile.h"
#include "midi/undogroup.h"

#include <QDir>
#include <QFileInfo>

const QString MainFormSysex::OpenTitle = QStringLiteral("Open Sysex File");
const QString MainFormSysex::SaveTitle = QStringLiteral("Save Patch as Sysex File");
const QString MainFormSysex::SavePerformanceTitle =
    QStringLiteral("Save Performance as Sysex File");
const QString MainFormSysex::SaveRhythmTitle = QStringLiteral("Save Rhythm Set as Sysex File");
const QString MainFormSysex::Filter = QStringLiteral("Sysex Files (*.syx);;All Files (*.*)");

namespace {
constexpr char SyxDefaultSuffix[] = "syx";
const QString ComparingText =
    QStringLiteral("Compare is on: the synthesizer plays the saved patch.\r"
                   "End Compare, then open the file again.");
const QString BusyText = QStringLiteral("The synthesizer is still answering a request.\r"
                                        "Open the file again when it has finished.");
// A file of many broken messages would make a box taller than the screen.
constexpr qsizetype ProblemLines = 10;

QStringList problemLines(const QStringList &problems)
{
    QStringList lines = problems.mid(0, ProblemLines);
    if (problems.size() > ProblemLines)
        lines << QStringLiteral("... and %1 more").arg(problems.size() - ProblemLines);
    return lines;
}

QString shownName(const QByteArray &stored)
{
    return QString::fromLatin1(stored).trimmed();
}
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
    const PerformanceSyxReport performance = PerformanceSyx::read(path);
    if (!performance.ok)
        return openPatches(path, performance);
    // Either would drop the sends without a word and leave the unit playing
    // something else than the windows show.
    if (state_.Comparing) {
        info_.ShowInfo(ComparingText);
        return false;
    }
    if (state_.SendLock) {
        info_.ShowInfo(BusyText);
        return false;
    }
    // A performance with the patches of its parts: the performance is what
    // the file was saved for, and loading a patch on top of it would edit
    // another part than the one its patch came from.
    loadPerformance(path, performance, SyxFile::read(path).patches.size());
    return true;
}

bool MainFormSysex::openPatches(const QString &path, const PerformanceSyxReport &performance)
{
    const SyxReadReport report = SyxFile::read(path);
    if (!report.ok || report.patches.isEmpty()) {
        QString text;
        if (performance.found) {
            // A broken performance says what it lacks, not that it holds
            // no patch.
            text = (QStringList{performance.error} + problemLines(performance.problems))
                       .join(QLatin1Char('\r'));
        } else {
            const QString why = report.error.isEmpty() ? report.summary() : report.error;
            text = QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(path), why);
        }
        info_.ShowInfo(text);
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

void MainFormSysex::loadPerformance(const QString &path, const PerformanceSyxReport &report,
                                    qsizetype patches)
{
    lastFile_ = path;
    using Transfer = EditorHost::Transfer;
    using Buffer = EditRecorder::Buffer;
    QStringList loaded;
    // Each set the file brings is one undo step of its own, closed once it
    // has been sent, so that the step knows the bytes the unit then holds.
    const QString step = QStringLiteral("Open ") + QFileInfo(path).fileName();
    const auto load = [&](Buffer buffer, const auto &assign, Transfer send) {
        const UndoGroup group(protocol_, step, buffer);
        {
            const LoadScope loading(state_);
            assign();
            form_.B_UpdateAllClick();
        }
        // With MIDI closed the first send says so; once is enough.
        if (!state_.MidiClosed || loaded.size() == 1)
            form_.requestTransfer(send, 0);
    };
    if (report.performance) {
        loaded
            << QStringLiteral("the performance \"%1\"").arg(shownName(report.performance->name()));
        load(
            Buffer::Performance, [&] { state_.performance = *report.performance; },
            Transfer::SendPerformance);
    }
    if (report.rhythm) {
        loaded << QStringLiteral("the rhythm set \"%1\"").arg(shownName(report.rhythm->name()));
        load(
            Buffer::Rhythm, [&] { state_.rhythm = *report.rhythm; }, Transfer::SendRhythm);
    }
    // The parts may now play other patches: the one edited is fetched again
    // so that the main window does not edit a patch the part no longer has.
    if (report.performance && state_.editMode() == EditMode::Perform && !state_.MidiClosed)
        form_.BGetPatchClick();

    QStringList notes;
    if (report.performances > 1)
        notes << QStringLiteral("The file holds %1 performances; the first was loaded.")
                     .arg(report.performances);
    if (report.rhythms > 1)
        notes << QStringLiteral("The file holds %1 rhythm sets; the first was loaded.")
                     .arg(report.rhythms);
    if (patches == 1)
        notes << QStringLiteral("The patch in the file was not loaded; the Bank Manager opens it.");
    else if (patches > 1)
        notes << QStringLiteral("The %1 patches in the file were not loaded; the Bank Manager "
                                "opens them.")
                     .arg(patches);
    if (!report.problems.isEmpty())
        notes << QStringLiteral("Not used:") << problemLines(report.problems);
    if (notes.isEmpty())
        return;
    info_.ShowInfo((QStringList{QStringLiteral("\"%1\": loaded %2.")
                                    .arg(QDir::toNativeSeparators(path),
                                         loaded.join(QStringLiteral(" and ")))} +
                    notes)
                       .join(QLatin1Char('\r')));
}

QString MainFormSysex::proposedFile(const QString &defaultName) const
{
    const QString proposed = QFileInfo(defaultName).completeBaseName() + QLatin1Char('.') +
                             QLatin1String(SyxDefaultSuffix);
    if (lastFile_.isEmpty() && form_.LastPatchFile.isEmpty())
        return proposed;
    return QDir(QFileInfo(lastFile_.isEmpty() ? form_.LastPatchFile : lastFile_).path())
        .filePath(proposed);
}

void MainFormSysex::finishSave(const QString &path, const FileResult &written)
{
    if (!written) {
        info_.ShowInfo(written.error);
        return;
    }
    lastFile_ = path;
    files_.reportWritten(written.bytes);
}

void MainFormSysex::MSaveSysexClick()
{
    if (state_.editMode() != EditMode::Patch) {
        savePerformance();
        return;
    }
    saveForm_->setResult(QDialog::Rejected);
    transfer_.runDialog(*saveForm_);
    if (saveForm_->result() != QDialog::Accepted)
        return;
    const QString chosen = files_.chooseFile(
        {true, SaveTitle, proposedFile(PatchFile::DefaultFileName(state_.patchImage)), Filter,
         QLatin1String(SyxDefaultSuffix)});
    if (chosen.isEmpty())
        return;
    const QByteArray bytes =
        saveForm_->toUserPlace()
            ? SyxFile::placePatch(state_.patchImage, false, saveForm_->userPlace(), state_.UnitId)
            : SyxFile::temporaryPatch(state_.patchImage, state_.UnitId);
    finishSave(chosen, SyxFile::write(chosen, bytes));
}

// As the unit would send them: the temporary performance, or part 10's
// rhythm set, so that opening the file puts it back where it was.
void MainFormSysex::savePerformance()
{
    const bool rhythm = state_.editMode() == EditMode::Rhythm;
    const QByteArray name = rhythm ? state_.rhythm.name() : state_.performance.name();
    const QString chosen = files_.chooseFile({true, rhythm ? SaveRhythmTitle : SavePerformanceTitle,
                                              proposedFile(PatchFile::DefaultFileName(name)),
                                              Filter, QLatin1String(SyxDefaultSuffix)});
    if (chosen.isEmpty())
        return;
    const QByteArray bytes =
        rhythm ? PerformanceSyx::temporaryRhythm(state_.rhythm, state_.UnitId)
               : PerformanceSyx::temporaryPerformance(state_.performance, state_.UnitId);
    finishSave(chosen, PerformanceSyx::write(chosen, bytes));
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
