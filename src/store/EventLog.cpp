#include "EventLog.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FilePaths.h"
#include "LogLine.h"

namespace vigilon {

namespace {

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        // A short write is a full disk as well: the rest would not fit.
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

int EventLog::OpenLocked(int extraFlags) {
    int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | extraFlags, 0666);
    if (fd < 0) return -1;
    // Another holder (a second copy of the program) means the file is busy;
    // waiting would freeze the window, so the caller gives up instead.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void EventLog::Write(const std::string& message) {
    std::lock_guard<std::mutex> turn(writing_);
    int fd = OpenLocked(O_APPEND);
    if (fd < 0) {
        problems_.Report(kLogOpenFailedMessage, MessageIcon::Exclamation);
        return;
    }
    struct stat before {};
    const bool sized = ::fstat(fd, &before) == 0;
    const std::string line = FormatLogLine(clock_.Now(), message);
    bool ok = WriteAll(fd, line);
    // Cut off a partial line so that the next entry starts cleanly.
    if (!ok && sized && S_ISREG(before.st_mode)) (void)::ftruncate(fd, before.st_size);
    if (::close(fd) != 0) ok = false;
    if (!ok) ReportDiskFull();
}

void EventLog::Clear(UserPrompt& prompt) {
    if (!prompt.AskYesNo(kLogClearQuestion, MessageIcon::Question)) return;
    std::lock_guard<std::mutex> turn(writing_);
    int fd = OpenLocked(0);
    bool ok = fd >= 0 && ::ftruncate(fd, 0) == 0;
    if (fd >= 0) ::close(fd);
    if (!ok) prompt.ShowMessage(kLogClearFailedMessage, MessageIcon::Exclamation);
}

void EventLog::OpenInEditor() {
    launcher_.Launch({"xdg-open", path_});
}

void EventLog::ReportDiskFull() {
    problems_.Report("Disk full while accessing " + AbsolutePath(path_) + ".", MessageIcon::Stop);
}

}  // namespace vigilon
