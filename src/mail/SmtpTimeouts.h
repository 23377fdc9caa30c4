#pragma once

#include <chrono>

namespace vigilon {

// How long a delivery waits. A server that stops answering fails the step
// instead of holding the user-interface thread for ever, and the whole
// exchange with one server, from the name lookup to the reply to QUIT, is
// bounded too, however slowly a server trickles its replies.
struct SmtpTimeouts {
    std::chrono::milliseconds connect{30'000};    // name lookup and connect
    std::chrono::milliseconds reply{60'000};      // also bounds each send
    std::chrono::milliseconds exchange{120'000};  // one server, lookup to QUIT
};

}  // namespace vigilon
