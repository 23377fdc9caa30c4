#pragma once

#include <cstdint>

namespace vigilon {

// What one target probe came to, with its timings.
struct TargetProbeFigures {
    bool answered = false;
    bool resolved = true;           // false: the name lookup failed; no request went out
    std::int64_t resolveUs = 0;     // the address lookup of this cycle; 0 when it was known
    std::int64_t roundTripUs = -1;  // answered only
    std::int64_t durationUs = 0;    // the lookup and the exchange
    int hopLimit = -1;              // of the answer; -1 when unknown
};

// Told by the engine, on its thread, what a run does: the figures that
// metrics are made of. The engine stays the only writer of its state; an
// observer keeps what it needs, such as counts that must outlive the
// run's daily reset. Every call returns at once.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void TargetProbed(const TargetProbeFigures& probe) = 0;
    virtual void ControlProbed(bool answered) = 0;
    virtual void MailAttempted(bool delivered) = 0;
    // The end of a cycle, and any change of these between cycles.
    virtual void StateChanged(bool alertActive, int mailsWaiting) = 0;
};

}  // namespace vigilon
