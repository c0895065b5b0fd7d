# The version of both programs, kept in one place: the newest entry of
# debian/changelog. Its first line, e.g. "tavrel-wizard (1:0.1.0-2) unstable;
# urgency=medium", gives TAVREL_VERSION "0.1.0" (epoch and Debian revision
# dropped). A tree without debian/ still configures, with the version "unknown".
set(TAVREL_CHANGELOG ${PROJECT_SOURCE_DIR}/debian/changelog)
set(TAVREL_VERSION unknown)
if(EXISTS ${TAVREL_CHANGELOG})
  # Reconfigure when the changelog gets a new entry.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TAVREL_CHANGELOG})
  file(STRINGS ${TAVREL_CHANGELOG} TAVREL_CHANGELOG_TOP LIMIT_COUNT 1)
  if(TAVREL_CHANGELOG_TOP MATCHES "^[a-z0-9.+-]+ \\(([0-9]+:)?([^ )]+)\\)")
    set(TAVREL_VERSION ${CMAKE_MATCH_2})
    string(REGEX REPLACE "-[^-]*$" "" TAVREL_VERSION ${TAVREL_VERSION})
  else()
    message(WARNING "No version in the first line of ${TAVREL_CHANGELOG}")
  endif()
endif()
message(STATUS "Tavrel Wizard version: ${TAVREL_VERSION}")
