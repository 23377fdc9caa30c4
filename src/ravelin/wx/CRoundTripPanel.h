#pragma once

#include <wx/bitmap.h>
#include <wx/panel.h>

#include "RoundTripGraph.h"

namespace vigilon::ravelin {

// Draws the live graph of round trips: a line through the answers, a red
// stroke where a request timed out and an orange one where an error came
// back. Each paint is drawn whole into a picture of the panel's size first,
// which is kept, with the plot it showed, for whoever wants to look.
class CRoundTripPanel : public wxPanel {
public:
    CRoundTripPanel(wxWindow* parent, const RoundTripGraph& graph);

    const wxBitmap& LastPicture() const { return picture; }
    const RoundTripGraph::Plot& LastPlot() const { return plot; }

    static const wxColour kReplyColour;
    static const wxColour kLostColour;
    static const wxColour kErrorColour;

private:
    void OnPaint(wxPaintEvent& event);
    void Draw(wxSize size);

    const RoundTripGraph& graph;
    wxBitmap picture;
    RoundTripGraph::Plot plot;
};

}  // namespace vigilon::ravelin
