#include "ScriptedSmtpServer.h"

namespace vigilon::test {

namespace {

// Bounds every wait of the server, so that a broken client fails its test
// instead of hanging the suite.
constexpr auto kServerPatience = std::chrono::seconds(10);
constexpr auto kPieceGap = std::chrono::milliseconds(30);

}  // namespace

ScriptedSmtpServer::ScriptedSmtpServer(std::vector<Step> script, const std::string& address,
                                       int port)
    : script_(std::move(script)) {
    listenFd_ = ListenOn(address, port, port_);
    giveUp_ = std::chrono::steady_clock::now() + kServerPatience;
    thread_ = std::thread([this] { Serve(); });
}

ScriptedSmtpServer::~ScriptedSmtpServer() {
    stop_ = true;
    Finish();
    ClosePeer(listenFd_);
}

void ScriptedSmtpServer::Finish() {
    if (thread_.joinable()) thread_.join();
}

std::string ScriptedSmtpServer::Received() {
    Finish();
    return received_;
}

std::vector<std::string> ScriptedSmtpServer::Segments() {
    Finish();
    return segments_;
}

bool ScriptedSmtpServer::Accepted() {
    stop_ = true;
    Finish();
    return accepted_;
}

void ScriptedSmtpServer::Serve() {
    PeerSocket fd = kNoPeerSocket;
    while (fd == kNoPeerSocket && !stop_ && std::chrono::steady_clock::now() < giveUp_) {
        if (WaitReadable(listenFd_, 20)) fd = AcceptPeer(listenFd_);
    }
    if (fd == kNoPeerSocket) return;
    accepted_ = true;

    bool open = true;
    for (const Step& step : script_) {
        if (step.kind == Step::Say) {
            for (std::size_t i = 0; i < step.pieces.size() && open; ++i) {
                if (i > 0) std::this_thread::sleep_for(kPieceGap);
                open = SendToPeer(fd, step.pieces[i]);
            }
        } else if (step.kind == Step::Hear) {
            open = ReadUntil(fd, "\r\n");
        } else if (step.kind == Step::HearData) {
            open = ReadUntil(fd, "\r\n.\r\n");
        } else if (step.kind == Step::Pause) {
            std::this_thread::sleep_for(step.pause);
        } else {
            open = false;
        }
        if (!open) break;
    }
    // Whatever the client still sends (a QUIT from its destructor, or the
    // commands a stalled server never answers) is recorded until it hangs up.
    while (open)
        open = ReadMore(fd);
    ClosePeer(fd);
}

bool ScriptedSmtpServer::ReadUntil(PeerSocket fd, const std::string& end) {
    for (;;) {
        std::size_t found = received_.find(end, consumed_);
        if (found != std::string::npos) {
            consumed_ = found + end.size();
            return true;
        }
        if (!ReadMore(fd)) return false;
    }
}

bool ScriptedSmtpServer::ReadMore(PeerSocket fd) {
    while (std::chrono::steady_clock::now() < giveUp_) {
        if (!WaitReadable(fd, 20)) continue;
        char chunk[4096];
        const long got = ReceiveFromPeer(fd, chunk, sizeof chunk);
        if (got <= 0) return false;
        received_.append(chunk, static_cast<std::size_t>(got));
        segments_.emplace_back(chunk, static_cast<std::size_t>(got));
        return true;
    }
    return false;
}

}  // namespace vigilon::test
