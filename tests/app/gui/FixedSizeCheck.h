#pragma once

#include <gmock/gmock.h>
#include <wx/toplevel.h>

#include "GuiSession.h"
#include "XWindowState.h"

namespace vigilon::test {

// A window of fixed size as its style says and as the window manager holds
// it once shown: it offers neither maximising nor resizing.
inline void ExpectFixedSize(wxTopLevelWindow& window) {
    EXPECT_FALSE(window.HasFlag(wxMAXIMIZE_BOX)) << window.GetTitle();
    EXPECT_FALSE(window.HasFlag(wxRESIZE_BORDER)) << window.GetTitle();
    const std::string title = window.GetTitle().utf8_string();
    std::vector<std::string> actions;
    ASSERT_TRUE(PumpUntil([&] { return !(actions = AllowedActionsOfWindowTitled(title)).empty(); }))
        << title;
    PumpFor(std::chrono::milliseconds(200));  // the manager's last word on the size hints
    actions = AllowedActionsOfWindowTitled(title);
    using ::testing::Contains;
    using ::testing::Not;
    EXPECT_THAT(actions, Not(Contains("_NET_WM_ACTION_MAXIMIZE_HORZ"))) << title;
    EXPECT_THAT(actions, Not(Contains("_NET_WM_ACTION_MAXIMIZE_VERT"))) << title;
    EXPECT_THAT(actions, Not(Contains("_NET_WM_ACTION_RESIZE"))) << title;
    EXPECT_THAT(actions, Contains("_NET_WM_ACTION_CLOSE")) << title;
}

}  // namespace vigilon::test
