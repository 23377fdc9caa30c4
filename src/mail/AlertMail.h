#pragma once

#include "AlertEvent.h"
#include "CNotifyMail.h"

namespace vigilon {

// The mail of an alert or a recovery, all of it taken from the event, so
// that a mail sent long after still tells of its moment: the sender, the
// recipients as typed (a malformed piece only shortens the list), the
// subject and body with the target's and the control probe's state, and
// the Date line at the event's time.
CNotifyMail ComposeAlertMail(const AlertEvent& event);

}  // namespace vigilon
