#include "tools/StopSignals.h"

#include "platform/base/TemporaryFile.h"

#include <csignal>
#include <cstdlib>
#include <pthread.h>
#include <utility>

namespace {

// The watcher does little: a small stack lets it start where a worker's would not.
constexpr std::size_t WatcherStack = 256 * 1024;

sigset_t StopSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

void* WatchSignals(void* argument)
{
    auto* onSignal = static_cast<std::function<void(int)>*>(argument);
    const sigset_t set = StopSet();
    for (bool first = true;; first = false) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0)
            continue;
        if (!first) {
            TTemporaryFile::RemoveAll();
            std::_Exit(TStopSignals::ExitStatus(signal));
        }
        (*onSignal)(signal);
    }
    return nullptr;
}

} // namespace

void TStopSignals::Block()
{
    std::signal(SIGPIPE, SIG_IGN);
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void TStopSignals::Watch(std::function<void(int signal)> onSignal)
{
    // The watcher lives as long as the process: its handler is never freed.
    auto* handler = new std::function<void(int)>(std::move(onSignal));
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, WatcherStack);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t watcher;
    const bool started = pthread_create(&watcher, &attributes, WatchSignals, handler) == 0;
    pthread_attr_destroy(&attributes);
    if (started)
        return;
    delete handler;
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}
