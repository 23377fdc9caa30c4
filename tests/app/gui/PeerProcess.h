#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vigilon::test {

// A D-Bus peer written for the tests (a Python script in peers/), talked to
// over its standard input and output in the line protocol of
// peers/peer_lines.py. While the test waits for a line the toolkit runs, so
// that the peer's calls into this process are answered. Stopped by its pid.
class PeerProcess {
public:
    using Line = std::vector<std::string>;  // the fields, unescaped

    // Starts peers/<script> with the arguments and waits for its "ready".
    explicit PeerProcess(const std::string& script, const std::vector<std::string>& arguments = {});
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool Ready() const { return ready_; }
    void Send(const std::string& command);
    // The first line not yet taken whose first field is tag. Gives up at the
    // limit, or at an "error" line (kept in LastError).
    std::optional<Line> Take(const std::string& tag,
                             std::chrono::milliseconds limit = std::chrono::seconds(10));
    // Sends command and takes the answer tagged like the command's first word.
    std::optional<Line> Ask(const std::string& command);
    // Every line received so far with that tag, taken or not.
    std::vector<Line> Received(const std::string& tag);
    const std::string& LastError() const { return lastError_; }

private:
    void ReadAvailable();

    pid_t pid_ = -1;
    int toPeer_ = -1;
    int fromPeer_ = -1;
    bool ready_ = false;
    std::string pending_;
    struct Entry {
        Line fields;
        bool taken = false;
    };
    std::vector<Entry> lines_;
    std::string lastError_;
};

}  // namespace vigilon::test
