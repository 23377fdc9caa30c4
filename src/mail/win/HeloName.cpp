#include "HeloName.h"

#include "NetworkStart.h"
#include "SystemSockets.h"

namespace vigilon {

// Winsock's gethostname, which needs Winsock started.
std::string HeloName() {
    return HeloName([](char* name, std::size_t length) {
        return StartNetwork() == 0 ? ::gethostname(name, static_cast<int>(length)) : -1;
    });
}

}  // namespace vigilon
