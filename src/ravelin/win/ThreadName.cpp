#include "ThreadName.h"

#include <windows.h>

#include "WindowsText.h"

// Windows 10's (kernel32), which mingw-w64's headers do not declare yet.
extern "C" __declspec(dllimport) HRESULT WINAPI
    SetThreadDescription(HANDLE thread, PCWSTR description);

namespace vigilon::ravelin {

void NameThisThread(const char* name) {
    ::SetThreadDescription(::GetCurrentThread(), WideText(name).c_str());
}

}  // namespace vigilon::ravelin
