#include "CSMTP.h"

#include <algorithm>

#include "HeloName.h"
#include "SmtpReply.h"

namespace vigilon {

namespace {

struct ExpectedReply {
    int code;
    const char* text;  // used when another code arrives
};

// Indexed by the step that waits for the reply.
constexpr ExpectedReply kExpectedReplies[] = {
    {250, "SMTP server error"},                     // HELO, MAIL, RCPT, end of data
    {220, "SMTP server not available"},             // greeting
    {354, "SMTP server not ready for data"},        // DATA
    {221, "SMTP server didn't terminate session"},  // QUIT
};

// A reply longer than this is not a reply but a runaway peer.
constexpr std::size_t kMaxReplyBytes = 64 * 1024;

}  // namespace

CSMTP::CSMTP(const std::string& serverHostName, std::int32_t port, SmtpTimeouts timeouts)
    : port_(port), serverHostName_(serverHostName), timeouts_(timeouts) {}

CSMTP::~CSMTP() {
    if (connected_) Disconnect();
}

bool CSMTP::Connect() {
    if (connected_) return true;
    exchangeEnd_ = std::chrono::steady_clock::now() + timeouts_.exchange;
    if (!socket_.Create()) {
        errorText_ = "Unable to create the socket.";
        return false;
    }
    if (!socket_.Connect(serverHostName_, port_, StepDeadline(timeouts_.connect))) {
        errorText_ = "Unable to connect to server";
        CloseSocket();
        return false;
    }
    if (!ReadResponse(1)) {
        errorText_ = "Server didn't respond.";
        CloseSocket();
        return false;
    }
    SendText("HELO " + HeloName() + "\r\n");
    if (!ReadResponse(0)) {
        CloseSocket();
        return false;
    }
    connected_ = true;
    return true;
}

bool CSMTP::Disconnect() {
    if (!connected_) return true;
    SendText("QUIT\r\n");
    const bool ok = ReadResponse(3);
    CloseSocket();
    connected_ = false;
    return ok;
}

bool CSMTP::SendMessage(CNotifyMail& message) {
    if (!connected_) {
        errorText_ = "Must be connected";
        return false;
    }
    if (!FormatMailMessage(message)) return false;
    return Transmit(message);
}

bool CSMTP::FormatMailMessage(CNotifyMail& message) {
    if (!message.PrepareHeader()) return false;
    message.PrepareBody();
    if (!message.body.ends_with("\r\n")) message.body += "\r\n";
    return true;
}

bool CSMTP::Transmit(CNotifyMail& message) {
    if (!connected_) {
        errorText_ = "Must be connected";
        return false;
    }
    // Checked before the first byte so that a field cannot smuggle in
    // commands or header lines of its own.
    if (std::string refusal = message.FindLineBreakField(); !refusal.empty()) {
        errorText_ = refusal;
        return false;
    }
    SendText("MAIL From: <" + message.from + ">\r\n");
    if (!ReadResponse(0)) return false;
    // A refused recipient does not stop the others; its text stays behind.
    // A connection that timed out or broke stops everything.
    for (const MailRecipient& recipient : message.recipients) {
        SendText("RCPT TO: <" + recipient.address + ">\r\n");
        if (!ReadResponse(0) && !socket_.IsOpen()) return false;
    }
    SendText("DATA\r\n");
    if (!ReadResponse(2)) return false;
    // One write for the whole text: pieces written apart would wait on the
    // server's delayed acknowledgement of each other.
    SendText(message.header + std::string(kXMailerLine) + "\r\n" + message.body + "\r\n.\r\n");
    return ReadResponse(0);
}

// A peer that closes the connection, fails, or stays silent past the reply
// time-out or the end of the exchange before a whole reply has arrived gives
// "Socket Error": no code was received, so none is shown. The connection is
// closed then, so that nothing more is sent into it and no later step waits
// on it again. A whole reply line that does not start with a number has
// code 0 and fails with "0:" and the step's text.
bool CSMTP::ReadResponse(int index) {
    const ExpectedReply& expected = kExpectedReplies[index];
    const Deadline deadline = StepDeadline(timeouts_.reply);
    ReplyScan reply = ScanReply(responseBuffer_);
    while (!reply.complete) {
        char chunk[1024];
        const long got = socket_.Receive(chunk, sizeof chunk, deadline);
        if (got <= 0 || responseBuffer_.size() + static_cast<std::size_t>(got) > kMaxReplyBytes) {
            CloseSocket();
            errorText_ = "Socket Error";
            return false;
        }
        responseBuffer_.append(chunk, static_cast<std::size_t>(got));
        reply = ScanReply(responseBuffer_);
    }
    responseBuffer_.erase(0, reply.length);
    if (reply.code == expected.code) return true;
    errorText_ = std::to_string(reply.code) + ":" + expected.text;
    return false;
}

CSMTP::Deadline CSMTP::StepDeadline(std::chrono::milliseconds limit) const {
    return std::min(std::chrono::steady_clock::now() + limit, exchangeEnd_);
}

// A send that fails or times out closes the connection; the reply that
// follows then reports it.
void CSMTP::SendText(std::string_view text) {
    if (!socket_.IsOpen()) return;
    if (std::chrono::steady_clock::now() >= exchangeEnd_ ||
        !socket_.SendAll(text, StepDeadline(timeouts_.reply)))
        CloseSocket();
}

void CSMTP::CloseSocket() {
    socket_.Close();
    responseBuffer_.clear();
}

}  // namespace vigilon
