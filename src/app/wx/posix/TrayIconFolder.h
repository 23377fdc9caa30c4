#pragma once

#include <string>

namespace vigilon::app {

// The tray's three pictures as PNG files in a private folder, for a tray
// that loads its icon by name from a folder (a StatusNotifierItem's host
// runs in another process and cannot take a picture from memory). The
// folder lies in the user's runtime folder, or the temporary folder when
// there is none, and goes with this object.
class TrayIconFolder {
public:
    TrayIconFolder();
    ~TrayIconFolder();
    TrayIconFolder(const TrayIconFolder&) = delete;
    TrayIconFolder& operator=(const TrayIconFolder&) = delete;

    // True when all three pictures were written.
    bool Ready() const { return ready_; }
    const std::string& Path() const { return path_; }

    // The file name without ".png" of tray icon 141, 142 or 143; empty for
    // any other.
    static std::string IconName(int iconId);

private:
    std::string path_;
    bool ready_ = false;
};

}  // namespace vigilon::app
