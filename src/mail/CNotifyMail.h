#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "MailRecipient.h"

namespace vigilon {

// One e-mail message in memory. It owns the wire form of its header lines
// and of its body; the SMTP client only asks for them and sends them.
class CNotifyMail {
public:
    virtual ~CNotifyMail() = default;

    // Appends one recipient; always succeeds.
    bool AddRecipient(const std::string& address, const std::string& name);
    // Appends one recipient per ';'-separated piece, untrimmed, empty pieces
    // included. False at a piece with '<' but no '>' after it; recipients of
    // earlier pieces stay.
    bool AddMultipleRecipients(const std::string& list);
    // False, outputs untouched, for an index outside the recipients.
    bool GetRecipient(std::string& address, std::string& name, std::int32_t index) const;
    std::int32_t GetNumRecipients() const;

    // Builds the Date, From, To, Subject and Message-ID lines; false, header
    // unchanged, when there is nobody to send to. The Date is the given date,
    // else now; the Message-ID's key the given one, else a random one.
    bool PrepareHeader();
    // Rewrites the body into its SMTP DATA form: CR LF line ends throughout
    // and every leading dot doubled.
    void PrepareBody();

    // Empty when from, subject and every recipient are free of CR and LF;
    // otherwise why the message must not be sent (the field would otherwise
    // end a command or header line early and start one of its own).
    std::string FindLineBreakField() const;

    std::string from;
    std::string subject;
    std::string header;
    // The Date line's time when the caller fixes it: an alert that waited
    // for a server still bears the time of its event. Unset, it is the
    // moment PrepareHeader runs.
    std::optional<std::time_t> date;
    std::time_t dateTime = 0;  // the Date line's time; unset until PrepareHeader
    // Tells this message apart in its Message-ID; the same for every try of
    // one message. Unset, each PrepareHeader draws one.
    std::optional<std::uint64_t> messageKey;
    std::string body;
    std::vector<MailRecipient> recipients;
};

}  // namespace vigilon
