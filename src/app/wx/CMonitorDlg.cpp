#include "CMonitorDlg.h"

#include <wx/menu.h>

#include "CommandIds.h"
#include "MenuBarKeys.h"
#include "MenuResources.h"
#include "Pictures.h"
#include "WindowTweaks.h"
#include "WxCommandIds.h"
#include "WxText.h"

namespace vigilon::app {

namespace {

// Fixed size: a caption with the window menu, minimise and close boxes, no
// maximise box and no sizing border.
constexpr long kWindowStyle = wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX;

wxMenu* BuildMenu(const MenuItem& popup) {
    auto* menu = new wxMenu;
    for (const MenuItem& item : popup.children) {
        if (item.IsSeparator())
            menu->AppendSeparator();
        else if (item.checkItem)
            menu->AppendCheckItem(ToWxId(item.id), ToWx(item.text))->Check(item.checked);
        else
            menu->Append(ToWxId(item.id), ToWx(item.text));
    }
    return menu;
}

wxMenuBar* BuildMenuBar(const MenuResource& resource) {
    auto* bar = new wxMenuBar;
    for (const MenuItem& popup : resource.popups)
        bar->Append(BuildMenu(popup), ToWx(popup.text));
    return bar;
}

}  // namespace

CMonitorDlg::CMonitorDlg()
    : wxFrame(nullptr, wxID_ANY, "Vigilon", wxDefaultPosition, wxDefaultSize, kWindowStyle),
      display_(*this, controls_),
      timers_(this) {
    SetMenuBar(BuildMenuBar(*FindMenuResource(kMainMenuId)));
    panel_ = new wxPanel(this);
#ifdef __WXGTK__
    // GTK draws both backgrounds from the theme. Left at wx's default, each
    // redraw (the values change every second) would first make a drawing
    // context for an erase event nobody handles, asking the theme for the
    // font each time.
    SetBackgroundStyle(wxBG_STYLE_SYSTEM);
    panel_->SetBackgroundStyle(wxBG_STYLE_SYSTEM);
#endif
    // The progress bar asks for a new layout each time it leaves 0 or
    // reaches 100 % (its looks there differ); the panel's size is fixed.
    KeepLayoutRequestsInside(*panel_);
    controls_ = LayOutMainWindow(panel_);
    SetClientSize(panel_->GetSize());
    AddSystemMenuAbout();
    SetIcons(AppIconBundle());
    Centre();

    Bind(wxEVT_MENU, &CMonitorDlg::OnCommand, this);
    Bind(wxEVT_BUTTON, &CMonitorDlg::OnCommand, this);
    Bind(wxEVT_TIMER, &CMonitorDlg::OnTimer, this);
    Bind(wxEVT_CHAR_HOOK, &CMonitorDlg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMonitorDlg::OnClose, this);
    Bind(wxEVT_ICONIZE, &CMonitorDlg::OnIconize, this);
}

// The About entry belongs in the window menu, where the platform lets a
// program add to it. wxGTK offers no access to the window manager's menu,
// so there the entry is left out; Help and the tray menu still reach About.
void CMonitorDlg::AddSystemMenuAbout() {
#ifdef __WXMSW__
    if (wxMenu* systemMenu = MSWGetSystemMenu()) {
        systemMenu->AppendSeparator();
        systemMenu->Append(ID_ABOUT_SYSMENU, "&About Vigilon...");
    }
#endif
}

void CMonitorDlg::Attach(MonitorEngine* engine, MonitorShell* shell) {
    engine_ = engine;
    shell_ = shell;
    display_.SetShell(shell);
    if (shell == nullptr) timers_.StopAll();
}

void CMonitorDlg::RunModal() {
    if (ended_) return;
    wxGUIEventLoop loop;
    loop_ = &loop;
    loop.Run();
    loop_ = nullptr;
}

// Also from inside another modal loop (a dialog of the program, where the
// tray menu still works): the window's loop then ends once that one has.
// IsRunning() would say no there, as it means "the innermost loop", and the
// exit would be lost with ended_ already set.
void CMonitorDlg::EndModalRun() {
    ended_ = true;
    if (loop_ != nullptr) loop_->ScheduleExit();
}

// Restored before it is shown, whatever wx believes: a window withdrawn
// while minimised may already have reported itself restored, and GTK would
// map it minimised again, where the minimise rule would withdraw it anew.
void CMonitorDlg::ShowNormal() {
    Iconize(false);
    Show(true);
    Raise();
}

void CMonitorDlg::Withdraw() { Hide(); }

void CMonitorDlg::Iconify() { Iconize(true); }

// Only a window on screen is raised: GTK raises by presenting, which maps
// a withdrawn window again, minimised as it was when it went. Mapped just
// before a restore (the tray's double-click raises, then opens), it raced
// the restore and the window manager often kept it minimised.
void CMonitorDlg::BringToFront() {
    if (IsShown()) Raise();
}

void CMonitorDlg::OnCommand(wxCommandEvent& event) {
    if (shell_ == nullptr || !shell_->RunCommand(FromWxId(event.GetId()))) event.Skip();
}

void CMonitorDlg::OnTimer(wxTimerEvent& event) {
    if (engine_ != nullptr) engine_->OnTimer(event.GetId());
}

// Escape leaves the program through the exit sequence. Enter presses the
// default Start/Stop button, unless a push button has the focus: that one
// is pressed instead, as usual. A menu title's access key opens its menu
// even where a control has the same key ("S&top Ping" and "&Tools"): GTK
// would take turns between the two, so every other Alt+T only focused the
// button and the next key was lost.
void CMonitorDlg::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (event.GetModifiers() == wxMOD_ALT && key > 0 && key < 128) {
        const int popup =
            PopupWithAccessKey(*FindMenuResource(kMainMenuId), static_cast<char>(key));
        if (popup >= 0) {
            OpenMenuBarMenu(*GetMenuBar(), popup);
            return;
        }
    }
    if (shell_ != nullptr && event.GetModifiers() == wxMOD_NONE) {
        if (key == WXK_ESCAPE) {
            shell_->RunExitSequence();
            return;
        }
        if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) &&
            dynamic_cast<wxButton*>(FindFocus()) == nullptr) {
            shell_->RunCommand(ID_TOGGLE_BUTTON);
            return;
        }
    }
    event.Skip();
}

// The window is destroyed by its owner once the modal run is over, never
// by the close event itself.
void CMonitorDlg::OnClose(wxCloseEvent& event) {
    if (shell_ != nullptr) shell_->RunExitSequence();  // it runs once
    if (event.CanVeto()) event.Veto();
}

void CMonitorDlg::OnIconize(wxIconizeEvent& event) {
    if (event.IsIconized() && shell_ != nullptr) shell_->OnMinimised();
    event.Skip();
}

}  // namespace vigilon::app
