#include "HeloName.h"

#include <unistd.h>

namespace vigilon {

std::string HeloName() { return HeloName(&::gethostname); }

}  // namespace vigilon
