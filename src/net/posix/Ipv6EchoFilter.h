#pragma once

#include <linux/filter.h>

#include <vector>

#include "EchoSocket.h"

namespace vigilon {

// The classic BPF program for a raw ICMPv6 socket, which sees every ICMPv6
// message of the host without its IP header: it keeps echo replies that
// carry the admitted identifier (and sequence), and with admission.errors
// the errors whose quoted echo request carries them. The socket's ICMPv6
// type filter has dropped every other type before the program runs.
std::vector<sock_filter> Ipv6EchoFilter(const EchoAdmission& admission);

}  // namespace vigilon
