#pragma once

#include "UniqueFd.h"

namespace vigilon {

// A socket owned and closed on every way out: a descriptor here.
using UniqueSocket = UniqueFd;

}  // namespace vigilon
