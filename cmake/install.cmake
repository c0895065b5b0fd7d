# Every install rule of the project, in one place. The parser library is linked
# statically into both programs, so the installed programs need no library
# search path. Layout (prefix /usr, as the Debian packages use it):
#   tavrel package:        bin/tavrel, its man page, the registry page (5),
#                          the licence (dropped by the package build),
#                          shell completion, the example hive in
#                          /etc/tavrel-wizard/registry
#   tavrel-wizard package: bin/tavrel-wizard, its man page, help file, icons,
#                          desktop entry and AppStream metainfo
# The programs read /etc/tavrel-wizard/registry whatever the prefix; a build
# installed elsewhere gets the example under <prefix>/etc to copy from.
include(GNUInstallDirs)

set(TAVREL_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)

# Windows: a release zip (cpack in build/windows) of one folder holding
# tavrel.exe, tavrel-wizard.exe with its help page, the README, the licence,
# the example hive and a registry file to import; the registry is the
# system's own there. The installer (dist/windows/tavrel.nsi) holds the same.
if(WIN32)
  install(TARGETS tavrel tavrel-wizard RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/res/help/tavrel-wizard.html ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
    ${TAVREL_DIST_DIR}/registry/local.reg.example ${TAVREL_DIST_DIR}/registry/windows-example.reg
    DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_PACKAGE_NAME tavrel)
  set(CPACK_PACKAGE_VERSION ${TAVREL_VERSION})
  set(CPACK_SYSTEM_NAME windows-x86_64)
  set(CPACK_PACKAGE_FILE_NAME tavrel-${TAVREL_VERSION}-windows-x86_64)
  include(CPack)
  return()
endif()
# The wizard's AppStream component id, which names its metainfo file.
set(TAVREL_APP_ID org.tavrel.Wizard)

install(TARGETS tavrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The licence travels with an install by hand; the Debian packages carry it
# in their copyright file instead.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavrel)
install(FILES ${TAVREL_DIST_DIR}/completion/tavrel.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tavrel)
install(FILES ${TAVREL_DIST_DIR}/completion/_tavrel
  DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${TAVREL_DIST_DIR}/registry/local.reg.example
  DESTINATION ${CMAKE_INSTALL_SYSCONFDIR}/tavrel-wizard/registry)

if(TARGET tavrel-wizard)
  install(TARGETS tavrel-wizard RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/app/tavrel-wizard.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${TAVREL_DIST_DIR}/metainfo/${TAVREL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The application icon in the sizes drawn for it, and its source as the
  # scalable one.
  install(FILES ${PROJECT_SOURCE_DIR}/res/icons/icon128.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME tavrel-wizard.svg)
  foreach(size 16 32 48 64)
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/icon128-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME tavrel-wizard.png)
  endforeach()
  # The wizard shows its embedded copy of the help; this one is for reading
  # without it.
  install(FILES ${PROJECT_SOURCE_DIR}/res/help/tavrel-wizard.html
    DESTINATION ${CMAKE_INSTALL_DATADIR}/tavrel-wizard)
endif()

if(TAVREL_MAKE_MAN)
  install(FILES ${TAVREL_MAN_DIR}/tavrel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${TAVREL_MAN_DIR}/tavrel-registry.5 DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
  if(TARGET tavrel-wizard)
    install(FILES ${TAVREL_MAN_DIR}/tavrel-wizard.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
else()
  install(CODE "message(STATUS \"No man pages: scdoc was not installed when the build was \
configured; install it (scripts/install-deps.sh --package), configure again and build\")")
endif()
