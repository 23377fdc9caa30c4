#include "RunSpool.h"

#include <unistd.h>  // write; the C runtime's on Windows

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <type_traits>
#include <vector>

#include "ErrorText.h"
#include "SpoolFile.h"

namespace vigilon::ravelin {

namespace {

// Each entry: its kind, its size in 4 bytes, then its bytes. The file is
// read back by the process that wrote it, so records go as they are in memory.
constexpr char kLine = 'L';
constexpr char kRecord = 'R';
constexpr std::size_t kHeaderSize = 1 + sizeof(std::uint32_t);
constexpr std::size_t kFlushAt = 64 * 1024;
// Longer lines are cut: a length beyond it means the file is not as written.
constexpr std::uint32_t kLongestLine = 64 * 1024;
static_assert(std::is_trivially_copyable_v<PingRecord>);

}  // namespace

RunSpool::RunSpool(const std::string& folder) : folder(folder) {
    std::error_code ignored;  // opening says what is wrong
    std::filesystem::create_directories(folder, ignored);
    fd = UniqueFd(OpenSpoolFile(folder));
    if (!fd) Fail("open", ErrorText(errno));
}

void RunSpool::AddLine(std::string_view line) {
    line = line.substr(0, kLongestLine);
    Append(kLine, line.data(), static_cast<std::uint32_t>(line.size()));
}

void RunSpool::AddRecord(const PingRecord& record) { Append(kRecord, &record, sizeof record); }

void RunSpool::Append(char kind, const void* data, std::uint32_t size) {
    if (!Ok()) return;
    pending += kind;
    pending.append(reinterpret_cast<const char*>(&size), sizeof size);
    pending.append(static_cast<const char*>(data), size);
    if (pending.size() >= kFlushAt) Flush();
}

bool RunSpool::Flush() {
    std::size_t written = 0;
    while (Ok() && written < pending.size()) {
        const ssize_t now = write(fd.Get(), pending.data() + written, pending.size() - written);
        if (now > 0)
            written += static_cast<std::size_t>(now);
        else if (now == 0)
            Fail("write", ErrorText(ENOSPC));
        else if (errno != EINTR)
            Fail("write", ErrorText(errno));
    }
    pending.clear();
    return Ok();
}

bool RunSpool::ReadBack(const std::function<void(std::string_view line)>& onLine,
                        const std::function<void(const PingRecord& record)>& onRecord) {
    if (!Flush()) return false;
    std::vector<char> chunk(kFlushAt);
    std::string unread;  // entries cut by the end of a chunk wait for the next
    std::int64_t offset = 0;
    for (;;) {
        const std::int64_t got = ReadSpoolAt(fd.Get(), chunk.data(), chunk.size(), offset);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            Fail("read", ErrorText(errno));
            return false;
        }
        if (got == 0) break;
        offset += got;
        unread.append(chunk.data(), static_cast<std::size_t>(got));
        std::size_t at = 0;
        while (unread.size() - at >= kHeaderSize) {
            const char kind = unread[at];
            std::uint32_t size = 0;
            std::memcpy(&size, unread.data() + at + 1, sizeof size);
            const bool sound = (kind == kLine && size <= kLongestLine) ||
                               (kind == kRecord && size == sizeof(PingRecord));
            if (!sound) {
                Fail("read back", "it is not as it was written");
                return false;
            }
            if (unread.size() - at - kHeaderSize < size) break;
            const char* bytes = unread.data() + at + kHeaderSize;
            if (kind == kLine) {
                onLine(std::string_view(bytes, size));
            } else {
                PingRecord record;
                std::memcpy(&record, bytes, sizeof record);
                onRecord(record);
            }
            at += kHeaderSize + size;
        }
        unread.erase(0, at);
    }
    if (!unread.empty()) {
        Fail("read back", "it is not as it was written");
        return false;
    }
    return true;
}

void RunSpool::Fail(const std::string& doing, const std::string& why) {
    error = "cannot " + doing + " the spool in " + folder + ": " + why;
    fd.Close();
}

}  // namespace vigilon::ravelin
