# Run by `cmake --install` after the programs are in place: gives them the
# cap_net_raw capability, so that they may open raw ICMP sockets without
# root, as Debian's own ping has it. Only root may; anyone else is told
# what to run. VIGILON_SETCAP=no in the environment (make install SETCAP=no)
# leaves the files alone; the package build sets it (PackageTime.cmake).
if("$ENV{VIGILON_SETCAP}" STREQUAL "no")
  return()
endif()

set(files "")
foreach(program IN LISTS vigilonPrograms)
  if(IS_ABSOLUTE "${program}")
    list(APPEND files "$ENV{DESTDIR}${program}")
  else()
    list(APPEND files "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${program}")
  endif()
endforeach()
list(JOIN files " " fileList)
set(groupRemedy "To let every group use unprivileged ICMP sockets instead:\n  sudo sysctl -w net.ipv4.ping_group_range=\"0 2147483647\"")

execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
find_program(setcapProgram setcap PATHS /usr/sbin /sbin)
if(NOT uid STREQUAL "0")
  message(NOTICE "To let the programs ping without root, give them the raw-socket capability:\n"
                 "  sudo setcap cap_net_raw+ep ${fileList}\n${groupRemedy}\n")
  return()
endif()
if(NOT setcapProgram)
  message(WARNING "setcap not found (Debian package libcap2-bin): the programs cannot ping without root.\n"
                  "Install it and run\n  setcap cap_net_raw+ep ${fileList}\n${groupRemedy}")
  return()
endif()
foreach(file IN LISTS files)
  execute_process(COMMAND ${setcapProgram} cap_net_raw+ep ${file}
                  RESULT_VARIABLE failed ERROR_VARIABLE why OUTPUT_QUIET)
  if(failed)
    string(STRIP "${why}" why)
    message(WARNING "Could not give ${file} the cap_net_raw capability (${why}); the file system may not "
                    "hold capabilities. Without it, pings need unprivileged ICMP sockets, which the kernel "
                    "allows to the groups in net.ipv4.ping_group_range. ${groupRemedy}")
  else()
    message(STATUS "Capability cap_net_raw+ep: ${file}")
  endif()
endforeach()
