#pragma once
// Saving a file so that a failed save never costs the old one, and the
// messages file commands share.

#include "core/fileresult.h"

#include <QByteArray>
#include <QString>

class AtomicFile
{
public:
    // Devices and pipes have no size to check, and a save would replace them.
    static const QString NotRegular;

    // Writes bytes in place of the file at path; the old file stays whole
    // when the save fails, and every failure the system reports (a full
    // disk) fails the save with the system's reason. A device or pipe in the
    // way is refused.
    static FileResult write(const QString &path, const QByteArray &bytes);

    // A failure naming the file: "\"path\" " followed by what.
    static FileResult failure(const QString &path, const QString &what);
};
