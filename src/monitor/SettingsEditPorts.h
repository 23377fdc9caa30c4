#pragma once

// What the settings edit reaches outside the engine: the settings dialog of
// the shell and the settings file of the store.

#include <memory>

#include "LogWriter.h"
#include "MonitorSettings.h"

namespace vigilon {

// The settings dialog as the edit sees it: the eleven fields go in, the
// dialog runs modally, the eleven fields and one flag come back.
class SettingsDialog {
public:
    virtual ~SettingsDialog() = default;
    virtual void SetFields(const MonitorSettings& fields) = 0;
    virtual void SetCancelledWithoutTarget(bool cancelled) = 0;
    // Returns once the dialog is closed, whichever way that was.
    virtual void RunModal() = 0;
    virtual MonitorSettings Fields() const = 0;
    // Set by the dialog's Cancel button while its target was empty.
    virtual bool CancelledWithoutTarget() const = 0;
    // Raises the open dialog above the program's other windows.
    virtual void BringForward() = 0;
    // Closes the open dialog as Escape would, once a dialog it opened itself
    // has closed (a self-test run is not cut short); RunModal returns then.
    virtual void Dismiss() = 0;
};

// A fresh dialog for every edit.
class SettingsDialogFactory {
public:
    virtual ~SettingsDialogFactory() = default;
    virtual std::unique_ptr<SettingsDialog> NewSettingsDialog() = 0;
};

// Writes the record to the settings file, announcing it through writeLog
// (the gated log). False when the file could not be written; the user has
// been told by then.
class SettingsSaver {
public:
    virtual ~SettingsSaver() = default;
    virtual bool Save(const MonitorSettings& settings, LogWriter& writeLog) = 0;
};

}  // namespace vigilon
