#pragma once

namespace vigilon::app {

// The way out of the program, in one place. An exit asked for while the
// settings dialog is open waits for that edit to end; the exit then runs
// once; and once the program has ended (by the exit, or a first run
// cancelled), nothing more is asked of it.
class ExitProgress {
public:
    // An exit was asked for while an edit is open.
    void WaitForEdit() {
        if (stage_ == Stage::Running) stage_ = Stage::AfterEdit;
    }
    // The edit is over: true when an exit was waiting for it.
    bool TakeWaitingExit() {
        if (stage_ != Stage::AfterEdit) return false;
        stage_ = Stage::Running;
        return true;
    }
    // True the first time only: the program's end goes ahead.
    bool BeginEnd() {
        if (stage_ == Stage::Ended) return false;
        stage_ = Stage::Ended;
        return true;
    }
    bool Ended() const { return stage_ == Stage::Ended; }

private:
    enum class Stage { Running, AfterEdit, Ended };
    Stage stage_ = Stage::Running;
};

}  // namespace vigilon::app
