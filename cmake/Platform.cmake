# Each platform service has one file for each platform, in the module's
# posix/ or win/ folder; the build takes the one folder. Included by every
# project that builds the modules (the program's and the fuzzers').
if(WIN32)
  set(VIGILON_PLATFORM win)
  # Windows 10's API, without the parts of windows.h that clash with
  # Winsock 2 and the standard library.
  add_compile_definitions(_WIN32_WINNT=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX)
else()
  set(VIGILON_PLATFORM posix)
endif()
