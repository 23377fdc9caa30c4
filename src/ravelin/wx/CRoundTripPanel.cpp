#include "CRoundTripPanel.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/settings.h>

#include <algorithm>
#include <memory>

namespace vigilon::ravelin {

namespace {

// Room for the labels left of and under the plot, in pixels.
constexpr int kLeft = 64;
constexpr int kRight = 14;
constexpr int kTop = 10;
constexpr int kBottom = 24;
constexpr double kDotRadius = 2.5;

const wxColour kBackground(0xFF, 0xFF, 0xFF);
const wxColour kGrid(0xE2, 0xE6, 0xEA);
const wxColour kAxisText(0x55, 0x5F, 0x6B);

}  // namespace

const wxColour CRoundTripPanel::kReplyColour(0x1F, 0x6F, 0xD1);
const wxColour CRoundTripPanel::kLostColour(0xD6, 0x27, 0x28);
const wxColour CRoundTripPanel::kErrorColour(0xF0, 0x8C, 0x00);

CRoundTripPanel::CRoundTripPanel(wxWindow* parent, const RoundTripGraph& graph)
    : wxPanel(parent, wxID_ANY), graph(graph) {
    // All of it is drawn each time: nothing to erase first.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(FromDIP(wxSize(420, 180)));
    Bind(wxEVT_PAINT, &CRoundTripPanel::OnPaint, this);
}

void CRoundTripPanel::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    if (size.x <= 0 || size.y <= 0) return;
    Draw(size);
    dc.DrawBitmap(picture, 0, 0);
}

void CRoundTripPanel::Draw(wxSize size) {
    picture.Create(size, 24);
    wxMemoryDC memory(picture);
    memory.SetBackground(wxBrush(kBackground));
    memory.Clear();
    const std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(memory));
    if (!gc) return;

    const double width = std::max(1, size.x - kLeft - kRight);
    const double height = std::max(1, size.y - kTop - kBottom);
    plot = graph.Layout(kLeft, kTop, width, height);

    gc->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Smaller(), kAxisText);
    gc->SetPen(wxPen(kGrid, 1));
    for (const RoundTripGraph::Tick& tick : plot.yTicks) {
        gc->StrokeLine(kLeft, tick.position, kLeft + width, tick.position);
        double textWidth = 0, textHeight = 0;
        gc->GetTextExtent(tick.label, &textWidth, &textHeight);
        gc->DrawText(tick.label, kLeft - 6 - textWidth, tick.position - textHeight / 2);
    }
    for (const RoundTripGraph::Tick& tick : plot.xTicks) {
        gc->StrokeLine(tick.position, kTop, tick.position, kTop + height);
        double textWidth = 0, textHeight = 0;
        gc->GetTextExtent(tick.label, &textWidth, &textHeight);
        gc->DrawText(tick.label, tick.position - textWidth / 2, kTop + height + 5);
    }

    // The axes under the data, so that a sample at the start stays seen.
    gc->SetPen(wxPen(kAxisText, 1));
    gc->StrokeLine(kLeft, kTop, kLeft, kTop + height);
    gc->StrokeLine(kLeft, kTop + height, kLeft + width, kTop + height);

    // Time-outs and errors as strokes over the whole height, under the line.
    gc->SetPen(wxPen(kLostColour, 2));
    for (double x : plot.lost)
        gc->StrokeLine(x, kTop, x, kTop + height);
    gc->SetPen(wxPen(kErrorColour, 2));
    for (double x : plot.errors)
        gc->StrokeLine(x, kTop, x, kTop + height);

    if (!plot.replies.empty()) {
        gc->SetPen(wxPen(kReplyColour, 1));
        wxGraphicsPath line = gc->CreatePath();
        for (const RoundTripGraph::Point& point : plot.replies) {
            if (point.joined)
                line.AddLineToPoint(point.x, point.y);
            else
                line.MoveToPoint(point.x, point.y);
        }
        gc->StrokePath(line);
        gc->SetPen(*wxTRANSPARENT_PEN);
        gc->SetBrush(wxBrush(kReplyColour));
        for (const RoundTripGraph::Point& point : plot.replies)
            gc->DrawEllipse(point.x - kDotRadius, point.y - kDotRadius, 2 * kDotRadius,
                            2 * kDotRadius);
    }
}

}  // namespace vigilon::ravelin
