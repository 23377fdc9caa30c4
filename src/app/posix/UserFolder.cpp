#include <cstdlib>

#include "DataFolder.h"

namespace vigilon::app {

UserFolderVariables ReadUserFolderVariables() {
    return {std::getenv("XDG_STATE_HOME"), std::getenv("HOME")};
}

std::filesystem::path UserDataFolder(const UserFolderVariables& variables) {
    return UserDataFolder(variables.stateHome, variables.home);
}

std::string NoUserFolderText() { return "neither XDG_STATE_HOME nor HOME names a folder"; }

}  // namespace vigilon::app
