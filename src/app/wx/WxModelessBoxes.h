#pragma once

#include <set>

#include <wx/dialog.h>

#include "ProblemBoxes.h"

namespace vigilon::app {

// Message boxes that do not stop the program: the program's MessageBox
// with the message's icon, its text and OK, shown on its own (the main window may be
// in the tray) and gone when closed. Boxes still open when this goes are
// destroyed without telling anyone.
class WxModelessBoxes : public ModelessBoxes {
public:
    WxModelessBoxes() = default;
    ~WxModelessBoxes() override;
    WxModelessBoxes(const WxModelessBoxes&) = delete;
    WxModelessBoxes& operator=(const WxModelessBoxes&) = delete;

    void Open(const std::string& text, MessageIcon icon, std::function<void()> whenClosed) override;

private:
    std::set<wxDialog*> open_;
};

}  // namespace vigilon::app
