#pragma once

#include <string>
#include <utility>

#include "SettingsEditPorts.h"
#include "SettingsFile.h"

namespace vigilon {

// The settings edit's save: the record into the settings file.
class SettingsFileSaver : public SettingsSaver {
public:
    SettingsFileSaver(std::string path, ProblemReport& problems)
        : path_(std::move(path)), problems_(problems) {}

    bool Save(const MonitorSettings& settings, LogWriter& writeLog) override {
        return SaveSettings(path_, settings, problems_, writeLog);
    }

private:
    std::string path_;
    ProblemReport& problems_;
};

}  // namespace vigilon
