#include "cli/connection.h"

#include "midi/rtmidibackend.h"
#include "sim/simulatorbackend.h"

namespace cli {

namespace {
MidiDevices devicesFor(const QString &port)
{
    MidiDevices d;
    d.addBackend(std::make_shared<SimulatorBackend>());
    if (port != SimulatorBackend::DeviceName)
        d.addBackend(std::make_shared<RtMidiBackend>());
    return d;
}
} // namespace

Connection::Connection(const QString &port, int unit, QTextStream &err, const char *command)
    : info(err, command), devices(devicesFor(port)), link(devices, info, unit)
{
}

bool Connection::open(const QString &port, QString &error)
{
    if (link.open(port, error))
        return true;
    error += QStringLiteral(" (see tessiva-cli ports)");
    return false;
}

} // namespace cli
