#pragma once
// The recovery file: the edited patch as a plain patch file, written a few
// seconds after each change, beside a small INI file that says when it was
// changed and which file it came from. A changed performance or rhythm set
// goes into a .syx dump beside them, as the unit would send it. It lives in
// the user's data folder and outlasts a crash or a quick exit; a clean patch,
// performance and rhythm set have none. Files from before the dump existed
// hold a patch alone and read as such.

#include "core/patchfile.h"
#include "core/patchimage.h"
#include "core/performanceimage.h"
#include "core/rhythmimage.h"

#include <QDateTime>
#include <QString>
#include <optional>

class RecoveryFile
{
public:
    static constexpr char PatchName[] = "recovery.pat";
    static constexpr char InfoName[] = "recovery.ini";
    // Where a declined or unreadable recovery goes, so it is out of the way
    // but not gone until the next one replaces it.
    static constexpr char AsideName[] = "recovery-declined.pat";
    static constexpr char AsideInfoName[] = "recovery-declined.ini";
    static constexpr char SetsName[] = "recovery-sets.syx";
    static constexpr char AsideSetsName[] = "recovery-declined-sets.syx";

    struct Contents
    {
        PatchImage image;
        QDateTime changed;
        QString patchFile; // the file the patch was opened from or saved to
        // Only a changed patch is kept; without one image means nothing.
        bool hasPatch = true;
        std::optional<PerformanceImage> performance{};
        std::optional<RhythmImage> rhythm{};
    };

    // The user's data folder under the names the settings use.
    static QString defaultFolder();

    explicit RecoveryFile(QString folder = defaultFolder());

    QString folder() const { return folder_; }
    QString patchPath() const;
    QString setsPath() const;
    // A patch, a performance or a rhythm set is kept.
    bool exists() const;

    // Every file, each replaced whole or not at all; what contents lacks is
    // removed.
    FileResult write(const Contents &contents) const;
    // A patch file that is no patch, or a dump with anything but a whole
    // temporary performance or rhythm set, is refused with the reason; a
    // missing or damaged INI file only loses the time (the files' date
    // stands in) and the file name.
    FileResult read(Contents &contents) const;
    // Removes every file; true when none is left.
    bool remove() const;
    // Renames every file to the aside names, replacing older ones.
    bool setAside() const;

private:
    QString path(const char *name) const;
    FileResult readSets(Contents &contents) const;

    QString folder_;
};
