#pragma once

// The small interfaces through which the shell's rules (MonitorShell) reach
// the main window and the services around it. The wx window implements
// them; tests implement them with fakes.

namespace vigilon::app {

// What the shell asks of the main window itself.
class MainWindow {
public:
    virtual ~MainWindow() = default;
    // Shows the window at its normal size, restoring it when minimised.
    virtual void ShowNormal() = 0;
    // Takes the window off the screen and the taskbar; only the tray icon remains.
    virtual void Withdraw() = 0;
    // Minimises the window the ordinary way, keeping its taskbar entry.
    virtual void Iconify() = 0;
    virtual void BringToFront() = 0;
    // Ends the window's modal run; the program ends when it returns.
    virtual void EndModalRun() = 0;
};

// The window's services that live in dialogs and programs of their own.
class ShellServices {
public:
    virtual ~ShellServices() = default;
    virtual void ShowAbout() = 0;
    virtual void OpenHelp() = 0;
    virtual void LaunchSimplePing() = 0;
};

// Whether this process may send pings at all.
class IcmpCheck {
public:
    virtual ~IcmpCheck() = default;
    virtual bool CanOpenIcmpSocket() = 0;
};

}  // namespace vigilon::app
