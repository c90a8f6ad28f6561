#include "app/mainform.h"

#include "app/hubcontrol.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/programdir.h"
#include "midi/sysexprotocol.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>
#include <QThread>
#include <QToolButton>

namespace {
constexpr char TitlePrefix[] = "JV-XP Tessiva [";
constexpr char UnnamedFile[] = "NoName.Pat";
constexpr int ModeSwitchWaitMs = 20;
constexpr std::uint8_t SoundModePatch = 1;
constexpr std::uint8_t SoundModePerform = 0;
const addr::Address SoundModeAddress{addr::AreaSystem, 0x00, 0x00, addr::system::SoundMode};
} // namespace

TMidiMainForm::TMidiMainForm(EditState &state, InfoSink &info, SysexProtocol &protocol,
                             HubControl *hub, QWidget *parent)
    : QMainWindow(parent), state_(state), info_(info), protocol_(protocol), hub_(hub),
      programDir_(ProgramDir())
{
    setObjectName(QStringLiteral("MidiMainForm"));
    setAcceptDrops(true);
    state_.EditPrefix = {addr::AreaTempPatch, 0x00};
    state_.CurrentTone = 0;

    buildMenus();
    buildControls();
    fitWaveNameFields();
    connectHandlers();
    qApp->installEventFilter(this);

    ledplay->setVisible(ChPlayNote->isChecked());
    state_.PlayNoteOn = ChPlayNote->isChecked();
    state_.MidiClosed = true;
    FillWaveGroupLists();
    state_.patchImage.Initialise();
    ChUpdate->setChecked(true);
    colourUpdateLed(QColor(0, 255, 0));
    showEditMode();
    Full1Click();
}

TMidiMainForm::~TMidiMainForm()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void TMidiMainForm::setProgramDir(const QString &dir)
{
    programDir_ = dir;
    if (!programDir_.endsWith(QLatin1Char('/')))
        programDir_ += QLatin1Char('/');
    fitWaveNameFields();
}

void TMidiMainForm::UpdateCaption()
{
    const QString file = PatchFileName.isEmpty() ? QString::fromLatin1(UnnamedFile) : PatchFileName;
    QString title = QLatin1String(TitlePrefix) + file + QLatin1Char(']');
    // The file holds a patch; in Perform mode that is the part's, and the
    // rhythm set is no patch at all.
    if (state_.editMode() == EditMode::Perform)
        title += QStringLiteral(" - Perform, part %1").arg(state_.currentPart() + 1);
    else if (state_.editMode() == EditMode::Rhythm)
        title += QStringLiteral(" - Rhythm set, part %1").arg(addr::RhythmPartNumber);
    setWindowTitle(title);
}

bool TMidiMainForm::updateFromJv() const
{
    return ChUpdate->isChecked();
}

int TMidiMainForm::partChannel() const
{
    return SpPart->value();
}

void TMidiMainForm::setStatusPanel(int panel, const QString &text)
{
    if (panel >= 0 && panel < int(statusPanels_.size()))
        statusPanels_[std::size_t(panel)]->setText(text);
}

void TMidiMainForm::setMidiOpenChecked(bool checked)
{
    MMidiDevOpen->setChecked(checked);
}

void TMidiMainForm::setDevStat(const QString &text)
{
    LDevStat->setText(text);
}

void TMidiMainForm::setUpdateFromJv(bool on)
{
    ChUpdate->setChecked(on);
}

bool TMidiMainForm::playNoteChecked() const
{
    return ChPlayNote->isChecked();
}

void TMidiMainForm::setPlayNoteChecked(bool on)
{
    ChPlayNote->setChecked(on);
}

bool TMidiMainForm::hintsOn() const
{
    return MHintsOn->isChecked();
}

void TMidiMainForm::MPlayNoteClick(bool checked)
{
    // Notes still sounding would hang once the edit notes stop.
    if (!checked && hub_)
        hub_->AllSoundOff();
    state_.PlayNoteOn = checked;
    ledplay->setVisible(checked);
}

void TMidiMainForm::ChUpdateClick(bool checked)
{
    colourUpdateLed(checked ? QColor(0, 128, 0) : palette().color(QPalette::Button));
}

void TMidiMainForm::colourUpdateLed(const QColor &colour)
{
    QPalette pal = ledupdate->palette();
    pal.setColor(QPalette::Window, colour);
    ledupdate->setPalette(pal);
}

int TMidiMainForm::barsHeight() const
{
    return menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
}

void TMidiMainForm::Half1Click()
{
    // Half keeps the top bar and the tone rows whole and ends below them;
    // the lower panels go as a whole rather than being cut through.
    lowerPanels_->hide();
    content_->layout()->activate();
    const QSize need = content_->minimumSizeHint();
    resize(std::max(HalfWidth, need.width()), need.height() + barsHeight());
}

void TMidiMainForm::Full1Click()
{
    lowerPanels_->show();
    content_->layout()->activate();
    // The desktop's fonts may need more room than the classic size.
    const QSize need = content_->minimumSizeHint();
    resize(std::max(FullWidth, need.width()), std::max(FullHeight, need.height() + barsHeight()));
}

void TMidiMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutContent();
}

void TMidiMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Restoring a minimised window is no new showing; a fetch in progress
    // keeps its lock.
    if (event->spontaneous())
        return;
    if (!waveListsFilled_)
        FillWaveGroupLists();
    state_.SendLock = true;
    B_UpdateAllClick();
    mainShown_ = true;
}

bool TMidiMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !MHintsOn->isChecked())
        return true;
    // The name field would keep Ctrl+A for selecting its text; here it is
    // "Update Now" wherever the focus is.
    if (watched == EPtchName && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_A)) {
        event->ignore();
        return true;
    }
    // Leaving a field for another control counts; a window losing the
    // focus (a message box, another screen) does not.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == EPtchName)
            EPtchNameChange();
        else if (watched == CbVoiceP)
            CbVoicePChange();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMidiMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    MExitClick();
}

bool TMidiMainForm::FormCloseQuery()
{
    const QString state = state_.PatchModified
                              ? QStringLiteral(" Patch CHANGED, click Cancel to Save first.")
                              : QStringLiteral(" Patch NOT changed since last save.");
    return info_.Confirm(state + QStringLiteral("\r\r Exit TessivaW99 ?"), windowTitle());
}

void TMidiMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMidiMainForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    OpenDroppedFile(urls.first().toLocalFile());
}

// Screen openers.

void TMidiMainForm::setWaitNote(QWidget *note)
{
    if (note)
        waitNote_ = note;
}

void TMidiMainForm::BeginScreenOpen(QWidget *button)
{
    setCursor(Qt::WaitCursor);
    if (button)
        button->setCursor(Qt::WaitCursor);
    if (waitNote_) {
        waitNote_->adjustSize();
        waitNote_->move(geometry().center() - waitNote_->rect().center());
        waitNote_->show();
    }
    QApplication::processEvents();
}

void TMidiMainForm::EndScreenOpen()
{
    if (waitNote_)
        waitNote_->hide();
    unsetCursor();
    for (QWidget *w : findChildren<QWidget *>())
        if (w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::WaitCursor)
            w->unsetCursor();
}

void TMidiMainForm::toneButtonClick(ToneScreen screen, int tone, QWidget *button)
{
    BeginScreenOpen(button);
    state_.CurrentTone = tone;
    if (screen == ToneScreen::Ctrl)
        Ltonekeus->setText(QString::number(tone) + QStringLiteral(" tmp=") + QString::number(tone));
    openToneScreen(screen, tone);
    EndScreenOpen();
}

void TMidiMainForm::commonButtonClick(CommonScreen screen, QWidget *button)
{
    BeginScreenOpen(button);
    openCommonScreen(screen);
    EndScreenOpen();
}

void TMidiMainForm::openToneScreen(ToneScreen screen, int tone)
{
    Q_EMIT toneScreenRequested(screen, tone);
}

void TMidiMainForm::openCommonScreen(CommonScreen screen)
{
    Q_EMIT commonScreenRequested(screen);
}

void TMidiMainForm::refreshOpenScreens(int tone)
{
    Q_EMIT refreshScreens(tone);
}

void TMidiMainForm::OpenDroppedFile(const QString &path)
{
    Q_EMIT fileDropped(path);
}

void TMidiMainForm::BGetPatchClick()
{
    Q_EMIT commandRequested(Command::GetPatch);
}

void TMidiMainForm::BSendPatchClick()
{
    Q_EMIT commandRequested(Command::SendPatch);
}

void TMidiMainForm::MSavetoJVClick()
{
    Q_EMIT commandRequested(Command::SaveToJv);
}

void TMidiMainForm::MOpenClick()
{
    Q_EMIT commandRequested(Command::OpenFile);
}

void TMidiMainForm::MSaveClick()
{
    Q_EMIT commandRequested(Command::SaveFile);
}

void TMidiMainForm::MSetMidiDevsClick()
{
    Q_EMIT commandRequested(Command::MidiSettings);
}

void TMidiMainForm::SpCopyClick()
{
    Q_EMIT commandRequested(Command::CopyTone);
}

void TMidiMainForm::BSysCtrlClick()
{
    Q_EMIT commandRequested(Command::SystemControl);
}

void TMidiMainForm::BreadiniClick()
{
    Q_EMIT commandRequested(Command::ReadSettings);
}

void TMidiMainForm::MOpenSysexClick()
{
    Q_EMIT commandRequested(Command::OpenSysex);
}

void TMidiMainForm::MSaveSysexClick()
{
    Q_EMIT commandRequested(Command::SaveSysex);
}

void TMidiMainForm::MGetNamesClick()
{
    Q_EMIT commandRequested(Command::GetNames);
}

void TMidiMainForm::MBankmanClick()
{
    Q_EMIT commandRequested(Command::BankManager);
}

void TMidiMainForm::MExitClick()
{
    Q_EMIT commandRequested(Command::Exit);
    if (hub_)
        hub_->closeMidi();
    QCoreApplication::quit();
}

// Patch and Perform mode.

void TMidiMainForm::selectPatchMode()
{
    SpBPatch->setChecked(true);
    SpBPerfClick(SpBPatch);
}

void TMidiMainForm::SpBPerfClick(QAbstractButton *button)
{
    EditMode mode = EditMode::Patch;
    if (button == SpBRhythm)
        mode = EditMode::Rhythm;
    else if (button == SpBPerf)
        mode = EditMode::Perform;
    switchMode(mode, false);
}

void TMidiMainForm::SpPartChange()
{
    // In Patch mode the part number only names the test notes' channel.
    if (state_.editMode() == EditMode::Patch)
        return;
    const EditMode mode =
        SpPart->value() == addr::RhythmPartNumber ? EditMode::Rhythm : EditMode::Perform;
    if (mode == state_.editMode() && state_.currentPart() + 1 == SpPart->value())
        return;
    switchMode(mode, true);
}

void TMidiMainForm::switchMode(EditMode mode, bool byUser)
{
    const EditMode previous = state_.editMode();
    {
        const QSignalBlocker quiet(SpPart);
        if (mode == EditMode::Patch)
            SpPart->setValue(1);
        else if (mode == EditMode::Rhythm)
            SpPart->setValue(addr::RhythmPartNumber);
        else if (SpPart->value() == addr::RhythmPartNumber)
            SpPart->setValue(1); // Perform edits a patch, and part 10 has none
    }
    if (mode == EditMode::Patch) {
        SpPart->hide();
        EPtchName->show();
        state_.setEditMode(EditMode::Patch);
        protocol_.SendDataSet(SoundModeAddress, SoundModePatch);
    } else {
        state_.setEditMode(mode, SpPart->value());
        SpPart->show();
        state_.SendLock = true;
        // The part's patch name, or the rhythm set's: both start the block.
        protocol_.RequestData(state_.commonAddress(addr::common::Name), addr::RequestNameSize);
        waitProcessing(ModeSwitchWaitMs);
        EPtchName->hide();
        protocol_.SendDataSet(SoundModeAddress, SoundModePerform);
    }
    waitBusy(ModeSwitchWaitMs);
    state_.SendLock = false;
    SpPart->setEnabled(true);
    showEditMode();
    Q_EMIT editModeChanged(previous, byUser);
}

// Buttons, title and status bar follow the mode; the patch controls rest
// while the rhythm set is edited, which has no patch to send them to.
void TMidiMainForm::showEditMode()
{
    const EditMode mode = state_.editMode();
    SpBPatch->setChecked(mode == EditMode::Patch);
    SpBPerf->setChecked(mode == EditMode::Perform);
    SpBRhythm->setChecked(mode == EditMode::Rhythm);
    for (QWidget *w : patchOnly_)
        w->setEnabled(mode != EditMode::Rhythm);
    switch (mode) {
    case EditMode::Patch:
        StatusEdit->setText(QStringLiteral("Editing the temporary patch"));
        break;
    case EditMode::Perform:
        StatusEdit->setText(
            QStringLiteral("Editing the patch of part %1").arg(state_.currentPart() + 1));
        break;
    case EditMode::Rhythm:
        StatusEdit->setText(
            QStringLiteral("Editing the rhythm set of part %1").arg(addr::RhythmPartNumber));
        break;
    }
    UpdateCaption();
}

void TMidiMainForm::waitBusy(int ms)
{
    QThread::msleep(ulong(ms));
}

void TMidiMainForm::waitProcessing(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, ms);
}

void TMidiMainForm::infoOnce(const QString &text)
{
    // One load can meet the same missing board in several tones.
    if (inUpdate_) {
        if (updateMessages_.contains(text))
            return;
        updateMessages_.append(text);
    }
    info_.ShowInfo(text);
}
