#pragma once
// What libjack says about the JACK server, for the whole process.
//
// libjack keeps one connection state per process. Once the server is gone,
// the next client opened anywhere in the process makes libjack close and
// free every older client, including those RtMidi objects still hold; using
// or closing such an object afterwards crashes in jack_client_close. RtMidi
// registers no shutdown callback, so libjack's own messages are the one
// signal every client gives: the monitor takes them over (they would go to
// stderr), counts the losses and the clean-ups, and an RtMidi object made
// before either is never touched again.
//
// The messages matched are those of JACK 2; with another libjack the
// monitor stays quiet and nothing is guarded beyond what it was before.

#include <functional>

class JackMonitor
{
public:
    // Takes over libjack's error and information output. Call before the
    // first JACK client is opened; later calls do nothing.
    static void install();

    // Goes up each time libjack freed the process's clients.
    static int generation();
    // Goes up each time a server under the process's clients went away.
    static int losses();
    // Whether a loss was seen that libjack has not cleaned up after yet: the
    // next client opened will free all older ones. Opening a throw-away
    // client first, then settle(), keeps that clean-up from hitting ports
    // opened one after the other.
    static bool cleanUpPending();
    static void settle();

    // Called once per loss from a JACK thread, so it may only flag or wake
    // something up. One handler for the process; an empty one removes it.
    static void setLossHandler(std::function<void()> handler);

    // Feeds one libjack message in; what install() hands to libjack.
    static void message(const char *text);
};
