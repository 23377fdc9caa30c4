#pragma once

#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <string>

#include "LogViewer.h"

namespace vigilon::app {

// A read-only window on the end of the log, with a note on what to install
// for the system's own viewer, Reload and Close. It stands on its own, or
// above a modal dialog (the settings) that asked for it, and stays usable
// while that dialog holds the program's other windows.
class LogViewerFrame : public wxFrame {
public:
    // owner: the modal dialog it shows above, or nullptr.
    LogViewerFrame(wxWindow* owner, std::string path);

    // Reads the file again and shows its end.
    void Reload();
    void SetPath(std::string path) { path_ = std::move(path); }
    wxTextCtrl& Text() { return *text_; }

private:
    std::string path_;
    wxTextCtrl* text_ = nullptr;
};

// The log viewer as the program's port: one window at a time, reloaded and
// raised when asked again, closed when this goes.
class WxLogViewer : public LogViewer {
public:
    WxLogViewer() = default;
    ~WxLogViewer() override;
    WxLogViewer(const WxLogViewer&) = delete;
    WxLogViewer& operator=(const WxLogViewer&) = delete;

    void ShowLog(const std::string& path) override;

private:
    wxWeakRef<LogViewerFrame> frame_;
};

}  // namespace vigilon::app
