#include "WindowProgram.h"

#include <unistd.h>

#include "ErrorText.h"
#include "ProgramFolders.h"

namespace vigilon::app {

namespace {
constexpr const char* kWindowProgram = "vigilon-window";
}

std::filesystem::path WindowProgramPath() {
    const std::filesystem::path here = ExecutableFolder();
    return FindFileIn(kWindowProgram, {here, here.empty() ? here : here / VIGILON_WINDOW_FROM_BIN,
                                       VIGILON_WINDOW_DIR});
}

std::string BecomeWindowProgram(char** argv) {
    const std::filesystem::path program = WindowProgramPath();
    if (program.empty())
        return std::string("the window program ") + kWindowProgram + " is not installed";
    ::execv(program.c_str(), argv);
    return "cannot start " + program.string() + ": " + ErrorText(errno);
}

}  // namespace vigilon::app
