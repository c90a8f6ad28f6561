#include "editors/mixerform.h"

#include "controls/lpanh.h"
#include "controls/mbutt.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "core/displaytables.h"
#include "core/editstate.h"
#include "core/loadscope.h"
#include "editors/editorhost.h"
#include "midi/sysexprotocol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <algorithm>

namespace {
constexpr int MinChannel = 1;
constexpr int MaxChannel = 16;
constexpr int ReleaseVelocity = 0;
} // namespace

TMixerForm::TMixerForm(EditState &state, SysexProtocol &protocol, EditorHost &host, QWidget *parent)
    : QWidget(parent), state_(state), protocol_(protocol), host_(host)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("MixerForm"));
    setWindowTitle(QStringLiteral("Mixer"));
    buildControls();
    connectHandlers();
    refresh();
}

void TMixerForm::sendTone(int tone, int offset, int value)
{
    protocol_.SendParameter(state_.toneAddress(tone, offset), std::uint8_t(value));
}

void TMixerForm::sendCommon(int offset, int value)
{
    protocol_.SendParameter(state_.commonAddress(offset), std::uint8_t(value));
}

void TMixerForm::refresh()
{
    const LoadScope scope(state_);
    const PatchImage &image = state_.patchImage;
    const auto load = [&image](TSliderBase *slider, int offset) {
        slider->setPosition(image.common(offset));
    };
    const auto row = [](QComboBox *list, int value) {
        list->setCurrentIndex(value < list->count() ? value : -1);
    };

    load(SlMaster, addr::common::PatchLevel);
    load(SlPanM, addr::common::PatchPan);
    load(SlLevE, EfxLevel);
    load(SLCSE, EfxChorusSend);
    load(SlRSE, EfxReverbSend);
    row(CbOutE, image.common(EfxOutput));
    load(SlLevC, addr::common::ChorusLevel);
    load(SlRSC, addr::common::ChorusLevel);
    load(SLCRate, ChorusRate);
    load(SlCdepth, ChorusDepth);
    load(SlCpredly, ChorusPreDelay);
    load(SlCfeedbck, ChorusFeedback);
    row(CbOutC, image.common(ChorusOutput));
    showChorusRoute(image.common(ChorusOutput));
    row(CbRevType, image.common(ReverbType));
    load(SlLevR, addr::common::ReverbLevel);
    load(SlRTime, ReverbTime);
    load(SlRHFdamp, ReverbHfDamp);
    load(SlRfeedbck, DelayFeedback);

    for (int t = 1; t <= ToneCount; ++t) {
        Strip &s = strips_[std::size_t(t - 1)];
        const bool on = image.tone(t, addr::tone::Switch) > 0;
        s.SpBTOn->setChecked(on);
        // Mute is the tone switch itself: a tone that is on is not muted, and
        // a muted tone keeps its M button so it can always be unmuted.
        if (on)
            s.MButt->setDown(false);
        else
            s.SButt->setDown(false);
        s.MButt->setEnabled(on || s.MButt->Down());
        s.SButt->setEnabled(on);
        s.LL->setText(host_.waveName(t));
        s.SlLev->setPosition(image.tone(t, addr::tone::OutputLevel));
        s.SlP->setPosition(image.tone(t, TonePan));
        row(s.CbOut, image.tone(t, addr::tone::OutputAssign));
        s.SlCS->setPosition(image.tone(t, addr::tone::ChorusSend));
        s.SlRS->setPosition(image.tone(t, addr::tone::ReverbSend));
    }
    showIndicators();
}

void TMixerForm::showIndicators()
{
    bool muted = false;
    bool solo = false;
    for (const Strip &s : strips_) {
        muted = muted || s.MButt->Down();
        solo = solo || s.SButt->Down();
    }
    MuteOn->setDown(muted);
    SoloOn->setDown(solo);
}

void TMixerForm::setToneSwitch(int tone, bool on)
{
    Strip &s = strips_[std::size_t(tone - 1)];
    s.SpBTOn->setChecked(on);
    s.MButt->setEnabled(true);
    s.SButt->setEnabled(on);
    if (on)
        s.MButt->setDown(false);
    else
        s.SButt->setDown(false);
    showIndicators();
    // The main window's box sends the switch when it changes; the guarded
    // send covers a box that already showed the new state.
    host_.setToneSwitch(tone, on);
    sendTone(tone, addr::tone::Switch, on ? 1 : 0);
}

void TMixerForm::toneSwitchClick(int tone)
{
    setToneSwitch(tone, strips_[std::size_t(tone - 1)].SpBTOn->isChecked());
}

void TMixerForm::MButtClick(int tone)
{
    // The press has already flipped M; a muted tone is a tone switched off.
    setToneSwitch(tone, !strips_[std::size_t(tone - 1)].MButt->Down());
}

void TMixerForm::SButtClick(int)
{
    showIndicators();
}

void TMixerForm::showChorusRoute(int output)
{
    const bool toReverb = output == ChorusToReverb;
    chorusToReverbBox_->setVisible(toReverb);
    chorusLevelBox_->setVisible(!toReverb);
}

void TMixerForm::CbOutCChange(int index)
{
    sendCommon(ChorusOutput, index);
    showChorusRoute(index);
}

void TMixerForm::showPan(TSliddt *slider)
{
    const int p = std::clamp(slider->Position(), 0, DisplayTables::PanCount - 1);
    slider->setText(DisplayTables::instance().PanTexts[std::size_t(p)]);
}

void TMixerForm::chorusLevelChange(TSliderBase *slider)
{
    if (state_.SendLock)
        return;
    const int v = slider->Position();
    // Both sliders edit the chorus level; the hidden one follows quietly.
    {
        const LoadScope quiet(state_);
        (slider == SlLevC ? SlRSC : SlLevC)->setPosition(v);
    }
    host_.setMainSlider(EditorHost::MainSlider::Chorus, v);
    sendCommon(addr::common::ChorusLevel, v);
}

void TMixerForm::reverbLevelChange()
{
    if (state_.SendLock)
        return;
    host_.setMainSlider(EditorHost::MainSlider::Reverb, SlLevR->Position());
    sendCommon(addr::common::ReverbLevel, SlLevR->Position());
}

void TMixerForm::SlMasterChange()
{
    if (state_.SendLock)
        return;
    host_.setMainSlider(EditorHost::MainSlider::Level, SlMaster->Position());
    sendCommon(addr::common::PatchLevel, SlMaster->Position());
}

void TMixerForm::SlPanMChange()
{
    showPan(SlPanM);
    if (state_.SendLock)
        return;
    host_.setMainSlider(EditorHost::MainSlider::Pan, SlPanM->Position());
    sendCommon(addr::common::PatchPan, SlPanM->Position());
}

void TMixerForm::switchClick(QCheckBox *box, std::uint8_t offset)
{
    protocol_.SendParameter({addr::AreaSystem, 0x00, 0x00, offset}, box->isChecked() ? 1 : 0);
}

void TMixerForm::BitBtn1Click()
{
    const int channel = std::clamp(host_.partChannel(), MinChannel, MaxChannel);
    host_.sendShort(NoteOn + channel - MinChannel, host_.testNote(), ReleaseVelocity);
}

void TMixerForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        refresh();
}

void TMixerForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
}
