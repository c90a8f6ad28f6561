#include "app/performancecommands.h"

#include "app/mainform.h"
#include "app/mainformtransfer.h"
#include "core/editstate.h"
#include "core/infosink.h"

namespace {
const QString MidiClosedText = QStringLiteral("Midi Closed\rSelect Midi Devices");
constexpr char WriteTitle[] = "Write To JV ~ XP";
} // namespace

PerformanceCommands::PerformanceCommands(TMidiMainForm &form, EditState &state, InfoSink &info,
                                         SysexProtocol &protocol, MainFormTransfer &patches)
    : QObject(&form), form_(form), state_(state), info_(info), patches_(patches),
      engine_(state, protocol)
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
        if (confirmWrite(QStringLiteral("performance"), place))
            engine_.SavePerformance(false, place);
        break;
    case T::GetRhythm:
        fetch(PerformanceTransfer::Content::Rhythm);
        break;
    case T::SendRhythm:
        engine_.SendRhythm();
        break;
    case T::WriteRhythm:
        if (confirmWrite(QStringLiteral("rhythm set"), place))
            engine_.SaveRhythm(false, place);
        break;
    }
}

void PerformanceCommands::fetch(PerformanceTransfer::Content content)
{
    // The answers refresh the open screens once they are in.
    form_.setUpdateFromJv(true);
    if (content == PerformanceTransfer::Content::Performance)
        engine_.GetPerformance();
    else
        engine_.GetRhythm();
}

void PerformanceCommands::fetchFinished(PerformanceTransfer::Outcome outcome)
{
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
