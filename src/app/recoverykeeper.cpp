#include "app/recoverykeeper.h"

#include "app/mainform.h"
#include "app/mainformtransfer.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "midi/undogroup.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <utility>

const QString RecoveryKeeper::OfferTitle = QStringLiteral("Restore Patch");

namespace {
constexpr char TimeFormat[] = "yyyy-MM-dd hh:mm";

QString shownName(const QByteArray &stored)
{
    QString name = QString::fromLatin1(stored).trimmed();
    for (QChar &c : name)
        if (!c.isPrint())
            c = QLatin1Char(' ');
    return name;
}

// "The patch "A", the performance "B" and the rhythm set "C"".
QString namesOf(const RecoveryFile::Contents &contents, int &count)
{
    QStringList items;
    if (contents.hasPatch)
        items << QStringLiteral("the patch \"%1\"").arg(shownName(contents.image.name()));
    if (contents.performance)
        items << QStringLiteral("the performance \"%1\"")
                     .arg(shownName(contents.performance->name()));
    if (contents.rhythm)
        items << QStringLiteral("the rhythm set \"%1\"").arg(shownName(contents.rhythm->name()));
    count = int(items.size());
    if (items.isEmpty())
        return QString();
    QString text = items.takeLast();
    if (!items.isEmpty())
        text = items.join(QStringLiteral(", ")) + QStringLiteral(" and ") + text;
    text[0] = text[0].toUpper();
    return text;
}

bool anything(const RecoveryFile::Contents &contents)
{
    return contents.hasPatch || contents.performance || contents.rhythm;
}
} // namespace

RecoveryKeeper::RecoveryKeeper(EditState &state, InfoSink &info, TMidiMainForm &form,
                               MainFormTransfer &transfer, SysexProtocol &protocol,
                               RecoveryFile file)
    : QObject(&form), state_(state), info_(info), form_(form), transfer_(transfer),
      protocol_(protocol), sets_(state, protocol), file_(std::move(file)), seen_(seenOf(state))
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
    if (Seen now = seenOf(state_); !(now == seen_)) {
        seen_ = std::move(now);
        changedAt_ = QDateTime::currentDateTime();
        quiet_.start();
        pending_ = true;
        return;
    }
    if (pending_ && quiet_.elapsed() >= QuietMs)
        save();
}

RecoveryKeeper::Seen RecoveryKeeper::seenOf(const EditState &state)
{
    return {state.patchImage,       state.savedImage, state.performance,
            state.savedPerformance, state.rhythm,     state.savedRhythm};
}

RecoveryFile::Contents RecoveryKeeper::changedNow() const
{
    RecoveryFile::Contents contents;
    contents.image = state_.patchImage;
    contents.hasPatch = state_.patchImage != state_.savedImage;
    contents.patchFile = form_.PatchFileName;
    if (state_.performance.allKnown() && !(state_.performance == state_.savedPerformance))
        contents.performance = state_.performance;
    if (state_.rhythm.allKnown() && !(state_.rhythm == state_.savedRhythm))
        contents.rhythm = state_.rhythm;
    return contents;
}

void RecoveryKeeper::save()
{
    pending_ = false;
    RecoveryFile::Contents contents = changedNow();
    if (!anything(contents)) {
        file_.remove();
        return;
    }
    contents.changed = changedAt_.isValid() ? changedAt_ : QDateTime::currentDateTime();
    const FileResult written = file_.write(contents);
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
    if (Seen now = seenOf(state_);
        !(now == seen_) || pending_ || anything(changedNow()) != file_.exists()) {
        seen_ = std::move(now);
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
        QStringList aside;
        for (const char *name : {RecoveryFile::AsideName, RecoveryFile::AsideSetsName})
            if (QFileInfo::exists(QDir(file_.folder()).filePath(QLatin1String(name))))
                aside << QLatin1String(name);
        info_.ShowInfo(QStringLiteral("The recovery file could not be used: %1\r"
                                      "It was set aside as %2.")
                           .arg(read.error, aside.join(QStringLiteral(" and "))));
        return false;
    }
    int count = 0;
    const QString names = namesOf(contents, count);
    const QString when = contents.changed.toString(QLatin1String(TimeFormat));
    const QString question =
        count == 1
            ? QStringLiteral("%1 was changed on %2 and not saved.\r\rRestore it?").arg(names, when)
            : QStringLiteral("%1 were changed on %2 and not saved.\r\rRestore them?")
                  .arg(names, when);
    if (!info_.Confirm(question, OfferTitle)) {
        file_.setAside();
        return false;
    }
    restore(contents);
    return true;
}

// As a patch file opens: image, controls, synthesizer. It counts as changed,
// since no file holds it. A performance and a rhythm set go into their
// buffers and to the unit's temporary places the same way.
void RecoveryKeeper::restore(const RecoveryFile::Contents &contents)
{
    const UndoGroup group(protocol_, QStringLiteral("Restore"));
    if (contents.hasPatch) {
        state_.patchImage = contents.image;
        form_.PatchFileName = contents.patchFile;
        form_.UpdateCaption();
    }
    if (contents.performance)
        state_.performance = *contents.performance;
    if (contents.rhythm)
        state_.rhythm = *contents.rhythm;
    form_.B_UpdateAllClick();
    if (!state_.MidiClosed) {
        if (contents.hasPatch)
            transfer_.BSendPatchClick();
        if (contents.performance)
            sets_.SendPerformance();
        if (contents.rhythm)
            sets_.SendRhythm();
    }
    if (contents.hasPatch)
        state_.PatchModified = true;
}
