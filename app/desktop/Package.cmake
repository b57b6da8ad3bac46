# Installation as a desktop program and its Debian package.
include(GNUInstallDirs)

install(TARGETS rotavolt-recorder RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/rotavolt-recorder.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/rotavolt-recorder.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rotavolt-recorder RENAME copyright)

set(CPACK_PACKAGE_NAME rotavolt-recorder)
set(CPACK_PACKAGE_VENDOR "Rotavolt recorder developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Recorder for a model-engine test bench")
set(CPACK_PACKAGE_DESCRIPTION "Records voltage, current, rpm and temperature streamed by a test-bench device over a serial line: needle meters, statistics, a strip chart and a set-point slider.")
set(CPACK_PACKAGE_CONTACT "Rotavolt recorder developers <rotavolt@localhost>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_LICENSE "GPL-3.0-or-later")
# The libraries it links are found by dpkg-shlibdeps; the window-system plugin that Qt loads
# at run time is no linked library, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
