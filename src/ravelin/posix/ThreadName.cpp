#include "ThreadName.h"

#include <pthread.h>

namespace vigilon::ravelin {

void NameThisThread(const char* name) { pthread_setname_np(pthread_self(), name); }

}  // namespace vigilon::ravelin
