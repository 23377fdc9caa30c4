#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "Dispatcher.h"
#include "MonitorPorts.h"
#include "ProblemReport.h"
#include "RetrySchedule.h"
#include "ServerDelivery.h"
#include "WaitingMailStore.h"

namespace vigilon {

struct OutboxOptions {
    MailSender send = SmtpSender();
    RetrySchedule retry;
    // How long going away waits for an attempt in flight (see ~MailOutbox).
    std::chrono::milliseconds exitWait{1000};
};

// The mails of alerts and recoveries, kept until a server accepts each and
// sent on a thread of the outbox's own, so that monitoring never waits on
// a mail server.
//
// Mails go out one at a time, oldest event first. Each round tries the
// first server, then the second when there is one; a round that none
// accepted is tried again after the retry schedule's wait, and the mails
// behind wait with it. A mail a server accepted leaves the list and is
// never sent again. The list is saved in store at every change and loaded
// from it at construction, so what an exit, a kill or a power cut left goes
// out at the next start, once settings with e-mail on have come.
//
// Every attempt is told to the attached listener through dispatcher, on
// the engine's thread, with the server as ShownServer shows it. Failures
// to load or save the list are reported through problems.
class MailOutbox : public AlertDelivery {
public:
    // dispatcher, store and problems must outlive the outbox; dispatcher's
    // Post must queue the task, never run it at once.
    MailOutbox(Dispatcher& dispatcher, WaitingMailStore& store, ProblemReport& problems,
               OutboxOptions options = {});
    ~MailOutbox() override;
    MailOutbox(const MailOutbox&) = delete;
    MailOutbox& operator=(const MailOutbox&) = delete;

    void Attach(DeliveryListener* listener) override;
    // Takes the event's mail while settings has e-mail on, and saves the
    // list before it returns. The settings are also taken as UseSettings
    // takes them: they are the newest the outbox can know of.
    void DeliverAlert(const AlertEvent& event, const MonitorSettings& settings) override;
    // New servers, or e-mail switched back on, get a round at once with the
    // schedule started afresh: the user has just changed what was failing.
    // The same servers again change nothing. While e-mail is off, waiting
    // mails stay in the list, untried.
    void UseSettings(const MonitorSettings& settings) override;
    // The mail in flight included.
    int MailsWaiting() const override;

private:
    struct Shared;
    static void Deliver(const std::shared_ptr<Shared>& shared);  // the thread keeps its own copy
    static void RunRound(const std::shared_ptr<Shared>& shared, std::unique_lock<std::mutex>& lock);
    static void TellOutcome(const std::shared_ptr<Shared>& shared, const AlertEvent& event,
                            const std::string& server, const MailOutcome& outcome);

    std::shared_ptr<Shared> shared_;
    std::chrono::milliseconds exitWait_;
    std::thread thread_;
};

}  // namespace vigilon
