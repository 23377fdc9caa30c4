#include "SimplePing.h"

#include <cstdlib>

#include "FilePaths.h"
#include "PlatformNames.h"
#include "ProgramFolders.h"

namespace vigilon::app {

namespace fs = std::filesystem;

std::string SimplePingProgram() { return "ravelin" + std::string(kProgramFileSuffix); }

fs::path FindSimplePing(const fs::path& executableFolder, std::string_view searchPath) {
    const std::string program = SimplePingProgram();
    if (!executableFolder.empty() && IsRunnableFile(executableFolder / program))
        return executableFolder / program;
    for (const fs::path& folder : SearchFolders(searchPath))
        if (IsRunnableFile(folder / program)) return folder / program;
    return {};
}

void LaunchSimplePing(ProgramLauncher& launcher) {
    const char* searchPath = std::getenv("PATH");
    const fs::path program =
        FindSimplePing(ExecutableFolder(), searchPath != nullptr ? searchPath : kDefaultSearchPath);
    // Launched by its full path, so the launcher's own search cannot pick
    // another program of that name.
    if (!program.empty()) launcher.Launch({PathText(program)});
}

}  // namespace vigilon::app
