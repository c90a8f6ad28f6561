#include "midi/jackmonitor.h"

#include <atomic>
#include <cstring>
#include <mutex>

#ifdef TESSIVA_HAVE_JACK
#include <jack/jack.h>
#endif
#if __has_include(<pthread.h>)
#include <pthread.h>
#define TESSIVA_HAVE_PTHREAD_CANCEL 1
#endif

namespace {
// A client's connection to the server broke: the server is gone.
constexpr char ReadFailure[] = "JackSocketClientChannel read fail";
// A new client found the server gone and frees the older ones.
constexpr char CleanUp[] = "Jack server was closed but clients are still allocated";

std::atomic<int> currentGeneration{0};
std::atomic<int> lossCount{0};
std::atomic<bool> pending{false};
std::once_flag installed;

// The handler is set on the main thread and called from JACK threads.
std::mutex handlerMutex;
std::function<void()> lossHandler;
} // namespace

void JackMonitor::install()
{
#ifdef TESSIVA_HAVE_JACK
    std::call_once(installed, [] {
        jack_set_error_function(&JackMonitor::message);
        jack_set_info_function(&JackMonitor::message);
    });
#endif
}

int JackMonitor::generation()
{
    return currentGeneration.load();
}

int JackMonitor::losses()
{
    return lossCount.load();
}

bool JackMonitor::cleanUpPending()
{
    return pending.load();
}

void JackMonitor::settle()
{
    pending.store(false);
}

void JackMonitor::setLossHandler(std::function<void()> handler)
{
    std::lock_guard lock(handlerMutex);
    lossHandler = std::move(handler);
}

void JackMonitor::message(const char *text)
{
    if (!text)
        return;
    if (std::strstr(text, CleanUp)) {
        currentGeneration.fetch_add(1);
        pending.store(false);
        return;
    }
    if (!std::strstr(text, ReadFailure))
        return;
#ifdef TESSIVA_HAVE_PTHREAD_CANCEL
    // This is the client's channel thread, on its way out now that the
    // server is gone. libjack cancels it asynchronously when the client is
    // closed; a cancel landing in the middle of its C++ shutdown unwinds
    // through frames that may not throw and aborts the whole program. The
    // thread ends by itself in a moment, and the close waits for it.
    pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, nullptr);
#endif
    // Every client of the lost server reports it; the first one counts.
    if (pending.exchange(true))
        return;
    lossCount.fetch_add(1);
    std::lock_guard lock(handlerMutex);
    if (lossHandler)
        lossHandler();
}
