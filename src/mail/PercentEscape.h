#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vigilon {

// Percent-escapes as the user name and password of a URL carry them.

// Every byte but letters, digits, '-', '.', '_' and '~' as %XX, so that the
// text means the same wherever in a URL it stands.
std::string PercentEncoded(std::string_view text);

// Nothing for a '%' without two hex digits after it, or for a NUL, escaped
// or not, which no C string could carry on to libcurl.
std::optional<std::string> PercentDecoded(std::string_view text);

}  // namespace vigilon
