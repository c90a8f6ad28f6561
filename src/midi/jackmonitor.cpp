#include "midi/jackmonitor.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>

#ifdef TESSIVA_HAVE_JACK
#include <jack/jack.h>
#endif

namespace {
// A client's connection to the server broke: the server is gone.
constexpr char ReadFailure[] = "JackSocketClientChannel read fail";
// A new client found the server gone and frees the older ones.
constexpr char CleanUp[] = "Jack server was closed but clients are still allocated";

std::atomic<int> currentGeneration{0};
std::atomic<bool> lost{false};
std::once_flag installed;

// The handler and the last message are touched from JACK threads.
std::mutex guard;
std::function<void()> lossHandler;
std::string last;
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

bool JackMonitor::serverLost()
{
    return lost.load();
}

QString JackMonitor::lastMessage()
{
    std::lock_guard lock(guard);
    return QString::fromStdString(last);
}

void JackMonitor::setLossHandler(std::function<void()> handler)
{
    std::lock_guard lock(guard);
    lossHandler = std::move(handler);
}

void JackMonitor::message(const char *text)
{
    if (!text)
        return;
    std::function<void()> notify;
    {
        std::lock_guard lock(guard);
        last = text;
        if (std::strstr(text, CleanUp)) {
            // The clients opened from here on start afresh, on whatever
            // server answers now.
            currentGeneration.fetch_add(1);
            lost.store(false);
        } else if (std::strstr(text, ReadFailure) && !lost.exchange(true)) {
            notify = lossHandler;
        }
    }
    if (notify)
        notify();
}
