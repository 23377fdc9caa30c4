#include "SignalWatch.h"

#include <signal.h>
#include <sys/signalfd.h>

#include <cerrno>

#include "ErrorText.h"

namespace vigilon::app {

namespace {

sigset_t WatchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

void SignalWatch::BlockWatchedSignals() {
    const sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

SignalWatch::SignalWatch(EventLoop& loop, std::function<void(int)> received)
    : loop_(loop), received_(std::move(received)) {
    const sigset_t set = WatchedSignals();
    signals_ = UniqueFd(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!signals_ || !loop_.Watch(signals_.Get(), [this] { OnReadable(); }))
        error_ = "cannot watch for signals: " + ErrorText(errno);
}

SignalWatch::~SignalWatch() {
    if (signals_) loop_.Unwatch(signals_.Get());
}

void SignalWatch::OnReadable() {
    signalfd_siginfo info{};
    while (::read(signals_.Get(), &info, sizeof info) == sizeof info)
        received_(static_cast<int>(info.ssi_signo));
}

}  // namespace vigilon::app
