#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "PeerSocket.h"

namespace vigilon::test {

// An SMTP peer on loopback that follows a fixed script: it answers with the
// replies it is given, records every byte the client sends, and can split a
// reply into several segments, pause, stall, or drop the connection. It
// accepts one connection; after the script it keeps reading until the client
// hangs up.
class ScriptedSmtpServer {
public:
    struct Step {
        enum Kind { Say, Hear, HearData, Pause, Hangup } kind;
        std::vector<std::string> pieces;  // for Say: one TCP segment each
        std::chrono::milliseconds pause{0};
    };

    static Step Say(std::string reply) { return {Step::Say, {std::move(reply)}}; }
    static Step SayInPieces(std::vector<std::string> pieces) {
        return {Step::Say, std::move(pieces)};
    }
    // Waits for one command line.
    static Step Hear() { return {Step::Hear, {}}; }
    // Waits for the message text up to its terminating lone dot.
    static Step HearData() { return {Step::HearData, {}}; }
    // Waits this long before the next step, as a slow server would.
    static Step Pause(std::chrono::milliseconds pause) { return {Step::Pause, {}, pause}; }
    static Step Hangup() { return {Step::Hangup, {}}; }

    // Listens on address (loopback) and port; port 0 picks a free one.
    explicit ScriptedSmtpServer(std::vector<Step> script, const std::string& address = "127.0.0.1",
                                int port = 0);
    ~ScriptedSmtpServer();
    ScriptedSmtpServer(const ScriptedSmtpServer&) = delete;
    ScriptedSmtpServer& operator=(const ScriptedSmtpServer&) = delete;

    int Port() const { return port_; }
    // Waits until the client has hung up (or a few seconds have passed) and
    // returns all it sent.
    std::string Received();
    // The same bytes, as each receive call of the server got them.
    std::vector<std::string> Segments();
    bool Accepted();

private:
    void Serve();
    bool ReadMore(PeerSocket peer);
    bool ReadUntil(PeerSocket peer, const std::string& end);
    void Finish();

    std::vector<Step> script_;
    PeerSocket listenFd_ = kNoPeerSocket;
    int port_ = 0;
    std::string received_;
    std::vector<std::string> segments_;
    std::size_t consumed_ = 0;
    bool accepted_ = false;
    std::chrono::steady_clock::time_point giveUp_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace vigilon::test
