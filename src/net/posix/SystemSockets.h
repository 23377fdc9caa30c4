#pragma once

// The system's socket and address types and functions (in_addr, in6_addr,
// sockaddr_in, inet_pton, getaddrinfo): one header for each platform.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
