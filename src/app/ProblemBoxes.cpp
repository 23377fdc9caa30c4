#include "ProblemBoxes.h"

namespace vigilon::app {

void ProblemBoxes::Report(const std::string& text, MessageIcon icon) {
    if (!open_.insert(text).second) return;
    boxes_.Open(text, icon, [this, text] { open_.erase(text); });
}

}  // namespace vigilon::app
