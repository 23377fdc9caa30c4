#pragma once

#include <string>
#include <string_view>

namespace vigilon::app {

// The core's 8-bit text as D-Bus must carry it, valid UTF-8: kept where it
// is valid UTF-8, else read byte for byte as Latin-1, as the window reads it
// (ToWx). A settings file written in Latin-1 gives a target that is not
// UTF-8, and the bus library refuses such a string.
std::string Utf8ForBus(std::string_view text);

}  // namespace vigilon::app
