#include "midi/jackmonitor.h"

#include <atomic>
#include <cstring>
#include <mutex>

#ifdef TESSIVA_HAVE_JACK
#include <jack/jack.h>
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
    // Every client of the lost server reports it; the first one counts.
    if (!std::strstr(text, ReadFailure) || pending.exchange(true))
        return;
    lossCount.fetch_add(1);
    std::lock_guard lock(handlerMutex);
    if (lossHandler)
        lossHandler();
}
