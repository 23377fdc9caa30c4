#pragma once

namespace vigilon {

// Makes the system's network functions ready for this process, once
// (Winsock's WSAStartup on Windows; nothing on Linux). Returns 0, or the
// system's error code, which the program's start-up shows in its
// "could not find a usable WinSock DLL" box. Lookups call it themselves.
int StartNetwork();

}  // namespace vigilon
