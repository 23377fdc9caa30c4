#include "EventLoop.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>

#include <array>
#include <cerrno>
#include <utility>

#include "ErrorText.h"

namespace vigilon {

EventLoop::EventLoop()
    : epoll_(::epoll_create1(EPOLL_CLOEXEC)), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!epoll_ || !wake_) {
        error_ = "cannot make the event loop: " + ErrorText(errno);
        return;
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = wake_.Get();
    if (::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, wake_.Get(), &event) != 0)
        error_ = "cannot make the event loop: " + ErrorText(errno);
}

EventLoop::~EventLoop() = default;

void EventLoop::Post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(posting_);
        posted_.push_back(std::move(task));
    }
    const std::uint64_t one = 1;
    // A full counter (never in practice) still leaves the loop awake.
    [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
}

bool EventLoop::Watch(int fd, std::function<void()> onReadable) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    if (::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, fd, &event) != 0) return false;
    watched_[fd] = std::make_shared<std::function<void()>>(std::move(onReadable));
    return true;
}

void EventLoop::Unwatch(int fd) {
    if (watched_.erase(fd) != 0) ::epoll_ctl(epoll_.Get(), EPOLL_CTL_DEL, fd, nullptr);
}

void EventLoop::Quit(int code) {
    quit_ = true;
    exitCode_ = code;
}

void EventLoop::RunPosted() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(wake_.Get(), &count, sizeof count);
    std::deque<std::function<void()>> tasks;
    {
        std::lock_guard<std::mutex> lock(posting_);
        tasks.swap(posted_);
    }
    for (std::function<void()>& task : tasks) {
        if (quit_) return;  // what is left is dropped with the loop
        task();
    }
}

int EventLoop::Run() {
    quit_ = false;
    std::array<epoll_event, 16> events{};
    while (!quit_) {
        const int ready =
            ::epoll_wait(epoll_.Get(), events.data(), static_cast<int>(events.size()), -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            error_ = "the event loop failed: " + ErrorText(errno);
            return 1;
        }
        for (int i = 0; i < ready && !quit_; ++i) {
            const int fd = events[static_cast<std::size_t>(i)].data.fd;
            if (fd == wake_.Get()) {
                RunPosted();
                continue;
            }
            // Looked up afresh: an earlier handler may have unwatched it.
            const auto found = watched_.find(fd);
            if (found == watched_.end()) continue;
            const std::shared_ptr<std::function<void()>> handler = found->second;
            (*handler)();
        }
    }
    return exitCode_;
}

LoopTimer::LoopTimer(EventLoop& loop, std::function<void()> fired)
    : loop_(loop),
      fired_(std::move(fired)),
      timer_(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK)) {
    if (timer_) loop_.Watch(timer_.Get(), [this] { OnReadable(); });
}

LoopTimer::~LoopTimer() {
    if (timer_) loop_.Unwatch(timer_.Get());
}

void LoopTimer::Start(std::uint32_t periodMs, bool repeat) {
    if (periodMs == 0) periodMs = 1;  // a zero time would disarm it
    itimerspec setting{};
    setting.it_value.tv_sec = periodMs / 1000;
    setting.it_value.tv_nsec = static_cast<long>(periodMs % 1000) * 1000000L;
    if (repeat) setting.it_interval = setting.it_value;
    ::timerfd_settime(timer_.Get(), 0, &setting, nullptr);
}

void LoopTimer::Stop() {
    const itimerspec disarmed{};
    ::timerfd_settime(timer_.Get(), 0, &disarmed, nullptr);
}

void LoopTimer::OnReadable() {
    std::uint64_t expirations = 0;
    // Setting the timer clears what it had counted: a timer stopped or
    // started afresh since it became readable reads nothing and stays quiet.
    if (::read(timer_.Get(), &expirations, sizeof expirations) != sizeof expirations) return;
    fired_();
}

}  // namespace vigilon
