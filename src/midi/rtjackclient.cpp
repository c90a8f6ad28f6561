#include "midi/rtjackclient.h"

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
    static const bool known = [] {
        const int major = std::atoi(RtMidi::getVersion().c_str());
        return major >= FirstKnownMajor && major <= LastKnownMajor;
    }();
    return known;
}

// Where RtMidi keeps the client of midi; null when the layout is not known.
jack_client_t **clientSlot(RtMidi &midi)
{
    if (!knownLayout())
        return nullptr;
    MidiApi *api = RtMidiAccess::api(midi);
    return api ? static_cast<jack_client_t **>(MidiApiAccess::data(*api)) : nullptr;
}
#endif
} // namespace

bool RtJackClient::missing(RtMidi &midi)
{
#ifdef TESSIVA_HAVE_JACK
    jack_client_t **slot = clientSlot(midi);
    return slot && !*slot;
#else
    (void)midi;
    return false;
#endif
}

void RtJackClient::quiesce(RtMidi &midi, const std::string &clientName, bool output)
{
#ifdef TESSIVA_HAVE_JACK
    jack_client_t **slot = clientSlot(midi);
    jack_client_t *client = slot ? *slot : nullptr;
    if (!client)
        return;
    // JACK may have numbered the name ("Tessiva-01"); its start must match.
    const char *name = jack_get_client_name(client);
    if (!name || std::strncmp(name, clientName.c_str(), clientName.size()) != 0)
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
