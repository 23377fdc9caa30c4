#include "HelpBinding.h"

namespace vigilon::app {

void HelpBinding::OpenHelp() {
    if (state_ == State::Failed) return;
    if (state_ == State::Unbound) {
        switch (backend_.Bind()) {
            case HelpBackend::BindResult::Bound: state_ = State::Bound; break;
            case HelpBackend::BindResult::NoBook: return;
            case HelpBackend::BindResult::Failed: state_ = State::Failed; return;
        }
    }
    backend_.ShowContents();
}

}  // namespace vigilon::app
