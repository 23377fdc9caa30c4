#pragma once

#include "ProgramLauncher.h"

namespace vigilon {

// Starts a program found on PATH, detached: the program is handed to init
// through an intermediate child, so neither waiting for it nor reaping it
// is ever needed and no zombie is left behind. Failures are silent.
class PosixProgramLauncher : public ProgramLauncher {
public:
    void Launch(const std::vector<std::string>& commandLine) override;
};

}  // namespace vigilon
