#pragma once
// The JACK client under an RtMidi port, for what RtMidi gets wrong with it.
//
// RtMidi's JACK output frees the buffer its process callback reads before
// it closes the client that runs the callback; a cycle under way at that
// moment reads freed memory on the JACK thread (a crash in
// jack_ringbuffer_peek, or a corrupted heap that aborts later). An input's
// callback may likewise still run while its port is unregistered. Before
// RtMidi's destructor runs, quiesce() stops the callbacks itself: an output
// first hands over what it still holds (RtMidi's closePort waits one cycle
// for that), then the client is deactivated, which libjack returns from
// only once its callback thread has stopped.
//
// An output whose client could not be opened (no server when it was made)
// makes a new buffer on every later call and loses the one before: such a
// port is replaced or refused, never used (missing()).
//
// RtMidi offers no way to its JACK client. It is read from the start of
// RtMidi's per-port data, where RtMidi keeps it (releases 4 to 6 are
// trusted), and used only when libjack gives it the name it was opened
// with; with any other release both calls leave RtMidi to itself.

#include <string>

class RtMidi;

class RtJackClient
{
public:
    // Whether the JACK port midi has no client. False when it cannot tell.
    static bool missing(RtMidi &midi);
    // Call right before deleting midi, a port made for the JACK API whose
    // server has not gone away; clientName is the name it was made with.
    static void quiesce(RtMidi &midi, const std::string &clientName, bool output);
};
