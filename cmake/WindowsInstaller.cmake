# The Windows installer (NSIS, Debian's makensis): the stripped programs,
# the help book and the licence staged in one folder, then packed by
# packaging/windows/vigilon.nsi into vigilon-VERSION-setup.exe.
find_program(MAKENSIS makensis REQUIRED)
set(installerStage ${CMAKE_BINARY_DIR}/installer)
set(installer ${CMAKE_BINARY_DIR}/vigilon-${PROJECT_VERSION}-setup.exe)
set(installerPrograms $<TARGET_FILE:vigilon>)
set(stagedPrograms ${installerStage}/vigilon.exe)
set(installerDefines -DVERSION=${PROJECT_VERSION} -DSTAGE=${installerStage} -DOUTFILE=${installer})
# Ravelin joins the installer once it is built for Windows.
if(TARGET ravelin)
  list(APPEND installerPrograms $<TARGET_FILE:ravelin>)
  list(APPEND stagedPrograms ${installerStage}/ravelin.exe)
  list(APPEND installerDefines -DWITH_RAVELIN)
endif()
add_custom_command(
  OUTPUT ${installer}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${installerStage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${installerStage}
  COMMAND ${CMAKE_COMMAND} -E copy ${installerPrograms} ${CMAKE_BINARY_DIR}/vigilon.htb ${installerStage}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${installerStage}/LICENSE.txt
  # The debugging information stays in the build's own programs.
  COMMAND ${CMAKE_STRIP} ${stagedPrograms}
  COMMAND ${MAKENSIS} -V2 ${installerDefines} ${CMAKE_SOURCE_DIR}/packaging/windows/vigilon.nsi
  DEPENDS ${installerPrograms} vigilon_help ${CMAKE_SOURCE_DIR}/packaging/windows/vigilon.nsi
          ${CMAKE_SOURCE_DIR}/LICENSE
  COMMENT "Packing the Windows installer"
  VERBATIM)
add_custom_target(windows_installer ALL DEPENDS ${installer})
