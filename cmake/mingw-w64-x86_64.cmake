# Cross-builds for 64-bit Windows with Debian's mingw-w64 (POSIX threads)
# against the libraries that scripts/windows/deps.sh keeps in the cache;
# ctest runs the test programs under Wine. See docs/windows-build.md.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_vigilon_host x86_64-w64-mingw32)
# The -posix compilers: std::thread and std::mutex need their threads.
set(CMAKE_C_COMPILER ${_vigilon_host}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_vigilon_host}-g++-posix)
set(CMAKE_RC_COMPILER ${_vigilon_host}-windres)

# The same folder as scripts/windows/common.sh picks.
if(DEFINED ENV{VIGILON_WINDOWS_CACHE})
  set(_vigilon_cache "$ENV{VIGILON_WINDOWS_CACHE}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(_vigilon_cache "$ENV{XDG_CACHE_HOME}/vigilon-windows")
else()
  set(_vigilon_cache "$ENV{HOME}/.cache/vigilon-windows")
endif()
include("${_vigilon_cache}/prefixes.cmake" OPTIONAL RESULT_VARIABLE _vigilon_prefixes)
if(NOT _vigilon_prefixes)
  message(FATAL_ERROR "No Windows libraries in ${_vigilon_cache}: run make windows-deps")
endif()

# Libraries, headers and CMake packages come only from the mingw-w64 folders
# and the cached builds; programs (wx-config, wine) from this machine.
set(CMAKE_FIND_ROOT_PATH
    /usr/${_vigilon_host}
    ${VIGILON_WINDOWS_LIBPNG} ${VIGILON_WINDOWS_WX}
    ${VIGILON_WINDOWS_CURL} ${VIGILON_WINDOWS_GTEST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# FindwxWidgets asks wx-config when cross-building: the cross one, not the
# machine's GTK one.
set(wxWidgets_CONFIG_EXECUTABLE "${VIGILON_WINDOWS_WX}/bin/wx-config"
    CACHE FILEPATH "wx-config of the Windows wxWidgets")

# One .exe that needs no DLL beside it: libstdc++, libgcc, winpthread and
# zlib are linked in (libz-mingw-w64-dev also ships an import library).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest (and add_custom_command on built programs) run them under Wine, in a
# Wine folder of the cache; WINEDEBUG=-all keeps its chatter out of test
# output unless the configure step is given another.
if(DEFINED ENV{WINEDEBUG})
  set(_vigilon_winedebug "$ENV{WINEDEBUG}")
else()
  set(_vigilon_winedebug -all)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR
    env "WINEPREFIX=${_vigilon_cache}/wine" "WINEDEBUG=${_vigilon_winedebug}" wine)
