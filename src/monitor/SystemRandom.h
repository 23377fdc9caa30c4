#pragma once

#include <cstddef>

namespace vigilon {

// Fills bytes from the system's generator of unguessable numbers
// (getrandom; RtlGenRandom through rand_s on Windows) without waiting.
// False when it has none to give yet (early after a Linux boot).
bool SystemRandomBytes(void* bytes, std::size_t count);

}  // namespace vigilon
