#include "MailOutbox.h"

#include <pthread.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "AlertMail.h"
#include "SmtpServerAddress.h"

namespace vigilon {

namespace {

using Clock = std::chrono::steady_clock;

// What the attempts still to come go through.
struct ServerChoice {
    std::string first;
    std::string second;  // empty: none
    bool emailOn = false;

    bool operator==(const ServerChoice&) const = default;

    std::vector<std::string> InOrder() const {
        if (second.empty()) return {first};
        return {first, second};
    }
};

ServerChoice ChoiceOf(const MonitorSettings& settings) {
    return {settings.smtpServer1, settings.smtpServer2, settings.emailEnabled != 0};
}

}  // namespace

// Everything the delivery thread touches. It may outlive the outbox (see
// ~MailOutbox): what it holds by reference is reached only under mutex
// while not stopping, which the outbox's owner keeps alive until then.
struct MailOutbox::Shared {
    Shared(Dispatcher& dispatcher, WaitingMailStore& store, ProblemReport& problems,
           OutboxOptions& options)
        : dispatcher(dispatcher),
          store(store),
          problems(problems),
          send(std::move(options.send)),
          retry(options.retry) {}

    Dispatcher& dispatcher;
    WaitingMailStore& store;
    ProblemReport& problems;
    const MailSender send;
    const RetrySchedule retry;

    mutable std::mutex mutex;
    std::condition_variable wake;  // new mail, new settings, going away
    std::condition_variable ended;
    std::deque<AlertEvent> waiting;  // oldest first; the front one is the one in flight
    ServerChoice servers;            // e-mail off until settings come
    std::uint64_t settingsChanges = 0;
    int failedRounds = 0;
    std::optional<Clock::time_point> retryAt;
    DeliveryListener* listener = nullptr;
    bool stopping = false;
    bool threadEnded = false;

    void Adopt(const MonitorSettings& settings) {
        const ServerChoice next = ChoiceOf(settings);
        if (next == servers) return;
        servers = next;
        ++settingsChanges;
        failedRounds = 0;
        retryAt.reset();
    }

    void SaveList() {
        const std::string error = store.Save({waiting.begin(), waiting.end()});
        if (!error.empty()) problems.Report(error);
    }

    bool ReadyForRound() const {
        return servers.emailOn && !waiting.empty() && (!retryAt || Clock::now() >= *retryAt);
    }
};

// Posts the outcome to the engine's thread; the listener is looked up there,
// as it is attached and detached on that thread.
void MailOutbox::TellOutcome(const std::shared_ptr<Shared>& shared, const AlertEvent& event,
                             const std::string& server, const MailOutcome& outcome) {
    shared->dispatcher.Post([shared, event, shown = ShownServer(server), outcome] {
        DeliveryListener* listener = nullptr;
        {
            std::lock_guard<std::mutex> lock(shared->mutex);
            if (shared->stopping) return;
            listener = shared->listener;
        }
        if (listener == nullptr) return;
        if (outcome.Taken())
            listener->MailDelivered(event, shown);
        else
            listener->MailAttemptFailed(event, shown, outcome.errorText);
    });
}

MailOutbox::MailOutbox(Dispatcher& dispatcher, WaitingMailStore& store, ProblemReport& problems,
                       OutboxOptions options)
    : shared_(std::make_shared<Shared>(dispatcher, store, problems, options)),
      exitWait_(options.exitWait) {
    std::string error;
    std::vector<AlertEvent> loaded = store.Load(error);
    shared_->waiting.assign(loaded.begin(), loaded.end());
    if (!error.empty()) problems.Report(error);
    thread_ = std::thread(Deliver, shared_);
}

// An SMTP exchange may take minutes per server, and an exit must not wait
// for it. The list is on disk already, so the attempt in flight is left to
// finish on its own after a short wait: its thread holds only the shared
// state, and once stopping is set it tells nobody and saves nothing, so it
// reaches neither the store nor the dispatcher nor the listener. A server that
// accepts after that point sees its mail again at the next start: a second
// copy rather than a lost alert, and no save from a thread nobody owns any
// more overwrites the list of an outbox built after this one.
MailOutbox::~MailOutbox() {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->stopping = true;
    shared_->wake.notify_all();
    const bool ended =
        shared_->ended.wait_for(lock, exitWait_, [&] { return shared_->threadEnded; });
    lock.unlock();
    if (ended)
        thread_.join();
    else
        thread_.detach();
}

void MailOutbox::Attach(DeliveryListener* listener) {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->listener = listener;
}

void MailOutbox::DeliverAlert(const AlertEvent& event, const MonitorSettings& settings) {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->Adopt(settings);
        if (!shared_->servers.emailOn) return;
        shared_->waiting.push_back(event);
        shared_->SaveList();
    }
    shared_->wake.notify_all();
}

void MailOutbox::UseSettings(const MonitorSettings& settings) {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->Adopt(settings);
    }
    shared_->wake.notify_all();
}

int MailOutbox::MailsWaiting() const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return static_cast<int>(shared_->waiting.size());
}

void MailOutbox::Deliver(const std::shared_ptr<Shared>& shared) {
    pthread_setname_np(pthread_self(), "mail-outbox");
    std::unique_lock<std::mutex> lock(shared->mutex);
    while (!shared->stopping) {
        if (shared->ReadyForRound())
            RunRound(shared, lock);
        else if (shared->retryAt && shared->servers.emailOn && !shared->waiting.empty())
            shared->wake.wait_until(lock, *shared->retryAt);
        else
            shared->wake.wait(lock);
    }
    shared->threadEnded = true;
    shared->ended.notify_all();
}

// The oldest mail through each server in turn, the lock released while a
// server is asked. New settings end the round early: they get a round of
// their own at once.
void MailOutbox::RunRound(const std::shared_ptr<Shared>& shared,
                          std::unique_lock<std::mutex>& lock) {
    const AlertEvent event = shared->waiting.front();
    const std::uint64_t changes = shared->settingsChanges;
    for (const std::string& server : shared->servers.InOrder()) {
        lock.unlock();
        // Composed afresh for each server: a send rewrites the body in place.
        CNotifyMail message = ComposeAlertMail(event);
        const MailOutcome outcome = shared->send(server, message);
        lock.lock();
        if (shared->stopping) return;  // see ~MailOutbox
        TellOutcome(shared, event, server, outcome);
        // A server that took the mail and then ended the session wrongly
        // has it all the same: it is never sent again.
        if (outcome.Taken()) {
            shared->waiting.pop_front();
            shared->failedRounds = 0;
            shared->retryAt.reset();
            shared->SaveList();
            return;
        }
        if (shared->settingsChanges != changes) return;
    }
    shared->retryAt = Clock::now() + shared->retry.After(++shared->failedRounds);
}

}  // namespace vigilon
