#pragma once

#include <string>
#include <string_view>

namespace vigilon::metrics {

// How far a request's bytes have come.
enum class RequestState { Incomplete, Complete, TooLong };

// The head of a request ends at its first empty line; the endpoint reads no
// body. A head past the limit is refused rather than read on.
inline constexpr std::size_t kMaxRequestHead = 8192;
RequestState ReadRequestState(std::string_view received);

// The whole response to a complete request head: the metrics for GET
// /metrics (any query ignored), 404 for another path, 405 for another
// method on it, 400 for what is no HTTP request. metrics is only read for
// the 200.
std::string RespondTo(std::string_view requestHead, const std::string& metrics);

// The response to a head that grew too long.
std::string TooLongResponse();

}  // namespace vigilon::metrics
