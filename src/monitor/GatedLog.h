#pragma once

#include "LogWriter.h"
#include "MonitorSettings.h"

namespace vigilon {

// The main window's WriteLog: passes a line to the event log only while
// logging is switched on, read at the moment of each call. While it is off
// the log file is not touched at all.
class GatedLog : public LogWriter {
public:
    GatedLog(const MonitorSettings& settings, LogWriter& eventLog)
        : settings_(settings), eventLog_(eventLog) {}

    void Write(const std::string& message) override {
        if (settings_.logEnabled != 0) eventLog_.Write(message);
    }

private:
    const MonitorSettings& settings_;
    LogWriter& eventLog_;
};

}  // namespace vigilon
