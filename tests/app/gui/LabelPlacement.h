#pragma once

#include <wx/window.h>

#include <string>
#include <vector>

namespace vigilon::test {

// The labels among container's children that sit in a group box but closer
// than margin pixels to its inner edges, or over another control; each
// named by its text. Labels outside every group box are not judged.
std::vector<std::string> MisplacedLabels(wxWindow& container, int margin);

}  // namespace vigilon::test
