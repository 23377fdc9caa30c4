# `make package` (cpack -G DEB in the build folder): the Debian package.
# Dependencies come from the programs' shared libraries (dpkg-shlibdeps);
# setcap must be there when postinst runs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vigilon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vigilon developers")
set(CPACK_PACKAGE_CONTACT "Vigilon developers <vigilon@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch one host by ping and e-mail an alert when it stops answering")
set(CPACK_PACKAGE_DESCRIPTION
    "Vigilon pings a target host every few seconds. After a chosen number of
time-outs in a row it pings a control host, to tell a dead target from a
dead connection, and sends an alert e-mail that says which of the two
answer; the first answer afterwards brings one recovery e-mail. A small
window, a tray icon and a plain-text log show what happens.")
if(TARGET ravelin)
  string(APPEND CPACK_PACKAGE_DESCRIPTION "
.
The package also holds Ravelin, a window for pinging one host by hand
with a live graph of its round-trip times. Both programs get the
cap_net_raw capability at installation, so that they can ping without root.")
else()
  string(APPEND CPACK_PACKAGE_DESCRIPTION "
.
The program gets the cap_net_raw capability at installation, so that it
can ping without root.")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vigilon.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcurl is loaded when a URL mail server is first used, OpenSSL with the
# CA store of its first delivery, and the StatusNotifierItem library when
# that tray is chosen, so that dpkg-shlibdeps does not see them: named
# here. (wx's HTML library it does see: the help viewer's module, loaded at
# the first Help, is an ELF file of the package.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcap2-bin, libcurl4 (>= 7.87.0), libssl3, libayatana-appindicator3-1")
# The system's CA store checks mail servers' certificates; xdg-open shows
# the log and the web site.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ca-certificates, xdg-utils")

set(packagedPrograms "")
foreach(program IN LISTS vigilonPrograms)
  string(APPEND packagedPrograms " ${CPACK_PACKAGING_INSTALL_PREFIX}/${program}")
endforeach()
string(STRIP "${packagedPrograms}" VIGILON_PACKAGED_PROGRAMS)
configure_file(${CMAKE_SOURCE_DIR}/packaging/postinst.in ${CMAKE_BINARY_DIR}/install/deb/postinst @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
               WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/install/deb/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/PackageTime.cmake)

include(CPack)
