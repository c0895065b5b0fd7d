# Man pages, written in scdoc (docs/man/*.scd) and turned into roff at build
# time. TAVREL_BUILD_MAN is AUTO by default: every configure builds them when
# scdoc is found, so installing scdoc after the first configure is enough
# (nothing stays switched off in the cache). ON requires scdoc, OFF never
# builds them.
find_program(TAVREL_SCDOC scdoc)
# Build trees configured when this was an on/off option kept OFF for good
# once scdoc was missing; they go back to AUTO.
get_property(man_setting_type CACHE TAVREL_BUILD_MAN PROPERTY TYPE)
if(man_setting_type STREQUAL "BOOL")
  set(TAVREL_BUILD_MAN AUTO CACHE STRING "" FORCE)
endif()
set(TAVREL_BUILD_MAN AUTO CACHE STRING "Build the man pages: AUTO (when scdoc is found), ON or OFF")
set_property(CACHE TAVREL_BUILD_MAN PROPERTY STRINGS AUTO ON OFF)
if(TAVREL_BUILD_MAN STREQUAL "AUTO")
  set(TAVREL_MAKE_MAN ${TAVREL_SCDOC})
elseif(TAVREL_BUILD_MAN)
  if(NOT TAVREL_SCDOC)
    message(FATAL_ERROR "TAVREL_BUILD_MAN is ON but scdoc was not found")
  endif()
  set(TAVREL_MAKE_MAN ON)
else()
  set(TAVREL_MAKE_MAN OFF)
endif()
if(NOT TAVREL_MAKE_MAN)
  message(STATUS "Man pages: not built (scdoc not found; scripts/install-deps.sh --package)")
endif()

set(TAVREL_MAN_DIR ${PROJECT_BINARY_DIR}/man)
if(TAVREL_MAKE_MAN)
  set(pages tavrel.1 tavrel-registry.5 tavrel-wizard.1)
  set(outputs)
  foreach(page ${pages})
    set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.scd)
    add_custom_command(OUTPUT ${TAVREL_MAN_DIR}/${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVREL_MAN_DIR}
      COMMAND ${TAVREL_SCDOC} < ${source} > ${TAVREL_MAN_DIR}/${page}
      DEPENDS ${source}
      COMMENT "Man page ${page}"
      VERBATIM)
    list(APPEND outputs ${TAVREL_MAN_DIR}/${page})
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${outputs})
endif()
