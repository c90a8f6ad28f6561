#include "app/performancecommands.h"

#include "app/mainform.h"
#include "app/mainformtransfer.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "midi/editrecorder.h"
#include "midi/sysexprotocol.h"

namespace {
const QString MidiClosedText = QStringLiteral("Midi Closed\rSelect Midi Devices");
constexpr char WriteTitle[] = "Write To JV ~ XP";
constexpr char GetPerformanceStep[] = "Get Performance";
constexpr char GetRhythmStep[] = "Get Rhythm Set";
} // namespace

PerformanceCommands::PerformanceCommands(TMidiMainForm &form, EditState &state, InfoSink &info,
                                         SysexProtocol &protocol, MainFormTransfer &patches)
    : QObject(&form), form_(form), state_(state), info_(info), protocol_(protocol),
      patches_(patches), engine_(state, protocol)
{
    setObjectName(QStringLiteral("PerformanceCommands"));
    connect(&form, &TMidiMainForm::transferRequested, this, &PerformanceCommands::run);
    connect(&form, &TMidiMainForm::editModeChanged, this, [this](EditMode previous, bool byUser) {
        if (byUser)
            fetchEdited(previous);
    });
    connect(&engine_, &PerformanceTransfer::fetchFinished, this,
            &PerformanceCommands::fetchFinished);
}

bool PerformanceCommands::refuseWhenClosed()
{
    if (!state_.MidiClosed)
        return false;
    info_.ShowInfo(MidiClosedText);
    return true;
}

bool PerformanceCommands::confirmWrite(const QString &what, int place)
{
    return info_.Confirm(QStringLiteral("This will overwrite USER %1 %2 in the JV.\r"
                                        "Press Cancel when you are not sure!")
                             .arg(what)
                             .arg(place),
                         QLatin1String(WriteTitle));
}

void PerformanceCommands::run(EditorHost::Transfer what, int place)
{
    using T = EditorHost::Transfer;
    if (refuseWhenClosed())
        return;
    switch (what) {
    case T::GetPerformance:
        fetch(PerformanceTransfer::Content::Performance);
        break;
    case T::SendPerformance:
        engine_.SendPerformance();
        break;
    case T::WritePerformance:
        if (confirmWrite(QStringLiteral("performance"), place)) {
            engine_.SavePerformance(false, place);
            // What Compare plays from now on.
            state_.savedPerformance = state_.performance;
        }
        break;
    case T::GetRhythm:
        fetch(PerformanceTransfer::Content::Rhythm);
        break;
    case T::SendRhythm:
        engine_.SendRhythm();
        break;
    case T::WriteRhythm:
        if (confirmWrite(QStringLiteral("rhythm set"), place)) {
            engine_.SaveRhythm(false, place);
            state_.savedRhythm = state_.rhythm;
        }
        break;
    }
}

void PerformanceCommands::fetch(PerformanceTransfer::Content content)
{
    // The answers refresh the open screens once they are in.
    form_.setUpdateFromJv(true);
    // The whole fetch is one undo step; a fetch asked for again while one
    // runs stays inside it.
    const bool performance = content == PerformanceTransfer::Content::Performance;
    if (!engine_.fetching() && !fetchStepOpen_ && protocol_.recorder()) {
        protocol_.recorder()->beginGroup(
            QLatin1String(performance ? GetPerformanceStep : GetRhythmStep),
            EditRecorder::Region{true,
                                 {},
                                 0,
                                 performance ? EditRecorder::Buffer::Performance
                                             : EditRecorder::Buffer::Rhythm});
        fetchStepOpen_ = true;
    }
    if (content == PerformanceTransfer::Content::Performance)
        engine_.GetPerformance();
    else
        engine_.GetRhythm();
}

void PerformanceCommands::fetchFinished(PerformanceTransfer::Outcome outcome)
{
    if (fetchStepOpen_) {
        fetchStepOpen_ = false;
        if (protocol_.recorder())
            protocol_.recorder()->endGroup();
    }
    // What the synthesizer holds now is what Compare plays.
    if (outcome == PerformanceTransfer::Outcome::Complete) {
        if (engine_.content() == PerformanceTransfer::Content::Performance)
            state_.savedPerformance = state_.performance;
        else
            state_.savedRhythm = state_.rhythm;
    }
    if (outcome != PerformanceTransfer::Outcome::Complete)
        info_.ShowInfo(
            PerformanceTransfer::failureText(engine_.content(), outcome, engine_.missingBlocks()));
    if (then_) {
        const std::function<void()> next = std::move(then_);
        then_ = nullptr;
        next();
    }
}

void PerformanceCommands::fetchEdited(EditMode previous)
{
    // A mode change with MIDI closed has said so already.
    if (state_.MidiClosed)
        return;
    const EditMode mode = state_.editMode();
    std::function<void()> edited;
    if (mode == EditMode::Rhythm)
        edited = [this] { fetch(PerformanceTransfer::Content::Rhythm); };
    else
        edited = [this] { patches_.BGetPatchClick(); };
    // One fetch at a time: the unit drops requests that come while it answers.
    if (previous == EditMode::Patch && mode != EditMode::Patch) {
        then_ = std::move(edited);
        fetch(PerformanceTransfer::Content::Performance);
    } else {
        edited();
    }
}
