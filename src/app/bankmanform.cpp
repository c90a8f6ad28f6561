#include "app/bankmanform.h"

#include "app/banklist.h"
#include "app/mainformfiles.h"
#include "app/mainformtransfer.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/syxfile.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

namespace {
constexpr int UserIndex = 0;
constexpr int CardIndex = 1;
constexpr int NumberDigits = 3;
const QString Title = QStringLiteral("Bank Manager");
const QString SyxFilter = QStringLiteral("Sysex Files (*.syx);;All Files (*.*)");
const QString WaitText = QStringLiteral("Wait until the transfer has ended, or cancel it.");
const QString NoFile = QStringLiteral("(no file)");

QString quoted(const QByteArray &name)
{
    return QLatin1Char('"') + QString::fromLatin1(name).trimmed() + QLatin1Char('"');
}
} // namespace

TBankManForm::TBankManForm(EditState &state, InfoSink &info, SysexProtocol &protocol,
                           MainFormFiles &files, QWidget *parent)
    : QWidget(parent, Qt::Window), state_(state), info_(info), files_(files),
      transfer_(state, protocol)
{
    setObjectName(QStringLiteral("BankManForm"));
    setWindowTitle(Title);
    buildControls();
    connectHandlers();
    activeList_ = LvSynth;
}

TBankManForm::~TBankManForm()
{
    transfer_.cancel();
}

void TBankManForm::setPacing(const BankTransfer::Pacing &pacing)
{
    transfer_.setPacing(pacing);
}

bool TBankManForm::synthIsCard() const
{
    return CbBank->currentIndex() == CardIndex;
}

bool TBankManForm::busy() const
{
    return work_ != Work::Idle;
}

QString TBankManForm::bankName() const
{
    return synthIsCard() ? QStringLiteral("CARD") : QStringLiteral("USER");
}

PatchBank &TBankManForm::bankOf(const TBankList *list)
{
    return list == LvSynth ? synthBank_ : fileBank_;
}

TBankList *TBankManForm::listOf(quintptr id) const
{
    for (TBankList *list : {LvSynth, LvFile})
        if (list->listId() == id)
            return list;
    return nullptr;
}

bool TBankManForm::refuseWhenMidiClosed()
{
    if (!state_.MidiClosed)
        return false;
    info_.ShowInfo(MainFormTransfer::MidiClosedText);
    return true;
}

bool TBankManForm::refuseWhileBusy()
{
    if (!busy())
        return false;
    info_.ShowInfo(WaitText);
    return true;
}

bool TBankManForm::mayDiscard(const PatchBank &bank, const QString &what, int first, int last)
{
    int changed = 0;
    for (int place = first; place <= last; ++place)
        changed += bank.changed(place) ? 1 : 0;
    if (changed == 0)
        return true;
    return info_.Confirm(QStringLiteral("%1 has %2 changed places not yet saved or written.\r"
                                        "Drop these changes?")
                             .arg(what)
                             .arg(changed),
                         Title);
}

void TBankManForm::setWork(Work work)
{
    work_ = work;
    const bool idle = work == Work::Idle;
    for (QWidget *w : std::initializer_list<QWidget *>{CbBank, SpFrom, SpTo, BFetch, BFetchAll,
                                                       BWrite, BAudition})
        w->setEnabled(idle);
    BCancel->setEnabled(!idle);
}

// Fetching and writing.

void TBankManForm::fetchAll()
{
    fetch(1, PatchBank::PlaceCount);
}

void TBankManForm::BFetchClick()
{
    fetch(SpFrom->value(), SpTo->value());
}

void TBankManForm::BFetchAllClick()
{
    fetchAll();
}

void TBankManForm::fetch(int first, int last)
{
    if (refuseWhileBusy() || refuseWhenMidiClosed())
        return;
    if (!mayDiscard(synthBank_, QStringLiteral("The range %1 to %2").arg(first).arg(last), first,
                    last))
        return;
    setWork(Work::Fetching);
    PbTransfer->setRange(0, last - first + 1);
    PbTransfer->setValue(0);
    LTransfer->setText(QStringLiteral("Fetching %1 to %2")
                           .arg(LvSynth->placeText(first), LvSynth->placeText(last)));
    transfer_.fetch(synthIsCard(), first, last, &synthBank_);
}

void TBankManForm::BCancelClick()
{
    transfer_.cancel();
}

void TBankManForm::BWriteClick()
{
    if (refuseWhileBusy())
        return;
    QList<int> places;
    for (int place : LvSynth->selectedPlaces())
        if (synthBank_.has(place))
            places << place;
    if (places.isEmpty()) {
        info_.ShowInfo(QStringLiteral("Select the filled places of the synth bank to write."));
        return;
    }
    if (refuseWhenMidiClosed())
        return;
    if (!info_.Confirm(writeQuestion(places), Title))
        return;
    sending_ = places;
    setWork(Work::Sending);
    PbTransfer->setRange(0, int(places.size()));
    PbTransfer->setValue(0);
    transfer_.send(synthIsCard(), places, synthBank_);
}

QString TBankManForm::writeQuestion(const QList<int> &places) const
{
    QStringList lines;
    lines << QStringLiteral("Overwrite %1 %2 of the %3 bank?")
                 .arg(places.size())
                 .arg(places.size() == 1 ? QStringLiteral("place") : QStringLiteral("places"))
                 .arg(bankName());
    for (int i = 0; i < places.size() && i < ConfirmListLength; ++i) {
        const int place = places[i];
        const QString where = bankName() + QLatin1Char(' ') +
                              QStringLiteral("%1").arg(place, NumberDigits, 10, QLatin1Char('0'));
        const QString old =
            unitBank_.has(place) ? quoted(unitBank_.name(place)) : QStringLiteral("(not fetched)");
        lines << QStringLiteral("%1 %2 with %3").arg(where, old, quoted(synthBank_.name(place)));
    }
    if (places.size() > ConfirmListLength)
        lines << QStringLiteral("... and %1 more").arg(places.size() - ConfirmListLength);
    return lines.join(QLatin1Char('\r'));
}

void TBankManForm::transferProgress(int done, int total, int place, const QString &name)
{
    PbTransfer->setRange(0, total);
    PbTransfer->setValue(done);
    const QString verb =
        work_ == Work::Sending ? QStringLiteral("Writing") : QStringLiteral("Fetching");
    LTransfer->setText(QStringLiteral("%1 %2 \"%3\" (%4 of %5)")
                           .arg(verb, LvSynth->placeText(place), name.trimmed())
                           .arg(done)
                           .arg(total));
    if (work_ == Work::Sending && synthBank_.has(place)) {
        // A written place now holds on the unit what the list shows.
        unitBank_.setPatch(place, *synthBank_.patch(place), false);
        synthBank_.setChanged(place, false);
        LvSynth->refreshPlace(place);
    }
}

void TBankManForm::placeArrived(int place)
{
    if (const PatchImage *p = synthBank_.patch(place))
        unitBank_.setPatch(place, *p, false);
    LvSynth->refreshPlace(place);
}

void TBankManForm::transferFinished(BankTransfer::Outcome outcome, const QString &message)
{
    const Work was = work_;
    setWork(Work::Idle);
    if (was == Work::Sending)
        for (int place : transfer_.missingPlaces())
            synthBank_.setChanged(place, true);
    sending_.clear();
    LvSynth->refresh();
    switch (outcome) {
    case BankTransfer::Outcome::Complete:
        LTransfer->setText(was == Work::Sending ? QStringLiteral("Written")
                                                : QStringLiteral("Fetched"));
        break;
    case BankTransfer::Outcome::Cancelled:
        LTransfer->setText(QStringLiteral("Cancelled: %1 of %2 done")
                               .arg(PbTransfer->value())
                               .arg(PbTransfer->maximum()));
        break;
    case BankTransfer::Outcome::Incomplete:
    case BankTransfer::Outcome::Failed:
        LTransfer->setText(QStringLiteral("Not complete"));
        info_.ShowInfo(message);
        break;
    }
}

// Files.

QString TBankManForm::reportText(const SyxReadReport &report, int dropped)
{
    const int skipped = report.badChecksum + report.incomplete + report.otherModel +
                        report.notPatch + report.malformed + report.conflicting;
    if (skipped == 0 && dropped == 0 && report.problems.isEmpty())
        return {};
    QStringList lines{report.summary()};
    if (dropped > 0)
        lines << QStringLiteral("%1 patches found no free place and were left out.").arg(dropped);
    lines << report.problems.mid(0, ReportProblemLines);
    if (report.problems.size() > ReportProblemLines)
        lines << QStringLiteral("... and %1 more").arg(report.problems.size() - ReportProblemLines);
    return lines.join(QLatin1Char('\r'));
}

bool TBankManForm::openFile(const QString &path)
{
    const SyxReadReport report = SyxFile::read(path);
    if (!report.ok || report.patches.isEmpty()) {
        const QString why = report.error.isEmpty() ? report.summary() : report.error;
        info_.ShowInfo(QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(path), why));
        return false;
    }
    showRead(report, path);
    return true;
}

void TBankManForm::showRead(const SyxReadReport &report, const QString &path)
{
    int dropped = 0;
    showFileBank(SyxFile::toBank(report, &dropped), path);
    const QString text = reportText(report, dropped);
    if (!text.isEmpty())
        info_.ShowInfo(text);
}

void TBankManForm::showFileBank(const PatchBank &bank, const QString &path)
{
    fileBank_ = bank;
    fileBank_.clearChanged();
    filePath_ = path;
    LFile->setText(QFileInfo(path).fileName());
    LFile->setToolTip(QDir::toNativeSeparators(path));
    LvFile->refresh();
}

bool TBankManForm::mayReplaceFileBank()
{
    return mayDiscard(fileBank_, QStringLiteral("The file bank"));
}

void TBankManForm::BOpenBankClick()
{
    if (!mayReplaceFileBank())
        return;
    const QString chosen = files_.chooseFile(
        {false, QStringLiteral("Open Bank"), filePath_, SyxFilter, QStringLiteral("syx")});
    if (!chosen.isEmpty())
        openFile(chosen);
}

void TBankManForm::BSaveBankClick()
{
    saveBank(fileBank_, filePath_.isEmpty() ? QStringLiteral("Bank.syx") : filePath_, true);
}

void TBankManForm::BSaveSynthClick()
{
    saveBank(synthBank_, bankName() + QStringLiteral(" bank.syx"), false);
}

void TBankManForm::saveBank(const PatchBank &bank, const QString &proposed, bool fileSide)
{
    if (bank.filledCount() == 0) {
        info_.ShowInfo(QStringLiteral("The bank is empty: there is nothing to save."));
        return;
    }
    const QString chosen = files_.chooseFile(
        {true, QStringLiteral("Save Bank"), proposed, SyxFilter, QStringLiteral("syx")});
    if (chosen.isEmpty())
        return;
    const FileResult written = SyxFile::write(chosen, SyxFile::bank(bank, state_.UnitId));
    if (!written) {
        info_.ShowInfo(written.error);
        return;
    }
    LTransfer->setText(QStringLiteral("%1 patches saved").arg(bank.filledCount()));
    if (!fileSide)
        return;
    // The file now holds the bank as shown.
    showFileBank(fileBank_, chosen);
}

// Editing the banks.

void TBankManForm::CbBankChange(int index)
{
    const int other = index == CardIndex ? UserIndex : CardIndex;
    const QString was = CbBank->itemText(other);
    if (!mayDiscard(synthBank_, QStringLiteral("The %1 bank").arg(was))) {
        const QSignalBlocker quiet(CbBank);
        CbBank->setCurrentIndex(other);
        return;
    }
    // The other memory of the unit: nothing of it is known yet.
    synthBank_.clearAll();
    unitBank_.clearAll();
    LvSynth->setPlacePrefix(index == CardIndex ? QStringLiteral("C:") : QStringLiteral("U:"));
}

void TBankManForm::ESearchChange(const QString &text)
{
    LvSynth->setFilter(text);
    LvFile->setFilter(text);
}

void TBankManForm::placesDropped(TBankList *targetList, quintptr sourceId, const QList<int> &places,
                                 int target, bool copy)
{
    TBankList *source = listOf(sourceId);
    if (!source)
        return;
    PatchBank &from = bankOf(source);
    PatchBank &to = bankOf(targetList);
    const bool touchesSynth = &from == &synthBank_ || &to == &synthBank_;
    if (touchesSynth && refuseWhileBusy())
        return;
    // Copies first: within one bank the places may land on each other.
    QList<PatchImage> images;
    QList<int> taken;
    for (int place : places)
        if (const PatchImage *p = from.patch(place)) {
            images << *p;
            taken << place;
        }
    if (images.isEmpty())
        return;
    const int last = target + int(images.size()) - 1;
    if (last > PatchBank::PlaceCount) {
        info_.ShowInfo(QStringLiteral("%1 patches do not fit from place %2 on: the bank ends at "
                                      "place %3.")
                           .arg(images.size())
                           .arg(target)
                           .arg(PatchBank::PlaceCount));
        return;
    }
    if (&from == &to && !copy && taken.first() == target &&
        taken.last() - taken.first() == taken.size() - 1)
        return; // dropped where they are
    if (!copy)
        for (int place : taken) {
            from.clear(place);
            from.setChanged(place, true);
        }
    for (int i = 0; i < images.size(); ++i)
        to.setPatch(target + i, images[i], true);
    LvSynth->refresh();
    LvFile->refresh();
    targetList->selectPlaces(target, last);
    targetList->setFocus();
}

void TBankManForm::BAuditionClick()
{
    audition(activeList_, activeList_->currentPlace());
}

void TBankManForm::audition(TBankList *list, int place)
{
    if (refuseWhileBusy())
        return;
    const PatchImage *image = bankOf(list).patch(place);
    if (!image) {
        info_.ShowInfo(QStringLiteral("Choose a filled place to audition."));
        return;
    }
    activeList_ = list;
    files_.loadImage(*image);
}

void TBankManForm::closeEvent(QCloseEvent *event)
{
    // Nobody is left to watch a transfer of a closed window.
    transfer_.cancel();
    QWidget::closeEvent(event);
}
