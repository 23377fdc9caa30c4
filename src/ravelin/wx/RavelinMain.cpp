// The entry point. The command line is read before the toolkit starts, as
// Vigilon's is: --help, --version and a mistake need no display, and a
// missing display is said in one line instead of a toolkit abort.
#include <wx/init.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "CRavelinApp.h"
#include "DisplayAvailable.h"
#include "DisplayCheck.h"
#include "RavelinCommandLine.h"

wxIMPLEMENT_APP_NO_MAIN(vigilon::ravelin::CRavelinApp);

int main(int argc, char** argv) {
    using vigilon::ravelin::RavelinCommandLine;
    const RavelinCommandLine line =
        vigilon::ravelin::ParseRavelinCommandLine({argv + 1, argv + argc});
    switch (line.action) {
        case RavelinCommandLine::Action::ShowHelp:
            std::cout << vigilon::ravelin::RavelinUsageText();
            return 0;
        case RavelinCommandLine::Action::ShowVersion:
            std::cout << vigilon::ravelin::RavelinVersionText();
            return 0;
        case RavelinCommandLine::Action::Refuse:
            std::cerr << "ravelin: " << line.error
                      << "\nTry 'ravelin --help' for more information.\n";
            return 2;
        case RavelinCommandLine::Action::Run: break;
    }
    if (!vigilon::app::DisplayAvailable()) {
        std::cerr << vigilon::app::NoDisplayMessage("ravelin", std::getenv("DISPLAY"),
                                                    std::getenv("WAYLAND_DISPLAY"));
        return vigilon::app::kNoDisplayExitCode;
    }
    wxApp::SetInstance(new vigilon::ravelin::CRavelinApp(line.host));
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    return wxEntry(toolkitArgc, toolkitArgv);
}
