#pragma once
// Undo and redo of every edit. The protocol reports each data set before its
// bytes land (EditRecorder), so a step holds the bytes an edit replaced and
// the bytes it brought, looked up through SendGuard::current: the patch
// image, the performance and rhythm buffers, and whatever else the editor
// keeps of what it sent. Undo sends the old bytes again, so the synthesizer follows.
//
// Grouping. While a gesture lasts (a mouse button or a key held on a
// control) every data set joins one step, so a slider drag or a spin roll is
// taken back at once; consecutive data sets to the same address inside it
// share one record. A load (UndoGroup) keeps the whole image, the blocks of
// the performance or rhythm set, or a run of bytes, as they were when it
// began and as they are when it ends.
//
// The history is bounded by a step count and a byte budget; the oldest steps
// go first. It lives beside EditState for the whole run and is handed on by
// reference.

#include "core/addressmap.h"
#include "midi/editrecorder.h"
#include "midi/patchtransfer.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class EditState;
class SysexProtocol;

class EditHistory : public QObject, public EditRecorder
{
    Q_OBJECT
public:
    static constexpr int DefaultStepLimit = 10000;
    static constexpr qsizetype DefaultByteBudget = qsizetype(16) * 1024 * 1024;

    enum class Result
    {
        Done,    // the bytes went out and into the editor's memory
        Offline, // MIDI is closed: the editor's memory followed, the synth did not
        Nothing, // no step to take back or bring again
        Locked,  // a load or a fetch is running (SendLock): try again after it
        Busy,    // an undo or redo is still sending
    };
    Q_ENUM(Result)

    EditHistory(EditState &state, SysexProtocol &protocol, QObject *parent = nullptr);
    ~EditHistory() override;

    // EditRecorder
    void dataSetSending(const addr::Address &adrs, const std::uint8_t *data, int count) override;
    void beginGroup(const QString &label, const Region &region) override;
    void endGroup() override;

    // A user gesture on a control starts and ends.
    void beginGesture();
    void endGesture();

    Result undo();
    Result redo();
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    int undoCount() const { return int(undo_.size()); }
    int redoCount() const { return int(redo_.size()); }
    // What the next undo or redo takes back: "Cutoff (tone 2)", "Open
    // Strings.pat". Empty when there is none.
    QString undoText() const;
    QString redoText() const;
    void clear();

    void setLimits(int steps, qsizetype bytes);
    int stepLimit() const { return stepLimit_; }
    // Memory the steps hold, headers included.
    qsizetype bytesUsed() const { return bytes_; }

Q_SIGNALS:
    // The steps or their texts changed (an edit, an undo, a redo).
    void changed();
    // An undo or redo wrote bytes: every screen must show the image again.
    void applied();

private:
    struct Record
    {
        bool wholeImage = false;
        addr::Address address{};
        int count = 0;
        // count bytes before, then count bytes after.
        std::vector<std::uint8_t> bytes;
        const std::uint8_t *before() const { return bytes.data(); }
        const std::uint8_t *after() const { return bytes.data() + count; }
        bool changes() const;
    };
    struct Step
    {
        QString label; // loads; edits are named by their first record
        std::vector<Record> records;
        quint64 gesture = 0;
        bool open = true; // later data sets of its gesture or group join it
        Region region{};
        bool hasRegion = false;
        bool paced = false; // a whole performance or rhythm set
    };

    bool readBytes(const addr::Address &adrs, int count, std::uint8_t *out) const;
    bool coveredByRegion(const Step &step, const addr::Address &adrs, int count) const;
    static void addRecord(Step &step, const addr::Address &adrs, const std::uint8_t *before,
                          const std::uint8_t *after, int count);
    static void dropUnchanged(Step &step);
    void push(Step step);
    void closeTop();
    void trim();
    Result move(bool back);
    Result apply(Step &step, bool back);
    void write(const Record &record, const std::uint8_t *bytes, bool offline);
    QString textOf(const Step &step) const;
    static qsizetype footprint(const Step &step);

    EditState &state_;
    SysexProtocol &protocol_;
    PatchTransfer transfer_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    // The step of the open group, outside the history until it ends.
    std::optional<Step> group_;
    int groupDepth_ = 0;
    quint64 gesture_ = 0;
    bool gestureOpen_ = false;
    bool applying_ = false;
    int stepLimit_ = DefaultStepLimit;
    qsizetype byteBudget_ = DefaultByteBudget;
    qsizetype bytes_ = 0;
};
