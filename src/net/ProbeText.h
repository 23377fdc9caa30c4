#pragma once

#include <string>

#include "EchoResult.h"

namespace vigilon {

// The probe's one line of text for a result: the only place its texts are
// made. host is the text the probe was given, named when it did not resolve.
std::string ProbeText(const EchoResult& result, const std::string& host);

}  // namespace vigilon
