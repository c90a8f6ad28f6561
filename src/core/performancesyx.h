#pragma once
// .syx files of a performance or a rhythm set: Roland DT1 messages, one per
// block, as a unit sends them. Reading checks every message and takes a
// performance or rhythm set only when all its blocks are whole; everything
// else is counted and named. Writing gives dumps that read back byte for
// byte. A file may hold the temporary performance (01 00), part 10's rhythm
// set (02 09), or USER/CARD places (10/20 pp, rhythm sets at 40 and 41).

#include "core/fileresult.h"
#include "core/performanceimage.h"
#include "core/rhythmimage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

struct PerformanceSyxReport
{
    bool ok = false; // at least one whole performance or rhythm set
    QString error;   // file-level failure (cannot open, too big, nothing whole)
    // The first whole one of each in the file; its known bytes are none,
    // as nothing of it has reached the unit yet.
    std::optional<PerformanceImage> performance;
    std::optional<RhythmImage> rhythm;
    // Some message was addressed to a performance or rhythm set place.
    bool found = false;
    // Whole ones in the file, the one taken included.
    int performances = 0;
    int rhythms = 0;
    int messages = 0;     // System Exclusive messages seen
    int skipped = 0;      // messages not used, each with a line in problems
    QStringList problems; // "key 40 of the rhythm set missing"
};

class PerformanceSyx
{
public:
    // The largest file read: every USER and CARD performance and rhythm set
    // is well below it.
    static constexpr qint64 MaxFileSize = qint64(1) * 1024 * 1024;

    // One DT1 per block to the temporary performance (17 messages, 555 bytes
    // at unit ID 17) or to part 10's rhythm set (65 messages, 4439 bytes).
    static QByteArray temporaryPerformance(const PerformanceImage &image, int unitId);
    static QByteArray temporaryRhythm(const RhythmImage &image, int unitId);
    // The same to USER (card false) or CARD performance 1..32 / rhythm set 1..2.
    static QByteArray storedPerformance(const PerformanceImage &image, bool card, int number,
                                        int unitId);
    static QByteArray storedRhythm(const RhythmImage &image, bool card, int number, int unitId);

    static PerformanceSyxReport parse(const QByteArray &bytes);
    // Reads and parses a file; refuses directories, devices and files too
    // large to be a dump.
    static PerformanceSyxReport read(const QString &path);
    // Writes atomically: the old file stays whole on failure.
    static FileResult write(const QString &path, const QByteArray &bytes);
};
