#include "AlertMail.h"

#include "AlertText.h"
#include "ProbeResult.h"

namespace vigilon {

namespace {

// The same for every try of one event's mail, after a restart too, so that
// a mail a server got twice is known as one; another event gives another.
std::uint64_t EventKey(const AlertEvent& event) {
    std::uint64_t key = 14695981039346656037ULL;  // FNV-1a
    auto mix = [&key](const std::string& text) {
        for (unsigned char c : text + '\0')
            key = (key ^ c) * 1099511628211ULL;
    };
    mix(std::to_string(static_cast<int>(event.kind)));
    mix(std::to_string(event.time));
    mix(std::to_string(event.outageStart));
    for (const std::string* text : {&event.targetAddress, &event.targetResult, &event.controlResult,
                                    &event.mailFrom, &event.mailTo})
        mix(*text);
    return key;
}

}  // namespace

CNotifyMail ComposeAlertMail(const AlertEvent& event) {
    const std::string targetStatus = TargetStatusWord(event.kind);
    CNotifyMail message;
    message.from = event.mailFrom;
    message.AddMultipleRecipients(event.mailTo);
    message.subject = AlertSubject(event.targetAddress, targetStatus);
    message.body =
        AlertBody(event.time, event.targetAddress, targetStatus, StatusWord(event.controlResult));
    message.date = static_cast<std::time_t>(event.time);
    message.messageKey = EventKey(event);
    return message;
}

}  // namespace vigilon
