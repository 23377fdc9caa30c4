#pragma once

#include <string>
#include <vector>

namespace vigilon {

// Starts another program (an editor, a browser, a companion tool) without
// waiting for it. Whether it started is deliberately not reported.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual void Launch(const std::vector<std::string>& commandLine) = 0;
};

}  // namespace vigilon
