#pragma once
// Whole transfers of the temporary performance and of the rhythm set of
// part 10: fetch, send, and write into a USER place, as the performance
// and rhythm windows ask for them; and, after the user chose another mode
// or part, the fetch of what is then edited. The start-up makes one beside
// MainFormTransfer, as a child of the main window:
//     new PerformanceCommands(form, state, info, protocol, *transfer);

#include "editors/editorhost.h"
#include "midi/performancetransfer.h"

#include <QObject>
#include <functional>

class EditState;
enum class EditMode;
class InfoSink;
class MainFormTransfer;
class SysexProtocol;
class TMidiMainForm;

class PerformanceCommands : public QObject
{
    Q_OBJECT
public:
    PerformanceCommands(TMidiMainForm &form, EditState &state, InfoSink &info,
                        SysexProtocol &protocol, MainFormTransfer &patches);

    PerformanceTransfer &engine() { return engine_; }

    void run(EditorHost::Transfer what, int place);
    // After a change of mode or part: the performance first when the unit
    // played no performance before, then the part's patch or the rhythm set.
    void fetchEdited(EditMode previous);

private:
    bool refuseWhenClosed();
    bool confirmWrite(const QString &what, int place);
    void fetch(PerformanceTransfer::Content content);
    void fetchFinished(PerformanceTransfer::Outcome outcome);

    TMidiMainForm &form_;
    EditState &state_;
    InfoSink &info_;
    SysexProtocol &protocol_;
    MainFormTransfer &patches_;
    PerformanceTransfer engine_;
    // What a fetch of the performance is followed by, once it has ended.
    std::function<void()> then_;
    bool fetchStepOpen_ = false;
};
