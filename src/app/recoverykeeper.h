#pragma once
// Keeps the edited patch in the recovery file: a few seconds after the patch
// last changed it is written there, and once it equals the patch as last
// opened, fetched or saved the file goes. The temporary performance and the
// rhythm set are kept the same way, measured against their last fetched or
// written versions; only a wholly known one counts, since the rest of it
// would be the editor's placeholders. At start a file left behind (a crash,
// or an exit with changes) is offered back; at exit the file is brought up
// to date at once. Polls the buffers, so every change counts, whatever made
// it.

#include "core/patchimage.h"
#include "core/performanceimage.h"
#include "core/recoveryfile.h"
#include "core/rhythmimage.h"
#include "midi/performancetransfer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class EditState;
class InfoSink;
class MainFormTransfer;
class SysexProtocol;
class TMidiMainForm;

class RecoveryKeeper : public QObject
{
    Q_OBJECT
public:
    // The patch is written once it has stayed unchanged this long.
    static constexpr int QuietMs = 3000;
    static constexpr int CheckMs = 500;
    static const QString OfferTitle;

    RecoveryKeeper(EditState &state, InfoSink &info, TMidiMainForm &form,
                   MainFormTransfer &transfer, SysexProtocol &protocol,
                   RecoveryFile file = RecoveryFile());

    // The "AutoSave" setting: off, nothing is written or removed.
    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    const RecoveryFile &file() const { return file_; }

    // At start: asks whether to restore a recovery file left behind, and
    // loads it when the user agrees; a declined or unreadable one is set
    // aside. Asks nothing when there is none. True when something was
    // restored.
    bool offer();
    // At exit: writes the changed patch now, or removes the file of a clean
    // one.
    void flush();

private:
    // Everything the file is measured by.
    struct Seen
    {
        PatchImage patch;
        PatchImage savedPatch;
        PerformanceImage performance;
        PerformanceImage savedPerformance;
        RhythmImage rhythm;
        RhythmImage savedRhythm;
        bool operator==(const Seen &) const = default;
    };
    static Seen seenOf(const EditState &state);
    RecoveryFile::Contents changedNow() const;
    void check();
    void save();
    void restore(const RecoveryFile::Contents &contents);

    EditState &state_;
    InfoSink &info_;
    TMidiMainForm &form_;
    MainFormTransfer &transfer_;
    SysexProtocol &protocol_;
    PerformanceTransfer sets_;
    RecoveryFile file_;
    QTimer timer_;
    bool enabled_ = true;
    Seen seen_;
    QDateTime changedAt_;
    QElapsedTimer quiet_;
    bool pending_ = false;
    bool failureShown_ = false;
};
