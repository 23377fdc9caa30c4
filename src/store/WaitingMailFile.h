#pragma once

#include <string>
#include <vector>

#include "WaitingMailStore.h"

namespace vigilon {

inline constexpr const char* kWaitingMailFileName = "Vigilon.mail";

// The waiting mails in a file of the data folder (WaitingMailCodec.h). A
// save replaces the whole file through a synced temporary renamed over it,
// always as a new file of mode 0600, so a crash leaves the old list or the
// new one; an empty list removes the file. A link in its place is followed
// only as OpenDataFile allows (DataFileOpen.h), the new file then taking
// the place of the one at the link's end.
class WaitingMailFile : public WaitingMailStore {
public:
    explicit WaitingMailFile(std::string path) : path_(std::move(path)) {}

    std::vector<AlertEvent> Load(std::string& error) override;
    std::string Save(const std::vector<AlertEvent>& mails) override;

private:
    std::string path_;
};

}  // namespace vigilon
