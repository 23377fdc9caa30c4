// Started by the launcher's test: writes the arguments after the first two,
// as Windows splits its command line, in UTF-16 with a line feed after
// each, into the file the first names, and ends with the status the
// second names.
#include <windows.h>

// After windows.h, whose types it uses.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

int main() {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (args == nullptr || count < 3) return 100;
    std::FILE* out = ::_wfopen(args[1], L"wb");
    if (out == nullptr) return 101;
    for (int i = 3; i < count; ++i) {
        std::fwrite(args[i], sizeof(wchar_t), std::wcslen(args[i]), out);
        std::fwrite(L"\n", sizeof(wchar_t), 1, out);
    }
    std::fclose(out);
    return std::wcstol(args[2], nullptr, 10);
}
