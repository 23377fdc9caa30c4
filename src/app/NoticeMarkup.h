#pragma once

#include <string>
#include <string_view>

namespace vigilon::app {

// A plain text for a notification service that reads its bodies as markup:
// the five characters markup gives a meaning (& < > ' ") written as
// entities, so that a target such as "a<b>&c" shows as typed. Every other
// byte is kept, so valid UTF-8 stays valid.
std::string EscapeNoticeMarkup(std::string_view text);

}  // namespace vigilon::app
