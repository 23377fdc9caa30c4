#pragma once

#include <string>
#include <vector>

#include "AlertEvent.h"

namespace vigilon {

// Keeps the mails that no server has accepted yet, in a file of the data
// folder, so that an exit, a kill or a power cut loses none of them.
class WaitingMailStore {
public:
    virtual ~WaitingMailStore() = default;
    // The mails kept, oldest first; none when there is no file. A file that
    // cannot be read or is damaged gives what could be read and sets error.
    virtual std::vector<AlertEvent> Load(std::string& error) = 0;
    // Replaces what is kept, all at once: the old list or the new one is
    // there afterwards, never a mix. Returns an empty text or the error.
    virtual std::string Save(const std::vector<AlertEvent>& mails) = 0;
};

}  // namespace vigilon
