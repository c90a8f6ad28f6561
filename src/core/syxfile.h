#pragma once
// .syx files: Roland DT1 messages that hold whole patches, for the temporary
// patch (03 00), a performance part's patch (02 pp) or USER/CARD places
// (11 pp, 21 pp). Reading checks every message and uses a patch only when
// all five of its blocks are complete; everything else is counted and
// reported. Writing gives standard dumps that read back byte for byte.

#include "core/patchbank.h"
#include "core/patchfile.h"
#include "core/patchimage.h"
#include "core/sysexmessage.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Where a patch of a .syx file was addressed.
struct SyxPatch
{
    enum class Destination
    {
        Temporary, // 03 00
        Part,      // 02 pp, index = part 1..16
        User,      // 11 pp, index = place 1..128
        Card,      // 21 pp, index = place 1..128
    };
    Destination destination = Destination::Temporary;
    int index = 0;
    PatchImage image;

    // "USER 012", "CARD 005", "part 3" or "temporary patch".
    QString placeText() const;
};

// What reading a .syx file found.
struct SyxReadReport
{
    bool ok = false;         // the file could be read and held at least one patch
    QString error;           // file-level failure (cannot open, directory, too big, no patch)
    QList<SyxPatch> patches; // complete patches, in file order
    int messages = 0;        // System Exclusive messages seen
    // Messages or patches skipped, by reason.
    int badChecksum = 0;
    int incomplete = 0;   // patches with a block missing or cut short
    int otherModel = 0;   // not a Roland JV/XP (model 6A) data set
    int notPatch = 0;     // a valid data set for no patch place (system, performance)
    int malformed = 0;    // no F7, stray bytes, 8-bit data, truncated message
    int conflicting = 0;  // two copies of one block that differ
    QStringList problems; // one readable line each, e.g. "USER 12: tone 3 missing"

    // One line for the user: "46 patches read" plus the skipped counts.
    QString summary() const;
    // Everything skipped, whatever the reason.
    int skippedCount() const
    {
        return badChecksum + incomplete + otherModel + notPatch + malformed + conflicting;
    }
};

class SyxFile
{
public:
    static constexpr char Suffix[] = ".syx";
    // One patch as five messages: 72 + 4 x 129 data bytes, 11 framing
    // bytes each.
    static constexpr int PatchDumpSize =
        addr::CommonSize + addr::ToneCount * addr::ToneSize + addr::SlotCount * sysex::Overhead;
    // 128 USER and 128 CARD patches take 165 kB, with performances and any
    // chunking a unit uses well under 0.5 MB; anything past this is no
    // dump, and the limit keeps reading a wrong file quick and small.
    static constexpr qint64 MaxFileSize = qint64(4) * 1024 * 1024;

    static SyxReadReport parse(const QByteArray &bytes);
    // Reads and parses a file; refuses directories, devices and files too
    // large to be a dump.
    static SyxReadReport read(const QString &path);

    // The patch as five DT1 messages to the temporary patch (03 00 ..),
    // 643 bytes at unit ID 17. The writers give an empty array when the
    // image holds a byte above 7F or the unit ID makes no device byte.
    static QByteArray temporaryPatch(const PatchImage &image, int unitId);
    // The patch as five DT1 messages to USER (card false) or CARD place
    // 1..128.
    static QByteArray placePatch(const PatchImage &image, bool card, int place, int unitId);
    // Every filled place of the bank, USER-addressed, in place order.
    static QByteArray bank(const PatchBank &bank, int unitId);

    // The patches of a report as a bank: USER and CARD patches at their
    // places, others at the next free places. Patches that find no place
    // are counted in *dropped.
    static PatchBank toBank(const SyxReadReport &report, int *dropped = nullptr);

    // Writes bytes atomically (the old file stays whole on failure).
    static FileResult write(const QString &path, const QByteArray &bytes);

    static bool hasSyxSuffix(const QString &path);
};
