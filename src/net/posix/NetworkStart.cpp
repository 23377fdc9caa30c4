#include "NetworkStart.h"

namespace vigilon {

// The C library's sockets need no start.
int StartNetwork() { return 0; }

}  // namespace vigilon
