#include "CNotifyMail.h"

#include "HeloName.h"
#include "MailText.h"
#include "MessageId.h"

namespace vigilon {

bool CNotifyMail::AddRecipient(const std::string& address, const std::string& name) {
    recipients.push_back({address, name});
    return true;
}

bool CNotifyMail::AddMultipleRecipients(const std::string& list) {
    std::size_t pieceStart = 0;
    for (std::size_t pos = 0; pos <= list.size(); ++pos) {
        if (pos < list.size() && list[pos] != ';') continue;
        const std::string piece = list.substr(pieceStart, pos - pieceStart);
        pieceStart = pos + 1;

        const std::size_t open = piece.find('<');
        if (open == std::string::npos) {
            AddRecipient(piece, "");
            continue;
        }
        const std::size_t close = piece.find('>');
        if (close == std::string::npos || close < open) return false;
        AddRecipient(piece.substr(open + 1, close - open - 1), piece.substr(0, open));
    }
    return true;
}

bool CNotifyMail::GetRecipient(std::string& address, std::string& name, std::int32_t index) const {
    if (index < 0 || index >= GetNumRecipients()) return false;
    address = recipients[static_cast<std::size_t>(index)].address;
    name = recipients[static_cast<std::size_t>(index)].name;
    return true;
}

std::int32_t CNotifyMail::GetNumRecipients() const {
    return static_cast<std::int32_t>(recipients.size());
}

bool CNotifyMail::PrepareHeader() {
    if (recipients.empty()) return false;

    std::string to;
    for (std::size_t i = 0; i < recipients.size(); ++i) {
        if (i > 0) to += ',';
        to += recipients[i].name + "<" + recipients[i].address + ">";
    }
    dateTime = date ? *date : std::time(nullptr);
    const std::string messageId = MakeMessageId(messageKey ? *messageKey : RandomMessageKey(),
                                                dateTime, MessageIdDomain(from, HeloName()));
    header = "Date: " + FormatMailDate(dateTime) + "\r\n" + "From: " + from + "\r\n" + "To: " + to +
             "\r\n" + "Subject: " + subject + "\r\n" + "Message-ID: " + messageId + "\r\n";
    return true;
}

void CNotifyMail::PrepareBody() { body = StuffDots(NormaliseLineEnds(body)); }

std::string CNotifyMail::FindLineBreakField() const {
    if (HasLineBreak(from)) return "Message refused: line break in the sender address";
    for (const MailRecipient& r : recipients) {
        if (HasLineBreak(r.address) || HasLineBreak(r.name))
            return "Message refused: line break in a recipient";
    }
    if (HasLineBreak(subject)) return "Message refused: line break in the subject";
    return {};
}

}  // namespace vigilon
