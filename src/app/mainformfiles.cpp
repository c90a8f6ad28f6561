#include "app/mainformfiles.h"

#include "app/mainform.h"
#include "app/mainformtransfer.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/loadscope.h"
#include "core/patchfile.h"
#include "core/syxfile.h"
#include "midi/undogroup.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

const QString MainFormFiles::OpenTitle = QStringLiteral("Open Patch File");
const QString MainFormFiles::SaveTitle = QStringLiteral("Save Patch Data to File");
const QString MainFormFiles::Filter =
    QStringLiteral("Patch Files (*.pat);;Sysex Files (*.syx);;All Files (*.*)");
const QString MainFormFiles::DropRefusal = QStringLiteral("Only *.pat files can be dropped.");
const QString MainFormFiles::DropRefusalWithSyx =
    QStringLiteral("Only *.pat and *.syx files can be dropped.");

namespace {
constexpr char BytesOk[] = " bytes ok";
constexpr char DropAccepted[] = " OK, Pat";
constexpr char DropRefused[] = " No Pat file";
constexpr char SyxAccepted[] = " OK, Syx";

void setLabel(TMidiMainForm &form, const char *name, const QString &text)
{
    if (auto *l = form.findChild<QLabel *>(QLatin1String(name)))
        l->setText(text);
}
} // namespace

MainFormFiles::MainFormFiles(TMidiMainForm &form, EditState &state, InfoSink &info,
                             MainFormTransfer &transfer)
    : QObject(&form), form_(form), state_(state), info_(info), transfer_(transfer),
      choose_([this](const FileDialogRequest &r) { return showDialog(&form_, r); })
{
    setObjectName(QStringLiteral("MainFormFiles"));
    connect(&form, &TMidiMainForm::commandRequested, this, [this](TMidiMainForm::Command c) {
        if (c == TMidiMainForm::Command::OpenFile)
            MOpenClick();
        else if (c == TMidiMainForm::Command::SaveFile)
            MSaveClick();
    });
    connect(&form, &TMidiMainForm::fileDropped, this, &MainFormFiles::OpenDroppedFile);
}

QString MainFormFiles::showDialog(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent, request.title, request.proposed, request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.proposed.isEmpty())
        dialog.selectFile(request.proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool MainFormFiles::ReadPatchFile()
{
    // Read into a copy first: a refused file must leave the image alone.
    PatchImage image = state_.patchImage;
    const FileResult read = PatchFile::Read(form_.PatchFileName, image);
    if (!read) {
        info_.ShowInfo(read.error);
        return false;
    }
    form_.LastPatchFile = form_.PatchFileName;
    state_.patchImage = image;
    return true;
}

bool MainFormFiles::WritePatchFile()
{
    const QString chosen = choose_(
        {true, SaveTitle, form_.PatchFileName, Filter, QLatin1String(PatchFile::DefaultSuffix)});
    if (chosen.isEmpty())
        return false;
    const FileResult written = PatchFile::Write(chosen, state_.patchImage);
    if (!written) {
        info_.ShowInfo(written.error);
        return false;
    }
    reportWritten(written.bytes);
    form_.PatchFileName = chosen;
    form_.LastPatchFile = chosen;
    state_.PatchModified = false;
    state_.savedImage = state_.patchImage;
    return true;
}

// Open and drop: PatchFileName only takes the new name once the file has
// proved to be a patch.
bool MainFormFiles::loadFile(const QString &path)
{
    const UndoGroup group(transfer_.protocol(),
                          QStringLiteral("Open ") + QFileInfo(path).fileName());
    const QString previous = form_.PatchFileName;
    form_.PatchFileName = path;
    if (!ReadPatchFile()) {
        form_.PatchFileName = previous;
        return false;
    }
    showLoaded();
    return true;
}

void MainFormFiles::loadImage(const PatchImage &image)
{
    const UndoGroup group(transfer_.protocol(),
                          QStringLiteral("Load ") + QString::fromLatin1(image.name()).trimmed());
    state_.patchImage = image;
    form_.PatchFileName.clear();
    showLoaded();
}

void MainFormFiles::showLoaded()
{
    // What Compare plays back: the version last opened.
    state_.savedImage = state_.patchImage;
    form_.UpdateCaption();
    {
        const LoadScope loading(state_);
        form_.B_UpdateAllClick();
    }
    transfer_.BSendPatchClick();
}

void MainFormFiles::reportWritten(qint64 bytes)
{
    setLabel(form_, "LInfo", QString::number(bytes) + QLatin1String(BytesOk));
}

void MainFormFiles::MOpenClick()
{
    const QString proposed =
        form_.LastPatchFile.isEmpty() ? form_.PatchFileName : form_.LastPatchFile;
    const QString chosen =
        choose_({false, OpenTitle, proposed, Filter, QLatin1String(PatchFile::DefaultSuffix)});
    if (!chosen.isEmpty())
        loadFile(chosen);
}

void MainFormFiles::MSaveClick()
{
    const QString before = form_.PatchFileName;
    if (form_.PatchFileName.isEmpty()) {
        // The proposed name goes where the last patch file was.
        const QString name = PatchFile::DefaultFileName(state_.patchImage);
        form_.PatchFileName = form_.LastPatchFile.isEmpty()
                                  ? name
                                  : QFileInfo(form_.LastPatchFile).dir().filePath(name);
    }
    if (!WritePatchFile())
        form_.PatchFileName = before;
    form_.UpdateCaption();
}

void MainFormFiles::OpenDroppedFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QString ext = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
    if (openSyx_ && SyxFile::hasSyxSuffix(path)) {
        setLabel(form_, "Lext", ext + QLatin1String(SyxAccepted));
        openSyx_(path);
        return;
    }
    const bool isPatch = PatchFile::hasPatchSuffix(path);
    setLabel(form_, "Lext", ext + QLatin1String(isPatch ? DropAccepted : DropRefused));
    if (!isPatch) {
        info_.ShowInfo(openSyx_ ? DropRefusalWithSyx : DropRefusal);
        return;
    }
    loadFile(path);
}
