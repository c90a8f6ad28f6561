#pragma once
// Patch files: one patch as five raw blocks of 129 bytes (the common slot,
// then tones 1 to 4), each byte a stored 7-bit value. No header, no checksum.

#include "core/fileresult.h"
#include "core/patchimage.h"

#include <QByteArray>
#include <QString>

class PatchFile
{
public:
    static constexpr int BlockSize = 0x81;                       // 129
    static constexpr int FileSize = addr::SlotCount * BlockSize; // 645
    static constexpr char Suffix[] = ".pat";
    static constexpr char DefaultSuffix[] = "pat";

    // The file contents of an image.
    static QByteArray toBytes(const PatchImage &image);
    // Why the bytes are no patch file, or empty when they are one.
    static QString problem(const QByteArray &bytes);
    // Copies file contents into the image; the caller has checked them.
    static void fromBytes(const QByteArray &bytes, PatchImage &image);

    // Reads the file into the image. A file that cannot be read, that is
    // no regular file (a device, a pipe), or is not exactly 645 bytes of
    // 7-bit values, is refused and the image is left as it was.
    static FileResult Read(const QString &path, PatchImage &image);
    // Writes the image; the old file stays whole when the save fails, and
    // every failure the system reports (a full disk) fails the save with
    // the system's reason. A device or pipe in the way is refused.
    static FileResult Write(const QString &path, const PatchImage &image);

    // A file name made of the first eight name characters, each outside
    // '0'..'z' or unusable in a file name shown as '_', plus ".pat".
    static QString DefaultFileName(const PatchImage &image);
    // The same from a stored name (a performance's or a rhythm set's).
    static QString DefaultFileName(const QByteArray &name);

    // Whether a dropped file's name ends in ".pat", in any letter case.
    static bool hasPatchSuffix(const QString &path);
};
