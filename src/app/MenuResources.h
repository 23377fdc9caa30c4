#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vigilon::app {

// A menu as the program defines it, independent of any toolkit: pop-ups
// holding items; an item with id 0 and no text is a separator.
struct MenuItem {
    int id = 0;
    std::string text;
    bool checkItem = false;          // shows a check mark
    bool checked = false;            // the check mark the menu starts with
    std::vector<MenuItem> children;  // a pop-up when not empty

    bool IsSeparator() const { return id == 0 && text.empty() && children.empty(); }
};

struct MenuResource {
    std::vector<MenuItem> popups;  // the top-level pop-ups, in order
};

// The access key a text marks with '&' (lowercase); 0 when it marks none.
// "&&" stands for a plain '&'.
char AccessKey(std::string_view text);

// The index of the top-level pop-up whose title has key (either case) as
// its access key; -1 when none has.
int PopupWithAccessKey(const MenuResource& menu, char key);

// The menu with the given resource identifier (134 the main menu, 144 the
// tray's popup menu); nullptr for any other.
const MenuResource* FindMenuResource(int resourceId);

}  // namespace vigilon::app
