#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "PingRecord.h"
#include "UniqueFd.h"

namespace vigilon::ravelin {

// Every line and record of one run, in order, in a file of its own, so that
// a save can write the whole run while memory keeps only its latest part.
// Only its owner can read the file, and it goes when the spool is destroyed
// or the process ends, however it ends (SpoolFile.h).
class RunSpool {
public:
    // Opens the file in folder, which is made when missing.
    explicit RunSpool(const std::string& folder);
    RunSpool(const RunSpool&) = delete;
    RunSpool& operator=(const RunSpool&) = delete;

    // False once the file could not be opened, written or read: it is
    // closed then, and Error() says why.
    bool Ok() const { return static_cast<bool>(fd); }
    const std::string& Error() const { return error; }

    void AddLine(std::string_view line);
    void AddRecord(const PingRecord& record);

    // Hands every entry back in the order added; false when reading failed.
    bool ReadBack(const std::function<void(std::string_view line)>& onLine,
                  const std::function<void(const PingRecord& record)>& onRecord);

private:
    void Append(char kind, const void* data, std::uint32_t size);
    bool Flush();
    void Fail(const std::string& doing, const std::string& why);

    std::string folder;
    UniqueFd fd;
    std::string pending;  // entries not yet written
    std::string error;
};

// Where runs are spooled. Linux: $TMPDIR when set, else the user's cache,
// whose disk is less likely than /tmp's to be memory. Windows: the user's
// temporary folder.
std::string SpoolFolder();

}  // namespace vigilon::ravelin
