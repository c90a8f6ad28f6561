// The main window's parameter handlers and the load of its controls from the
// patch image.

#include "app/mainform.h"
#include "controls/lpanh.h"
#include "controls/sharppicture.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "editors/parametercontrol.h"
#include "midi/sysexprotocol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

namespace {
constexpr int PanCentre = 64;
constexpr int OctaveCentre = 3;
constexpr int NibbleBits = 4;
constexpr int NibbleMask = 0x0F;
constexpr int BoosterStepDb = 6;
constexpr int MaxBoosterStep = 3;
// Stored structure types whose pair runs through the booster.
constexpr int FirstBoosterStructure = 2;
constexpr int LastBoosterStructure = 3;
constexpr char16_t FirstNameChar = 0x20;
constexpr char StructurePicture[] = "STRU1-%1.BMP";

constexpr std::uint8_t StructureOffset[] = {addr::common::Structure12, addr::common::Structure34};
constexpr std::uint8_t BoosterOffset[] = {addr::common::Booster12, addr::common::Booster34};
} // namespace

// Every one-byte edit goes through the guard that compares with that
// parameter's own current byte; a value another control happened to send
// last is no reason to keep an edit from the synthesizer.
void TMidiMainForm::sendCommon(int offset, std::uint8_t value)
{
    protocol_.SendParameter(state_.commonAddress(offset), value);
}

void TMidiMainForm::sendTone(int tone, int offset, std::uint8_t value)
{
    protocol_.SendParameter(state_.toneAddress(tone, offset), value);
}

void TMidiMainForm::SlLevelChange(TSliderBase *sender)
{
    int offset = addr::common::PatchLevel;
    if (sender == SlChorus)
        offset = addr::common::ChorusLevel;
    else if (sender == SlReverb)
        offset = addr::common::ReverbLevel;
    else if (sender == SlAnaFeel)
        offset = addr::common::AnalogFeel;
    sendCommon(offset, std::uint8_t(sender->Position()));
}

void TMidiMainForm::SlPPanChange()
{
    const auto value = std::uint8_t(SlPPan->Position() + PanCentre);
    LPPan->setValue(value);
    sendCommon(addr::common::PatchPan, value);
}

void TMidiMainForm::SpOctaveSChange()
{
    sendCommon(addr::common::OctaveShift, std::uint8_t(SpOctaveS->value() + OctaveCentre));
}

void TMidiMainForm::SpTretchTChange()
{
    sendCommon(addr::common::StretchTune, std::uint8_t(SpTretchT->value()));
}

void TMidiMainForm::CbVoicePChange()
{
    if (CbVoiceP->currentIndex() >= 0)
        sendCommon(addr::common::VoicePriority, std::uint8_t(CbVoiceP->currentIndex()));
}

void TMidiMainForm::SpStruct12Change()
{
    structureChanged(0);
}

void TMidiMainForm::SpStruct34Change()
{
    structureChanged(1);
}

void TMidiMainForm::showStructure(int pair)
{
    const int shown = (pair == 0 ? SpStruct12 : SpStruct34)->value();
    // A picture that is missing or unreadable leaves the frame empty; the
    // structure itself is still sent.
    const QPixmap picture = ctl::loadSharpPicture(
        programDir_ + QString::fromLatin1(StructurePicture).arg(shown), devicePixelRatioF());
    Image[std::size_t(pair)]->setPixmap(picture);

    const int stored = shown - 1;
    const bool booster = stored >= FirstBoosterStructure && stored <= LastBoosterStructure;
    SPboost[std::size_t(pair)]->setVisible(booster);
    Lboost[std::size_t(pair)]->setVisible(booster);
    // One caption serves both pairs, so it stays while either pair has one.
    STBooster->setVisible(SPboost[0]->isVisibleTo(content_) || SPboost[1]->isVisibleTo(content_));
}

void TMidiMainForm::structureChanged(int pair)
{
    showStructure(pair);
    const int shown = (pair == 0 ? SpStruct12 : SpStruct34)->value();
    sendCommon(StructureOffset[pair], std::uint8_t(shown - 1));
}

void TMidiMainForm::updateBoosterLabel(int pair, int step)
{
    Lboost[std::size_t(pair)]->setText(QLatin1Char('+') + QString::number(step * BoosterStepDb));
}

void TMidiMainForm::boosterStep(int pair, int delta)
{
    int step = state_.patchImage.common(BoosterOffset[pair]);
    if (delta < 0) {
        if (step <= 0)
            return;
        --step;
    } else if (step < MaxBoosterStep) {
        ++step;
    }
    updateBoosterLabel(pair, step);
    sendCommon(BoosterOffset[pair], std::uint8_t(step));
}

void TMidiMainForm::SpDefTempoChange()
{
    const int tempo = SpDefTempo->Value();
    const std::uint8_t bytes[] = {std::uint8_t(tempo >> NibbleBits),
                                  std::uint8_t(tempo & NibbleMask)};
    protocol_.SendDataSet(state_.commonAddress(addr::common::TempoHigh), bytes, 2);
}

void TMidiMainForm::EPtchNameChange()
{
    if (state_.SendLock)
        return;
    LastPatchFile.clear();
    const auto name = ParameterControl::nameBytes(EPtchName);
    protocol_.SendDataSet(state_.commonAddress(addr::common::Name), name.data(),
                          int(name.size()));
}

void TMidiMainForm::ChkTone1Click(int tone)
{
    sendTone(tone, addr::tone::Switch, tones_[std::size_t(tone - 1)].ChkTone->isChecked() ? 1 : 0);
}

void TMidiMainForm::CbOutput1Change(int tone)
{
    const int row = tones_[std::size_t(tone - 1)].CbOutput->currentIndex();
    if (row >= 0)
        sendTone(tone, addr::tone::OutputAssign, std::uint8_t(row));
}

void TMidiMainForm::SpLevOut1Change(int tone)
{
    sendTone(tone, addr::tone::OutputLevel,
             std::uint8_t(tones_[std::size_t(tone - 1)].SpLevOut->Value()));
}

void TMidiMainForm::B_UpdateAllClick()
{
    state_.SendLock = true;
    inUpdate_ = true;
    updateMessages_.clear();
    loadCommonControls();
    // Loading a wave number selects that tone; the screens stay on theirs.
    const int tone = state_.CurrentTone;
    for (int t = 1; t <= addr::ToneCount; ++t)
        loadToneControls(t);
    state_.CurrentTone = tone;
    if (state_.CurrentTone == 0)
        state_.CurrentTone = 1;
    inUpdate_ = false;
    refreshOpenScreens(state_.CurrentTone);
    state_.SendLock = false;
    unsetCursor();
    BGetPatch->unsetCursor();
}

void TMidiMainForm::loadCommonControls()
{
    const PatchImage &img = state_.patchImage;
    EPtchName->clear();
    for (int i = 0; i < addr::PatchNameSize; ++i) {
        const char16_t c = img.common(addr::common::Name + i);
        EPtchName->insert(QString(QChar(c < FirstNameChar ? char16_t(' ') : c)));
    }
    SpDefTempo->setValue(img.tempo());
    SlLevel->setPosition(img.common(addr::common::PatchLevel));
    SlPPan->setPosition(img.common(addr::common::PatchPan) - PanCentre);
    LPPan->setValue(SlPPan->Position() + PanCentre);
    SlChorus->setPosition(img.common(addr::common::ChorusLevel));
    SlReverb->setPosition(img.common(addr::common::ReverbLevel));
    SlAnaFeel->setPosition(img.common(addr::common::AnalogFeel));
    SpOctaveS->setValue(img.common(addr::common::OctaveShift) - OctaveCentre);
    SpTretchT->setValue(img.common(addr::common::StretchTune));
    CbVoiceP->setCurrentIndex(img.common(addr::common::VoicePriority));
    for (int pair = 0; pair < 2; ++pair) {
        QSpinBox *spin = pair == 0 ? SpStruct12 : SpStruct34;
        const QSignalBlocker quiet(spin);
        spin->setValue(img.common(StructureOffset[pair]) + 1);
        showStructure(pair);
        updateBoosterLabel(pair, img.common(BoosterOffset[pair]));
    }
}

void TMidiMainForm::loadToneControls(int tone)
{
    const PatchImage &img = state_.patchImage;
    ToneRow &r = tones_[std::size_t(tone - 1)];
    r.ChkTone->setChecked(img.tone(tone, addr::tone::Switch) != 0);
    const int row = WaveGroupIndex(img.tone(tone, addr::tone::WaveGroupType),
                                   img.tone(tone, addr::tone::WaveGroupId));
    r.CbSource->setCurrentIndex(row);
    r.groupRow = row;
    r.SpcWave->setMaxValue(WaveGroupCount(row));
    r.SpcWave->setValue(img.waveNumber(tone) + 1);
    const int wave = r.SpcWave->Value() - 1;
    state_.ToneWaveNumber[std::size_t(tone - 1)] = std::uint8_t(wave);
    ShowWaveName(row, wave, tone);
    r.CbOutput->setCurrentIndex(img.tone(tone, addr::tone::OutputAssign));
    r.SpLevOut->setValue(img.tone(tone, addr::tone::OutputLevel));
}
