#include "MainWindowLayout.h"

#include <wx/statbox.h>
#include <wx/valtext.h>

#include <algorithm>
#include <vector>

#include "CommandIds.h"
#include "Pictures.h"

namespace vigilon::app {

namespace {

// Positions and sizes in dialog units, as the template gives them.
struct Du {
    int x, y, cx, cy;
};

class Layout {
public:
    explicit Layout(wxPanel* panel) : panel_(panel) {}

    wxPoint Pos(Du du) const { return wxDLG_UNIT(panel_, wxPoint(du.x, du.y)); }
    wxSize Size(Du du) const { return wxDLG_UNIT(panel_, wxSize(du.cx, du.cy)); }

    void Frame(Du du, const char* title) {
        new wxStaticBox(panel_, wxID_ANY, title, Pos(du), Size(du));
        frames_.emplace_back(Pos(du), Size(du));
    }
    // The label beside a control: ending just left of it, centred on its
    // height, as wide as its text needs in the system font, and inside its
    // group box by the layout's margin. Where the font leaves the label too
    // little room there, it takes the room from the gap to the control
    // (down to one unit), then from the control's left part: the returned
    // amount, by which the control starts further right.
    int Label(const char* text, Du control) {
        auto* label = new wxStaticText(panel_, wxID_ANY, text);
        const wxSize size = label->GetBestSize();
        const wxPoint at = Pos(control);
        const int gap = wxDLG_UNIT(panel_, wxSize(3, 0)).x;
        const int smallestGap = wxDLG_UNIT(panel_, wxSize(1, 0)).x;
        const int x = at.x - gap - size.x;
        const int wanting = std::max(0, InnerLeft(at) - x);
        label->Move(x + wanting, at.y + (Size(control).y - size.y) / 2);
        return std::max(0, wanting - (gap - smallestGap));
    }
    // The control's rectangle with its first taken pixels given to its label.
    wxRect Narrowed(Du du, int taken) const {
        return wxRect(Pos(du) + wxPoint(taken, 0), Size(du) - wxSize(taken, 0));
    }
    wxTextCtrl* ReadOnlyEdit(int id, Du du, const char* label, long style = 0,
                             const wxValidator& validator = wxDefaultValidator) {
        const wxRect rect = Narrowed(du, label != nullptr ? Label(label, du) : 0);
        return new wxTextCtrl(panel_, id, wxEmptyString, rect.GetPosition(), rect.GetSize(),
                              wxTE_READONLY | style, validator);
    }
    // A sunken, centred display of one value.
    ValueField* Value(int id, Du du, const char* label) {
        const wxRect rect = Narrowed(du, Label(label, du));
        return new ValueField(panel_, id, rect.GetPosition(), rect.GetSize());
    }
    // A picture control takes the size of its picture.
    wxStaticBitmap* Picture(int id, Du du, vigilon::app::Picture picture, wxSize size) {
        return new wxStaticBitmap(panel_, id, PictureBundle(picture, size), Pos(du));
    }
    wxButton* Button(int id, Du du, const char* text) {
        return new wxButton(panel_, id, text, Pos(du), Size(du));
    }

private:
    // Where text may start in the group box holding point: the layout's
    // margin inside its left border (the template's own, 4 units).
    int InnerLeft(wxPoint point) const {
        for (const wxRect& frame : frames_)
            if (frame.Contains(point)) return frame.x + wxDLG_UNIT(panel_, wxSize(4, 0)).x;
        return 0;
    }

    wxPanel* panel_;
    std::vector<wxRect> frames_;
};

}  // namespace

MainWindowControls LayOutMainWindow(wxPanel* panel) {
    Layout layout(panel);
    MainWindowControls c;
    // Frames first, so that the controls inside are drawn over them.
    layout.Frame({8, 0, 253, 63}, "");
    layout.Frame({7, 82, 253, 84}, "Status / Statistics (resets every 24 hours)");

    c.targetAddress = layout.ReadOnlyEdit(IDC_TARGET_ADDRESS, {66, 10, 120, 12}, "Target Address:");
    // As wide as the name below it: an IPv6 address takes up to 39 characters.
    c.targetIp = layout.ReadOnlyEdit(IDC_TARGET_IP, {66, 26, 176, 12}, "Target IP:");
    c.ipToName = layout.ReadOnlyEdit(IDC_IP_TO_NAME, {66, 43, 176, 12}, "IP to Name:");
    c.countdown = layout.ReadOnlyEdit(IDC_COUNTDOWN, {12, 65, 32, 15}, nullptr, wxTE_CENTRE,
                                      wxTextValidator(wxFILTER_DIGITS));
    c.progress = new wxGauge(panel, IDC_PROGRESS, 100, layout.Pos({50, 70, 204, 6}),
                             layout.Size({50, 70, 204, 6}), wxGA_HORIZONTAL | wxGA_SMOOTH);

    c.pingNumber = layout.Value(IDC_PING_NUMBER, {55, 95, 24, 12}, "Ping Number:");
    c.targetTimeouts = layout.Value(IDC_TARGET_TIMEOUTS, {143, 94, 22, 12}, "Target Time Outs:");
    c.controlTimeouts = layout.Value(IDC_CONTROL_TIMEOUTS, {230, 94, 24, 12}, "Control Time Outs:");
    c.emails = layout.Value(IDC_EMAILS, {43, 112, 30, 12}, "# Emails:");
    c.timeRunning = layout.Value(IDC_TIME_RUNNING, {143, 112, 111, 12}, "Time Running:");
    c.lastError = layout.Value(IDC_LAST_ERROR, {49, 129, 205, 12}, "Last Error:");
    c.results = layout.Value(IDC_RESULTS, {43, 147, 211, 12}, "Results:");

    // Three lamps stacked on one spot; the run shows one at a time.
    const wxSize lamp = PictureSize(Picture::LampIdle);
    c.lampIdle = layout.Picture(IDC_LAMP_IDLE, {237, 9, 16, 14}, Picture::LampIdle, lamp);
    c.lampOnline = layout.Picture(IDC_LAMP_ONLINE, {237, 9, 16, 14}, Picture::LampOnline, lamp);
    c.lampTargetDown =
        layout.Picture(IDC_LAMP_TARGET_DOWN, {237, 9, 16, 14}, Picture::LampTargetDown, lamp);
    c.lampOnline->Hide();
    c.lampTargetDown->Hide();
    layout.Picture(wxID_ANY, {69, 170, 129, 20}, Picture::Banner, layout.Size({69, 170, 129, 20}));

    c.settings = layout.Button(ID_SETTINGS_BUTTON, {7, 176, 49, 14}, "&Settings");
    c.toggle = layout.Button(ID_TOGGLE_BUTTON, {211, 176, 49, 14}, "Start &Ping");
    c.toggle->SetDefault();

    panel->SetClientSize(wxDLG_UNIT(panel, wxSize(267, 197)));
    return c;
}

}  // namespace vigilon::app
