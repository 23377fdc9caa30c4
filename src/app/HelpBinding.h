#pragma once

namespace vigilon::app {

// The help viewer as the help command reaches it.
class HelpBackend {
public:
    enum class BindResult {
        Bound,   // the viewer holds the book from now on
        NoBook,  // no book to be found: nothing to show this time
        Failed,  // the viewer cannot be set up with the book
    };

    virtual ~HelpBackend() = default;
    // Sets the viewer up with the program's book.
    virtual BindResult Bind() = 0;
    // Shows the book's start page. Its outcome is not examined.
    virtual void ShowContents() = 0;
};

// When the help viewer is set up: on the first help request, not at
// start-up. Once bound it stays bound. A failure is remembered, so every
// later request does nothing rather than failing again; a missing book is
// silently skipped and looked for again at the next request, so a book
// installed while the program runs is found.
class HelpBinding {
public:
    explicit HelpBinding(HelpBackend& backend) : backend_(backend) {}

    void OpenHelp();

    bool IsBound() const { return state_ == State::Bound; }
    bool HasFailed() const { return state_ == State::Failed; }

private:
    enum class State { Unbound, Bound, Failed };

    HelpBackend& backend_;
    State state_ = State::Unbound;
};

}  // namespace vigilon::app
