# `cmake --install` and the Debian package made by CPack from the same rules:
# the tool in bin/, setup.exe and unkalvora.exe in share/kalvora/, where the
# installed tool looks for them (bin/../share/kalvora/).
include(GNUInstallDirs)
set(KALVORA_PROGRAMS_DESTINATION ${CMAKE_INSTALL_DATADIR}/kalvora)

install(TARGETS kalvora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/project-file.md ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(WIN32)
  install(TARGETS setup unkalvora RUNTIME DESTINATION ${KALVORA_PROGRAMS_DESTINATION})
else()
  # The native tree does not build the Windows programs; it installs those of
  # the win32 tree, when it has been built.
  set(KALVORA_WIN32_PROGRAMS_DIR ${PROJECT_SOURCE_DIR}/build/win32
      CACHE PATH "Directory with the built setup.exe and unkalvora.exe to install beside the tool")
  install(FILES ${KALVORA_WIN32_PROGRAMS_DIR}/setup.exe ${KALVORA_WIN32_PROGRAMS_DIR}/unkalvora.exe
          DESTINATION ${KALVORA_PROGRAMS_DESTINATION} OPTIONAL)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvora)
set(CPACK_PACKAGE_VENDOR kalvora)
set(CPACK_PACKAGE_CONTACT "kalvora maintainers <kalvora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "builds distribution media for the kalvora setup program")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kalvora)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
