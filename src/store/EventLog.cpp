#include "EventLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "FileLock.h"
#include "FilePaths.h"
#include "LogLine.h"
#include "WriteAll.h"

namespace vigilon {

namespace {

// A link or a kind of file that is never written says what it is, so that
// the user can mend it; other failures keep the plain message.
bool IsRefusal(const DataFile& file) {
    return file.state == DataFile::State::NotAFile || file.state == DataFile::State::Refused;
}

}  // namespace

DataFile EventLog::OpenLocked(int extraFlags) {
    DataFile file = OpenDataFile(path_, O_WRONLY | O_CREAT | extraFlags, 0666);
    // Another holder (a second copy of the program) means the file is busy;
    // waiting would freeze the window, so the caller gives up instead.
    if (file.state == DataFile::State::Open && LockWholeFile(file.fd.Get()) != 0) {
        file.state = DataFile::State::Failed;
        file.fd.Close();
    }
    return file;
}

void EventLog::Write(const std::string& message) {
    std::lock_guard<std::mutex> turn(writing_);
    DataFile file = OpenLocked(O_APPEND);
    if (file.state != DataFile::State::Open) {
        ReportUnopened(file);
        return;
    }
    const int fd = file.fd.Get();
    struct stat before {};
    const bool sized = ::fstat(fd, &before) == 0;
    const std::string line = FormatLogLine(clock_.Now(), message);
    bool ok = WriteAll(fd, line) == 0;
    // Cut off a partial line so that the next entry starts cleanly.
    if (!ok && sized) (void)::ftruncate(fd, before.st_size);
    if (file.fd.Close() != 0) ok = false;
    if (!ok) ReportDiskFull();
}

std::string EventLog::Clear() {
    std::lock_guard<std::mutex> turn(writing_);
    DataFile file = OpenLocked(0);
    if (file.state == DataFile::State::Open && ::ftruncate(file.fd.Get(), 0) == 0) return {};
    std::string text = kLogClearFailedMessage;
    if (IsRefusal(file)) text += " " + AbsolutePath(path_) + ": " + file.problem + ".";
    return text;
}

void EventLog::OpenInEditor() {
    launcher_.OpenWatched(path_, [viewer = ownViewer_, path = path_] {
        if (viewer != nullptr) viewer->ShowLog(path);
    });
}

void EventLog::ReportUnopened(const DataFile& file) {
    if (IsRefusal(file))
        problems_.Report(
            "Unable to write the log to " + AbsolutePath(path_) + ": " + file.problem + ".",
            MessageIcon::Exclamation);
    else
        problems_.Report(kLogOpenFailedMessage, MessageIcon::Exclamation);
}

void EventLog::ReportDiskFull() {
    problems_.Report("Disk full while accessing " + AbsolutePath(path_) + ".", MessageIcon::Stop);
}

}  // namespace vigilon
