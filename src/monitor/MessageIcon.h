#pragma once

namespace vigilon {

inline constexpr const char* kAppName = "Vigilon";

// The icon a message to the user carries, however the shell shows it.
enum class MessageIcon { None, Information, Exclamation, Question, Stop };

}  // namespace vigilon
