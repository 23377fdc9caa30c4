#include "LabelPlacement.h"

#include <wx/statbox.h>
#include <wx/stattext.h>

namespace vigilon::test {

std::vector<std::string> MisplacedLabels(wxWindow& container, int margin) {
    std::vector<wxStaticBox*> boxes;
    std::vector<wxWindow*> controls;
    std::vector<wxStaticText*> labels;
    for (wxWindow* child : container.GetChildren()) {
        if (!child->IsShown()) continue;
        if (auto* box = dynamic_cast<wxStaticBox*>(child))
            boxes.push_back(box);
        else if (auto* label = dynamic_cast<wxStaticText*>(child))
            labels.push_back(label);
        else
            controls.push_back(child);
    }
    std::vector<std::string> misplaced;
    for (wxStaticText* label : labels) {
        const wxRect rect = label->GetRect();
        const wxPoint middle(rect.x + rect.width / 2, rect.y + rect.height / 2);
        bool wrong = false;
        for (wxStaticBox* box : boxes) {
            const wxRect frame = box->GetRect();
            // The innermost group holding the label's middle judges it.
            if (!frame.Contains(middle)) continue;
            wrong =
                wrong || rect.x < frame.x + margin || rect.GetRight() > frame.GetRight() - margin;
        }
        for (wxWindow* control : controls)
            wrong = wrong || control->GetRect().Intersects(rect);
        if (wrong) misplaced.push_back(label->GetLabelText().utf8_string());
    }
    return misplaced;
}

}  // namespace vigilon::test
