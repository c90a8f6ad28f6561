#pragma once

#include <QString>

// What a file command gives back for the window to show.
struct FileResult
{
    bool ok = false;
    QString error;    // names the file and the reason; empty on success
    qint64 bytes = 0; // bytes read or written
    explicit operator bool() const { return ok; }
};
