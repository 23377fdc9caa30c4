// Entry point of the window tests: a private X display (with a window manager
// and a tray host) and a private session bus, the toolkit started on them,
// and toolkit assertions (such as an unexpected message box under
// wxTEST_DIALOG) reported as failures.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>

#include <cstring>
#include <memory>

#include "GuiSession.h"

namespace {

class GuiTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

void ReportAssertion(const wxString& file, int line, const wxString& func, const wxString& cond,
                     const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str(), line) << "toolkit assertion in " << func.utf8_str() << ": "
                                          << cond.utf8_str() << " " << msg.utf8_str();
}

bool OnlyListing(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
    return false;
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (OnlyListing(argc, argv)) return RUN_ALL_TESTS();

    // The bus comes before the toolkit, which finds it at its first use.
    vigilon::test::GuiSession session(
        {.windowManager = true, .trayHost = true, .sessionBus = true});
    if (!session.Error().empty()) {
        fprintf(stderr, "window tests cannot run: %s\n", session.Error().c_str());
        return 1;
    }
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        fprintf(stderr, "the toolkit did not start on %s\n", session.Display().c_str());
        return 1;
    }
    wxSetAssertHandler(ReportAssertion);
    int result = 0;
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator active(&loop);
        result = RUN_ALL_TESTS();
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
