#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vigilon::app {

// Breaks text into lines no wider than maxWidth, as widthOf measures a
// line: at spaces where the line has one, else inside the word (a long
// host name or address has none). Line breaks of the text stay; a line
// never ends up empty for want of room, nor is a UTF-8 character split.
std::string WrapText(std::string_view text, int maxWidth,
                     const std::function<int(std::string_view)>& widthOf);

}  // namespace vigilon::app
