#pragma once

#include <linux/filter.h>

#include <vector>

#include "EchoSocket.h"

namespace vigilon {

// The classic BPF program for a raw IPv4 ICMP socket, which sees every ICMP
// datagram of the host, IP header first: it keeps echo replies that carry
// the admitted identifier (and sequence), and with admission.errors the
// ICMP errors whose quoted echo request carries them. The socket's ICMP type
// filter has dropped every other type before the program runs.
std::vector<sock_filter> Ipv4EchoFilter(const EchoAdmission& admission);

}  // namespace vigilon
