#pragma once

#include <string>
#include <utility>

#include "SettingsEditPorts.h"
#include "SettingsFile.h"

namespace vigilon {

// The settings edit's save: the record into the settings file.
class SettingsFileSaver : public SettingsSaver {
public:
    SettingsFileSaver(std::string path, UserPrompt& prompt)
        : path_(std::move(path)), prompt_(prompt) {}

    bool Save(const MonitorSettings& settings, LogWriter& writeLog) override {
        return SaveSettings(path_, settings, prompt_, writeLog);
    }

private:
    std::string path_;
    UserPrompt& prompt_;
};

}  // namespace vigilon
