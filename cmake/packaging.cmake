# What the Debian package holds, and how cpack -G DEB makes knitpanel_<version>_<arch>.deb.
include(GNUInstallDirs)

install(TARGETS knitpanel knitsim knitjob knitfleet RUNTIME DESTINATION bin)
install(PROGRAMS packaging/start-panel DESTINATION lib/knitpanel)
install(TARGETS knitjob-full knitjob-library knitpanel-sysaction RUNTIME DESTINATION lib/knitpanel)
install(FILES packaging/knitpanel.service packaging/knitpanel-sysaction.socket packaging/knitpanel-sysaction@.service
  packaging/knitpanel-retry.service DESTINATION /lib/systemd/system)
# The panel's user, its devices by stable names, and its lean font configuration.
install(FILES packaging/knitpanel.sysusers DESTINATION lib/sysusers.d RENAME knitpanel.conf)
install(FILES packaging/70-knitpanel.rules DESTINATION /lib/udev/rules.d)
install(FILES packaging/fonts.conf DESTINATION share/knitpanel)
install(FILES packaging/copyright DESTINATION share/doc/knitpanel)
# Debian wants the changelog compressed, reproducibly (no name, no time in the header).
set(knit_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${knit_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${knit_changelog}
  DEPENDS packaging/changelog)
add_custom_target(knit_changelog ALL DEPENDS ${knit_changelog})
install(FILES ${knit_changelog} DESTINATION share/doc/knitpanel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME knitpanel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Panel software team <panel-software@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "operator panel of a computerised flat knitting machine")
set(CPACK_PACKAGE_DESCRIPTION "The panel program started at boot on the framebuffer, with the\n controller stand-in knitsim, the job tool knitjob and the fleet view knitfleet.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The font cache is made at install, once, by fontconfig's trigger when the font package lands
# (a maintainer script running fc-cache itself is what Debian asks packages not to do), so no
# start of the panel scans the fonts.
# libmosquitto is opened at run time (telemetry, knitfleet), so shlibdeps does not see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, fonts-wqy-microhei, qt6-qpa-plugins, libmosquitto1")
# knitfleet serve records to SQLite through Qt's driver plugin (or to PostgreSQL through its own);
# Qt's own texts (an input field's menu) follow the operator's language with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-sqlite, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${CMAKE_SOURCE_DIR}/packaging/postinst ${CMAKE_SOURCE_DIR}/packaging/prerm ${CMAKE_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
if(KNIT_DEB_ARCHITECTURE)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${KNIT_DEB_ARCHITECTURE})
endif()
include(CPack)
