#pragma once

namespace vigilon::app {

// A dialog asked to close from outside its own buttons (an Exit from the
// tray menu) while something of its own still runs: a nested dialog's
// modal loop, or a check that is not cut short. wx ends a modal loop only
// while it is the innermost one, so the dialog closes now when nothing
// runs, or as soon as that ends. Asked again, nothing more happens.
class OutsideClose {
public:
    // True when the dialog should close now.
    bool Request(bool busy) {
        if (requested_) return false;
        requested_ = true;
        waiting_ = busy;
        return !busy;
    }
    // What kept the dialog busy has ended: true when it should close now.
    bool BusyEnded() {
        const bool close = waiting_;
        waiting_ = false;
        return close;
    }
    bool Requested() const { return requested_; }

private:
    bool requested_ = false;
    bool waiting_ = false;
};

}  // namespace vigilon::app
