#pragma once

namespace vigilon::ravelin {

// Names the calling thread for those who look for it (a debugger, ps, the
// task manager): posix/ and win/.
void NameThisThread(const char* name);

}  // namespace vigilon::ravelin
