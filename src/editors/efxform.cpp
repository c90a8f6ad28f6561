#include "editors/efxform.h"

#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/effecttables.h"
#include "core/loadscope.h"
#include "core/patchparameters.h"
#include "editors/editorhost.h"
#include "editors/efxanswerwait.h"
#include "midi/sysexprotocol.h"
#include "midi/undogroup.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>

namespace {
constexpr char WindowCaption[] = "Effects";
constexpr char PatchMode[] = "Patch";
constexpr char PerformanceMode[] = "Performance";
constexpr char ToPerformanceCaption[] = "Performance EFX Edit";
constexpr char ToPatchCaption[] = "Patch EFX Edit";

// Slider geometry: short lists get a short track with one tick per entry.
constexpr int ShortListMax = 10;
constexpr int PixelsPerEntry = 12;
constexpr int ShortTrackBase = 20;
constexpr int EveryEntryBelow = 18;
constexpr int EveryFifthBelow = 42;
constexpr int TenthsDivisor = 90;
constexpr int LongListMax = 120;
constexpr int LongDivisor = 97;
} // namespace

TEfxForm::TEfxForm(EditState &state, SysexProtocol &protocol, EditorHost &host, QWidget *parent)
    : QWidget(parent), state_(state), protocol_(protocol), host_(host)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("EfxForm"));
    setWindowTitle(QLatin1String(WindowCaption));
    buildControls();
    connectHandlers();
    refresh();
}

int TEfxForm::sliderHeight(int maximum)
{
    if (maximum >= ShortListMax)
        return TallSliderHeight;
    // The slider paints at least its minimum height; a shorter one would cut
    // the thumb of a two-entry list in half.
    return std::max(PixelsPerEntry * maximum + ShortTrackBase, int(TSliderBase::MinHeight));
}

int TEfxForm::sliderTicks(int maximum)
{
    if (maximum < EveryEntryBelow)
        return maximum + 1;
    if (maximum < EveryFifthBelow)
        return maximum / 5 + 1;
    // Up to the longest lists one tick per tenth of the track; only the
    // 91-entry phase list lies between the two named ranges.
    if (maximum <= LongListMax)
        return (10 * maximum) / TenthsDivisor;
    return (10 * maximum) / LongDivisor;
}

QString TEfxForm::EfxMode() const
{
    return QLatin1String(performance_ ? PerformanceMode : PatchMode);
}

addr::Address TEfxForm::efxAddress(int k) const
{
    if (performance_)
        return {addr::AreaTempPerformance, 0x00, addr::BlockCommon,
                std::uint8_t(PerformanceBase + k)};
    // The patch effect of the patch every other screen edits.
    return state_.commonAddress(PatchBase + k);
}

int TEfxForm::efxByte(int k) const
{
    if (!performance_)
        return state_.patchImage.common(PatchBase + k);
    const int offset = PerformanceBase + k;
    return state_.performance.commonKnown(offset) ? state_.performance.common(offset) : -1;
}

void TEfxForm::refresh()
{
    const LoadScope scope(state_);
    performance_ = state_.inPerformMode();
    efxType_ = efxByte(0);
    CbEFXType->setCurrentIndex(EffectTables::isKnownType(efxType_) ? efxType_ : -1);

    const auto listRow = [this](QComboBox *list, int k) {
        const int v = efxByte(k);
        list->setCurrentIndex(v < list->count() ? v : -1);
    };
    const auto position = [this](TSliderBase *slider, int k) {
        if (const int v = efxByte(k); v >= 0)
            slider->setPosition(v);
    };
    listRow(CbEFXOutAss, OutputAssignK);
    position(SlLevel, LevelK);
    position(SlChorus, ChorusK);
    position(SlReverb, ReverbK);
    listRow(sources_[0], Source1K);
    listRow(sources_[1], Source2K);
    for (int i = 0; i < 2; ++i)
        if (const int v = efxByte(i == 0 ? Depth1K : Depth2K); v >= 0)
            depths_[std::size_t(i)]->setValue(v - DepthCentre);

    // Until the performance's bytes have arrived there is nothing true to
    // show, and nothing an edit could safely start from.
    bool complete = true;
    for (int k = 0; k < ParameterCount; ++k)
        complete = complete && efxByte(k) >= 0;
    parameterArea_->setEnabled(complete);

    layoutSliders();
    showTitle();
}

void TEfxForm::showTitle()
{
    const EffectTables &tables = EffectTables::instance();
    QString type;
    if (EffectTables::isKnownType(efxType_))
        type = tables.typeName(efxType_);
    else if (efxType_ < 0)
        type = QStringLiteral("(waiting for the synthesizer)");
    else
        type = QStringLiteral("unknown type %1").arg(efxType_);
    STop1->setText(EfxMode() + QStringLiteral(" EFX ") + type);
    SpMode->setText(QLatin1String(performance_ ? ToPatchCaption : ToPerformanceCaption));
    setWindowTitle(QLatin1String(WindowCaption) + QStringLiteral(" - ") + EfxMode() +
                   QStringLiteral(" EFX"));
}

void TEfxForm::layoutSliders()
{
    const LoadScope scope(state_);
    const EffectTables &tables = EffectTables::instance();
    const EffectTables::Type &type = tables.type(efxType_);
    for (int s = 0; s < SlotCount; ++s) {
        sliders_[std::size_t(s)]->hide();
        labels_[std::size_t(s)]->setText(type.sliders[std::size_t(s)].label);
    }
    controlLabels_[0]->setText(type.control1Label);
    controlLabels_[1]->setText(type.control2Label);

    for (int s = 0; s < SlotCount; ++s) {
        const EffectTables::Slot &slot = type.sliders[std::size_t(s)];
        if (!slot.visible())
            continue;
        TSliddt *slider = sliders_[std::size_t(s)];
        const int maximum = std::max(0, tables.listSize(slot.list) - 1);
        slider->setMaxValue(maximum);
        // A byte past the new maximum (the old type's, before the answer to
        // the type change arrives) is refused; the slider stays put.
        if (const int v = efxByte(slot.offset); v >= 0)
            slider->setPosition(v);
        slider->setFixedHeight(sliderHeight(maximum));
        slider->setTicks(sliderTicks(maximum));
        showSliderText(s);
        slider->show();
    }

    const bool unknown = efxType_ >= 0 && !EffectTables::isKnownType(efxType_);
    LUnknownType->setVisible(unknown);
    if (unknown)
        LUnknownType->setText(
            QStringLiteral("Effect type %1 is none of the 40 types; choose one to edit it.")
                .arg(efxType_));
}

void TEfxForm::showSliderText(int slot)
{
    TSliddt *slider = sliders_[std::size_t(slot)];
    slider->setText(EffectTables::instance().valueText(efxType_, slot, slider->Position()));
}

void TEfxForm::sliderChanged(int slot)
{
    showSliderText(slot);
    const EffectTables::Slot &s = EffectTables::instance().slot(efxType_, slot);
    if (s.visible())
        sendK(s.offset, sliders_[std::size_t(slot)]->Position());
}

void TEfxForm::sendK(int k, int value)
{
    protocol_.SendParameter(efxAddress(k), std::uint8_t(value));
}

void TEfxForm::CbEFXTypeChange(int index)
{
    if (!EffectTables::isKnownType(index))
        return;
    // The synthesizer answers a new type with that type's defaults: the
    // type and the parameters it brings are taken back as one.
    const UndoGroup group(protocol_, PatchParameters::describe(efxAddress(0)), efxAddress(0),
                          ParameterCount);
    efxType_ = index;
    showTitle();
    sendK(0, index);
    // Give the synthesizer time to set the new type's defaults before it is
    // asked for them.
    waitProcessing(TypeChangeWaitMs);
    requestEffect();
    layoutSliders();
    // Should the answer not come, edits of the new layout must still go out.
    state_.SendLock = false;
}

void TEfxForm::SpModeClick()
{
    // The main window's own routine moves EditPrefix and the synthesizer's
    // sound mode together, so patch edits keep going to the patch that sounds.
    // With "Update from JV" on, the answer to the main window's own request
    // (the part's patch name) opens the lock in time for the sound mode.
    host_.setUpdateFromJv();
    host_.selectPerformMode(!state_.inPerformMode());
    performance_ = state_.inPerformMode();
    requestEffect();
    refresh();
    state_.SendLock = false;
}

void TEfxForm::requestEffect()
{
    // "Update from JV" makes the answer refresh every open screen.
    host_.setUpdateFromJv();
    EfxAnswerWait answer(protocol_,
                         performance_ ? EfxAnswerWait::Block::PerformanceCommon
                                      : EfxAnswerWait::Block::PatchCommon,
                         performance_ ? PerformanceBase : PatchBase);
    protocol_.RequestData(efxAddress(0), addr::sizeBytes(ParameterCount));
    if (!state_.MidiClosed)
        answer.wait(answerTimeoutMs_);
}

void TEfxForm::waitProcessing(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void TEfxForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    refresh();
    // Opened in Perform mode before the performance's effect ever arrived.
    if (performance_ && efxByte(0) < 0) {
        requestEffect();
        refresh();
        state_.SendLock = false;
    }
}

void TEfxForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The mixer edits the effect's level and sends too.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
}
