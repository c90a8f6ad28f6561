#pragma once
// Closes RtMidi's JACK ports without racing their process callbacks.
//
// RtMidi's JACK output frees the buffer its process callback reads before
// it closes the client that runs the callback; a cycle under way at that
// moment reads freed memory on the JACK thread (a crash in
// jack_ringbuffer_peek, or a corrupted heap that aborts later). An input's
// callback may likewise still run while its port is unregistered. Before
// RtMidi's destructor runs, the closer stops the callbacks itself: an
// output first hands over what it still holds (RtMidi's closePort waits
// for one cycle for that), then the client is deactivated, which libjack
// returns from only once its callback thread has stopped.
//
// RtMidi offers no way to its JACK client. The closer reads it from the
// start of RtMidi's per-port data, where RtMidi keeps it (releases 4 to 6
// are trusted), and uses it only when libjack gives it the name it was
// opened with; otherwise the port is closed as RtMidi alone closes it.

#include <string>

class RtMidi;

class JackPortCloser
{
public:
    // Call right before deleting midi, a port made for the JACK API whose
    // server has not gone away; clientName is the name it was made with.
    static void quiesce(RtMidi &midi, const std::string &clientName, bool output);
};
