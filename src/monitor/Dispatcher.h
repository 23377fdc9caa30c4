#pragma once

#include <functional>

namespace vigilon {

// Hands a task to the engine's thread, which runs it later, in the order
// posted. Any thread may post. The window's event loop implements it, and
// so does the headless loop.
class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    virtual void Post(std::function<void()> task) = 0;
};

}  // namespace vigilon
