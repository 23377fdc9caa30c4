#include "SimplePing.h"

#include <unistd.h>

#include <cstdlib>

#include "ProgramFolders.h"

namespace vigilon::app {

namespace fs = std::filesystem;

namespace {

// The search list execvp uses when PATH is not set.
constexpr std::string_view kDefaultSearchPath = "/bin:/usr/bin";

bool IsRunnable(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

}  // namespace

fs::path FindSimplePing(const fs::path& executableFolder, std::string_view searchPath) {
    if (!executableFolder.empty() && IsRunnable(executableFolder / kSimplePingProgram))
        return executableFolder / kSimplePingProgram;
    for (const fs::path& folder : SearchFolders(searchPath))
        if (IsRunnable(folder / kSimplePingProgram)) return folder / kSimplePingProgram;
    return {};
}

void LaunchSimplePing(ProgramLauncher& launcher) {
    const char* searchPath = std::getenv("PATH");
    const fs::path program =
        FindSimplePing(ExecutableFolder(), searchPath != nullptr ? searchPath : kDefaultSearchPath);
    // Launched by its full path, so the launcher's own search cannot pick
    // another program of that name.
    if (!program.empty()) launcher.Launch({program.string()});
}

}  // namespace vigilon::app
