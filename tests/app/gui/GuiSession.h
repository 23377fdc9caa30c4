#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vigilon::test {

// A private X display for window tests: an Xvfb server on a display number
// it picks itself, and, when asked, a window manager (openbox, so that
// minimising is real), a tray host (trayer, so that the tray icon shows) and
// a private, empty session bus (for the tests' own StatusNotifierWatcher and
// notification service; nothing on it starts by activation). Everything it
// starts is stopped by process id when it goes.
class GuiSession {
public:
    struct Options {
        bool windowManager = false;
        bool trayHost = false;
        bool sessionBus = false;
    };

    explicit GuiSession(Options options);
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    // Empty when the display is up (and DISPLAY points at it).
    const std::string& Error() const { return error_; }
    const std::string& Display() const { return display_; }

private:
    pid_t Spawn(const std::vector<std::string>& argv, int keepFd = -1);
    bool WaitForRootProperty(const std::string& property, std::chrono::milliseconds limit);
    bool StartSessionBus();
    void StopAll();

    std::string error_;
    std::string display_;
    std::string busFolder_;        // the bus's configuration and socket, removed at the end
    std::vector<pid_t> children_;  // stopped in reverse order
};

// Runs the toolkit's events until condition holds or limit passes; returns
// the condition's last value.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(5));
// Runs the toolkit's events for the given time.
void PumpFor(std::chrono::milliseconds duration);

// Pixels darker than mid-grey in a rectangle of the screen, as the X server
// holds them: what was painted, not what a window object says it shows.
int CountDarkPixels(int x, int y, int width, int height);

}  // namespace vigilon::test
