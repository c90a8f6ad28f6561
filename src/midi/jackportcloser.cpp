#include "midi/jackportcloser.h"

#include <rtmidi/RtMidi.h>

#ifdef TESSIVA_HAVE_JACK
#include <jack/jack.h>
#endif

#include <cstdlib>
#include <cstring>

namespace {
#ifdef TESSIVA_HAVE_JACK
// The RtMidi releases whose per-port JACK data starts with the client.
constexpr int FirstKnownMajor = 4;
constexpr int LastKnownMajor = 6;

// Protected members are reached through pointers to members named in a
// derived class, which the language allows; neither class is ever made.
struct RtMidiAccess : RtMidi
{
    static MidiApi *api(RtMidi &midi) { return midi.*(&RtMidiAccess::rtapi_); }
};
struct MidiApiAccess : MidiApi
{
    static void *data(MidiApi &api) { return api.*(&MidiApiAccess::apiData_); }
};

bool knownLayout()
{
    const std::string version = RtMidi::getVersion();
    const int major = std::atoi(version.c_str());
    return major >= FirstKnownMajor && major <= LastKnownMajor;
}

jack_client_t *clientOf(RtMidi &midi, const std::string &clientName)
{
    if (!knownLayout())
        return nullptr;
    MidiApi *api = RtMidiAccess::api(midi);
    void *data = api ? MidiApiAccess::data(*api) : nullptr;
    if (!data)
        return nullptr;
    jack_client_t *client = *static_cast<jack_client_t **>(data);
    if (!client)
        return nullptr;
    // JACK may have numbered the name ("Tessiva-01"); its start must match.
    const char *name = jack_get_client_name(client);
    if (!name || std::strncmp(name, clientName.c_str(), clientName.size()) != 0)
        return nullptr;
    return client;
}
#endif
} // namespace

void JackPortCloser::quiesce(RtMidi &midi, const std::string &clientName, bool output)
{
#ifdef TESSIVA_HAVE_JACK
    jack_client_t *client = clientOf(midi, clientName);
    if (!client)
        return;
    if (output)
        midi.closePort();
    jack_deactivate(client);
#else
    (void)midi;
    (void)clientName;
    (void)output;
#endif
}
