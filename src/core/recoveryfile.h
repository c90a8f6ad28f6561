#pragma once
// The recovery file: the edited patch as a plain patch file, written a few
// seconds after each change, beside a small INI file that says when it was
// changed and which file it came from. It lives in the user's data folder
// and outlasts a crash or a quick exit; a clean patch has none.

#include "core/patchfile.h"
#include "core/patchimage.h"

#include <QDateTime>
#include <QString>

class RecoveryFile
{
public:
    static constexpr char PatchName[] = "recovery.pat";
    static constexpr char InfoName[] = "recovery.ini";
    // Where a declined or unreadable recovery goes, so it is out of the way
    // but not gone until the next one replaces it.
    static constexpr char AsideName[] = "recovery-declined.pat";
    static constexpr char AsideInfoName[] = "recovery-declined.ini";

    struct Contents
    {
        PatchImage image;
        QDateTime changed;
        QString patchFile; // the file the patch was opened from or saved to
    };

    // The user's data folder under the names the settings use.
    static QString defaultFolder();

    explicit RecoveryFile(QString folder = defaultFolder());

    QString folder() const { return folder_; }
    QString patchPath() const;
    bool exists() const;

    // Both files, each replaced whole or not at all.
    FileResult write(const Contents &contents) const;
    // A patch file that is no patch is refused with the reason; a missing
    // or damaged INI file only loses the time (the patch file's date stands
    // in) and the file name.
    FileResult read(Contents &contents) const;
    // Removes both files; true when none is left.
    bool remove() const;
    // Renames both files to the aside names, replacing older ones.
    bool setAside() const;

private:
    QString path(const char *name) const;

    QString folder_;
};
