#pragma once

namespace vigilon {

// A descriptor that becomes readable when a wait is to end early (Ravelin's
// stop), polled beside the echo socket; kNoWake for none.
using WakeHandle = int;
inline constexpr WakeHandle kNoWake = -1;

}  // namespace vigilon
