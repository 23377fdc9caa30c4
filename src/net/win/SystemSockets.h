#pragma once

// The system's socket and address types and functions (in_addr, in6_addr,
// sockaddr_in, inet_pton, getaddrinfo): one header for each platform.
// Winsock works only after WSAStartup, which WinsockStart.h makes.
#include <winsock2.h>
#include <ws2tcpip.h>
