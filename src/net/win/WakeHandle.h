#pragma once

namespace vigilon {

// An event (a Windows HANDLE) that is set when a wait is to end early
// (Ravelin's stop), waited on beside the requests' own events; kNoWake for
// none.
using WakeHandle = void*;
inline constexpr WakeHandle kNoWake = nullptr;

}  // namespace vigilon
