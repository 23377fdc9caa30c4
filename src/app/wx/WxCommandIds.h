#pragma once

namespace vigilon::app {

// wx takes menu ids below 0x7FFF only, while the program's menu commands run
// from 32771 to 57670. Those are shifted down by 0x7000 (to 4099..28998,
// clear of the controls' ids and of wx's stock ids 5000..5999 as far as
// used) on the way into wx menus and back on the way out.
inline constexpr int kWxIdShift = 0x7000;
inline constexpr int kWxIdLimit = 0x7FFF;

inline int ToWxId(int commandId) {
    return commandId >= kWxIdLimit ? commandId - kWxIdShift : commandId;
}

inline int FromWxId(int wxId) {
    return wxId >= kWxIdLimit - kWxIdShift && wxId < kWxIdLimit ? wxId + kWxIdShift : wxId;
}

}  // namespace vigilon::app
