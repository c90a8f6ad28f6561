#include "editors/toneeditorform.h"

#include "core/editstate.h"
#include "core/loadscope.h"
#include "editors/editorhost.h"
#include "midi/sysexprotocol.h"
#include "midi/undogroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <algorithm>

namespace {
constexpr int MinChannel = 1;
constexpr int MaxChannel = 16;
constexpr int ReleaseVelocity = 0;
constexpr int ToneButtonWidth = 22;
constexpr int GroupGap = 12;
} // namespace

ToneEditorForm::~ToneEditorForm()
{
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

ToneEditorForm::ToneEditorForm(const Setup &setup, EditState &state, SysexProtocol &protocol,
                               EditorHost &host, QWidget *parent)
    : QWidget(parent), state_(state), protocol_(protocol), host_(host), setup_(setup)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    buildTopBar();
}

void ToneEditorForm::buildTopBar()
{
    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PTopBar"));
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setFrameShadow(QFrame::Raised);
    topBar_ = bar;
    topBarLayout_ = new QHBoxLayout(bar);
    topBarLayout_->setContentsMargins(6, 3, 6, 3);
    topBarLayout_->setSpacing(2);

    auto toneButton = [bar](const QString &name, int tone) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name + QString::number(tone));
        b->setText(QString::number(tone));
        b->setCheckable(true);
        b->setFixedWidth(ToneButtonWidth);
        return b;
    };

    topBarLayout_->addWidget(new QLabel(QStringLiteral("Tone Select:"), bar));
    selectGroup_ = new QButtonGroup(bar);
    selectGroup_->setExclusive(true);
    for (int t = 1; t <= int(select_.size()); ++t) {
        QToolButton *b = toneButton(QStringLiteral("SpT"), t);
        if (t == 1) {
            b->setToolTip(QStringLiteral("Chose Tone"));
            b->setChecked(true);
        }
        selectGroup_->addButton(b, t);
        topBarLayout_->addWidget(b);
        select_[std::size_t(t - 1)] = b;
        connect(b, &QToolButton::clicked, this, [this, t] { selectTone(t); });
    }
    topBarLayout_->addSpacing(GroupGap);
    topBarLayout_->addWidget(new QLabel(QStringLiteral("Tone Switch:"), bar));
    for (int t = 1; t <= int(switches_.size()); ++t) {
        QToolButton *b = toneButton(QStringLiteral("SpBTOn"), t);
        b->setToolTip(QStringLiteral("Tone On/Off"));
        topBarLayout_->addWidget(b);
        switches_[std::size_t(t - 1)] = b;
        connect(b, &QToolButton::clicked, this, [this, t] { toneSwitchClick(t); });
    }
    topBarLayout_->addSpacing(GroupGap);

    auto *copy = new QToolButton(bar);
    copy->setObjectName(setup_.copyName);
    copy->setText(QStringLiteral("Copy"));
    copy->setToolTip(QStringLiteral("Copy to Buffer"));
    connect(copy, &QToolButton::clicked, this, &ToneEditorForm::CopyClick);
    auto *paste = new QToolButton(bar);
    paste->setObjectName(setup_.pasteName);
    paste->setText(QStringLiteral("Paste"));
    paste->setToolTip(QStringLiteral("Paste from Buffer"));
    connect(paste, &QToolButton::clicked, this, &ToneEditorForm::PasteClick);
    bufferLabel_ = new QLabel(bar);
    bufferLabel_->setObjectName(setup_.bufferLabelName);
    topBarLayout_->addWidget(copy);
    topBarLayout_->addWidget(paste);
    topBarLayout_->addSpacing(4);
    topBarLayout_->addWidget(bufferLabel_);
    topBarLayout_->addStretch(1);
    showBufferState();
}

int ToneEditorForm::currentTone() const
{
    const int t = state_.CurrentTone;
    return t >= 1 && t <= int(select_.size()) ? t : 1;
}

bool ToneEditorForm::sendTone(int offset, int value)
{
    return protocol_.SendParameter(state_.toneAddress(currentTone(), offset), std::uint8_t(value));
}

void ToneEditorForm::loadControls(int tone)
{
    const LoadScope scope(state_);
    loadTone(tone);
}

void ToneEditorForm::refreshTone(int tone)
{
    const LoadScope scope(state_);
    if (setup_.refreshSetsSwitches)
        UpdateTones(tone);
    loadTone(tone);
    showBufferState();
}

void ToneEditorForm::reload()
{
    state_.CurrentTone = currentTone();
    const LoadScope scope(state_);
    UpdateTones(state_.CurrentTone);
    loadTone(state_.CurrentTone);
    showBufferState();
}

void ToneEditorForm::UpdateTones(int tone)
{
    if (tone >= 1 && tone <= int(select_.size()))
        select_[std::size_t(tone - 1)]->setChecked(true);
    for (int t = 1; t <= int(switches_.size()); ++t) {
        const bool on = setup_.switches == SwitchSource::MainWindow
                            ? host_.toneSwitchOn(t)
                            : state_.patchImage.tone(t, addr::tone::Switch) != 0;
        switches_[std::size_t(t - 1)]->setChecked(on);
    }
}

void ToneEditorForm::selectTone(int tone)
{
    select_[std::size_t(tone - 1)]->setChecked(true);
    state_.CurrentTone = tone;
    toneSelected(tone);
    loadControls(tone);
}

void ToneEditorForm::toneSwitchClick(int tone)
{
    // Only the clicked tone: the other buttons may be stale, and copying
    // them would switch tones the user never touched.
    host_.setToneSwitch(tone, switches_[std::size_t(tone - 1)]->isChecked());
}

void ToneEditorForm::CopyClick()
{
    state_.toneCopyBuffer.copy(state_.patchImage, currentTone(), setup_.copyFirst, setup_.copyLast);
    showBufferState();
}

void ToneEditorForm::PasteClick()
{
    const ToneCopyBuffer &buffer = state_.toneCopyBuffer;
    if (!buffer.holds(setup_.copyFirst, setup_.copyLast))
        return;
    const std::vector<std::uint8_t> bytes = buffer.bytes(setup_.copyFirst, setup_.copyLast);
    const addr::Address first = state_.toneAddress(currentTone(), setup_.copyFirst);
    const UndoGroup group(protocol_, QStringLiteral("Paste (tone %1)").arg(currentTone()), first,
                          int(bytes.size()));
    // The data set mirrors the bytes into the image, so the controls load
    // what the synthesizer now holds.
    protocol_.SendDataSet(first, bytes.data(), int(bytes.size()));
    loadControls(currentTone());
}

void ToneEditorForm::Release()
{
    const int channel = std::clamp(host_.partChannel(), MinChannel, MaxChannel);
    host_.sendShort(NoteOn + channel - MinChannel, host_.testNote(), ReleaseVelocity);
}

void ToneEditorForm::showBufferState()
{
    const ToneCopyBuffer &buffer = state_.toneCopyBuffer;
    const bool holds = buffer.holds(setup_.copyFirst, setup_.copyLast);
    bufferLabel_->setText(
        setup_.bufferPrefix +
        (holds ? QString::number(buffer.sourceTone(setup_.copyFirst)) : QStringLiteral("empty")));
}

QAbstractButton *ToneEditorForm::makeReleaseButton(const QString &name, const QString &caption,
                                                   QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, &ToneEditorForm::Release);
    return b;
}

void ToneEditorForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        unsetCursor();
        reload();
    }
}

void ToneEditorForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    const bool active = isActiveWindow();
    // Edits made on other screens or received meanwhile appear on return.
    // Queued, so a choice still on its way from a closing list popup is
    // sent before the controls reload, not overwritten by the old value.
    if (active && !wasActive_)
        QMetaObject::invokeMethod(this, &ToneEditorForm::reload, Qt::QueuedConnection);
    wasActive_ = active;
}
