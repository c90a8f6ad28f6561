#include "app/recoverykeeper.h"

#include "app/mainform.h"
#include "app/mainformtransfer.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "midi/undogroup.h"

#include <utility>

const QString RecoveryKeeper::OfferTitle = QStringLiteral("Restore Patch");

namespace {
constexpr char TimeFormat[] = "yyyy-MM-dd hh:mm";

QString shownName(const PatchImage &image)
{
    QString name = QString::fromLatin1(image.name()).trimmed();
    for (QChar &c : name)
        if (!c.isPrint())
            c = QLatin1Char(' ');
    return name;
}
} // namespace

RecoveryKeeper::RecoveryKeeper(EditState &state, InfoSink &info, TMidiMainForm &form,
                               MainFormTransfer &transfer, SysexProtocol &protocol,
                               RecoveryFile file)
    : QObject(&form), state_(state), info_(info), form_(form), transfer_(transfer),
      protocol_(protocol), file_(std::move(file)), seen_(state.patchImage),
      savedSeen_(state.savedImage)
{
    setObjectName(QStringLiteral("RecoveryKeeper"));
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::check);
    timer_.start(CheckMs);
}

void RecoveryKeeper::setEnabled(bool on)
{
    enabled_ = on;
}

void RecoveryKeeper::check()
{
    // While comparing the image may hold what the synthesizer sends of the
    // compared patch; the edit is safe in the comparison until it ends.
    if (!enabled_ || state_.Comparing)
        return;
    if (state_.patchImage != seen_ || state_.savedImage != savedSeen_) {
        seen_ = state_.patchImage;
        savedSeen_ = state_.savedImage;
        changedAt_ = QDateTime::currentDateTime();
        quiet_.start();
        pending_ = true;
        return;
    }
    if (pending_ && quiet_.elapsed() >= QuietMs)
        save();
}

void RecoveryKeeper::save()
{
    pending_ = false;
    if (state_.patchImage == state_.savedImage) {
        file_.remove();
        return;
    }
    const FileResult written = file_.write(
        {state_.patchImage, changedAt_.isValid() ? changedAt_ : QDateTime::currentDateTime(),
         form_.PatchFileName});
    if (written) {
        failureShown_ = false;
        return;
    }
    // Once per run of failures: a box every few seconds would stop all work.
    if (!failureShown_) {
        failureShown_ = true;
        info_.ShowInfo(QStringLiteral("The recovery file could not be written: %1\r"
                                      "Save your patch: a crash now would lose the changes.")
                           .arg(written.error));
    }
}

void RecoveryKeeper::flush()
{
    if (!enabled_)
        return;
    if (state_.patchImage != seen_ || state_.savedImage != savedSeen_ || pending_ ||
        (state_.patchImage != state_.savedImage) != file_.exists()) {
        seen_ = state_.patchImage;
        savedSeen_ = state_.savedImage;
        if (!changedAt_.isValid())
            changedAt_ = QDateTime::currentDateTime();
        save();
    }
}

bool RecoveryKeeper::offer()
{
    if (!file_.exists())
        return false;
    RecoveryFile::Contents contents;
    const FileResult read = file_.read(contents);
    if (!read) {
        file_.setAside();
        info_.ShowInfo(QStringLiteral("The recovery file could not be used: %1\r"
                                      "It was set aside as %2.")
                           .arg(read.error, QLatin1String(RecoveryFile::AsideName)));
        return false;
    }
    const QString question =
        QStringLiteral("The patch \"%1\" was changed on %2 and not saved.\r\rRestore it?")
            .arg(shownName(contents.image), contents.changed.toString(QLatin1String(TimeFormat)));
    if (!info_.Confirm(question, OfferTitle)) {
        file_.setAside();
        return false;
    }
    restore(contents);
    return true;
}

// As a patch file opens: image, controls, synthesizer. It counts as changed,
// since no file holds it.
void RecoveryKeeper::restore(const RecoveryFile::Contents &contents)
{
    const UndoGroup group(protocol_, QStringLiteral("Restore"));
    state_.patchImage = contents.image;
    form_.PatchFileName = contents.patchFile;
    form_.UpdateCaption();
    form_.B_UpdateAllClick();
    if (!state_.MidiClosed)
        transfer_.BSendPatchClick();
    state_.PatchModified = true;
}
