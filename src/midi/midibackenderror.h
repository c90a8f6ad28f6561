#pragma once

#include <QString>
#include <stdexcept>

// Raised by a backend when a device cannot be opened or used; carries the
// system's reason.
class MidiBackendError : public std::runtime_error
{
public:
    explicit MidiBackendError(const QString &reason) : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromStdString(what()); }
};
