#pragma once

#include <wx/app.h>

#include "Dispatcher.h"

namespace vigilon::app {

// The window's thread as the engine's: a task posted from any thread runs
// from the window's event loop, nested loops of dialogs included.
class WxDispatcher : public Dispatcher {
public:
    void Post(std::function<void()> task) override {
        if (wxTheApp != nullptr) wxTheApp->CallAfter(task);  // wx copies the functor
    }
};

}  // namespace vigilon::app
