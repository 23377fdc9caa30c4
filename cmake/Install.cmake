# What `cmake --install` (and `make install`, and the package) puts where:
# the programs, the help book (help/CMakeLists.txt), the menu entries, the
# icon in the hicolor theme, the AppStream metainfo, the manual pages and
# the documents. Included after src/, so that the programs are known.
include(GNUInstallDirs)
set(VIGILON_WINDOW_DIR ${CMAKE_INSTALL_LIBEXECDIR}/vigilon)
# systemd's own folders under the prefix: lib/, never the multiarch libdir.
set(CMAKE_INSTALL_LIBDIR_SYSTEMD lib/systemd)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The companion ping tool is installed with the monitor once it is built
# here. vigilon starts its window program from libexec; both ping, so both
# get the raw-socket capability (vigilonPrograms: paths under the prefix).
set(vigilonPrograms ${CMAKE_INSTALL_BINDIR}/vigilon ${VIGILON_WINDOW_DIR}/vigilon-window)
install(TARGETS vigilon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS vigilon_window RUNTIME DESTINATION ${VIGILON_WINDOW_DIR})
# The help viewer's module, which the window program loads from beside itself.
if(NOT WIN32)
  install(TARGETS vigilon_help_viewer LIBRARY DESTINATION ${VIGILON_WINDOW_DIR})
endif()
if(TARGET ravelin)
  list(APPEND vigilonPrograms ${CMAKE_INSTALL_BINDIR}/ravelin)
  install(TARGETS ravelin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(dataSource ${CMAKE_SOURCE_DIR}/data)
set(packagingSource ${CMAKE_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/install)

# Each program's icon: the drawing itself, and pictures at the usual sizes
# for desktops that want pixels, made from it at build time.
set(iconTheme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(WARNING "rsvg-convert (librsvg2-bin) not found: only the SVG icons are installed")
endif()
function(vigilon_icon name drawing)
  install(FILES ${drawing} DESTINATION ${iconTheme}/scalable/apps RENAME ${name}.svg)
  if(NOT RSVG_CONVERT)
    return()
  endif()
  set(iconFiles "")
  foreach(size 16 22 24 32 48 64 128 256)
    set(png ${generated}/icons/${size}x${size}/${name}.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${drawing}
      DEPENDS ${drawing}
      VERBATIM)
    list(APPEND iconFiles ${png})
    install(FILES ${png} DESTINATION ${iconTheme}/${size}x${size}/apps)
  endforeach()
  add_custom_target(${name}_icons ALL DEPENDS ${iconFiles})
endfunction()
vigilon_icon(vigilon ${CMAKE_SOURCE_DIR}/src/app/pictures/vigilon.svg)
if(TARGET ravelin)
  vigilon_icon(ravelin ${CMAKE_SOURCE_DIR}/src/ravelin/ravelin.svg)
endif()

# The headless watcher as a service of the machine and as one of a user's
# own, neither enabled: a service needs settings first (vigilon --set).
install(FILES ${packagingSource}/vigilon.service DESTINATION ${CMAKE_INSTALL_LIBDIR_SYSTEMD}/system)
install(FILES ${packagingSource}/vigilon-user.service DESTINATION ${CMAKE_INSTALL_LIBDIR_SYSTEMD}/user
        RENAME vigilon.service)

# Menu entries and the software centres' description.
install(FILES ${dataSource}/vigilon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dataSource}/org.example.vigilon.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog, compressed as Debian wants them; gzip -n
# leaves out the name and time, so a rebuild gives the same bytes.
set(compressed "")
function(vigilon_gzip source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${output}
    DEPENDS ${source}
    VERBATIM)
  set(compressed ${compressed} ${output} PARENT_SCOPE)
endfunction()
vigilon_gzip(${dataSource}/vigilon.1 ${generated}/vigilon.1.gz)
vigilon_gzip(${packagingSource}/changelog ${generated}/changelog.gz)
install(FILES ${generated}/vigilon.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET ravelin)
  install(FILES ${dataSource}/ravelin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  vigilon_gzip(${dataSource}/ravelin.1 ${generated}/ravelin.1.gz)
  install(FILES ${generated}/ravelin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
add_custom_target(vigilon_install_files ALL DEPENDS ${compressed})

# The documents. The folder is named after the package, not the project.
set(vigilonDocDir ${CMAKE_INSTALL_DATAROOTDIR}/doc/vigilon)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${packagingSource}/copyright ${generated}/changelog.gz
        DESTINATION ${vigilonDocDir})

# Last: the installed programs get the raw-socket capability when root
# installs them (see SetCapabilities.cmake).
install(CODE "set(vigilonPrograms \"${vigilonPrograms}\")
include(\"${CMAKE_SOURCE_DIR}/cmake/SetCapabilities.cmake\")")
