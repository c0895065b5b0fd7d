# Man pages, written in scdoc (docs/man/*.scd) and turned into roff at build
# time. scdoc is needed only to build them: with TAVREL_BUILD_MAN off (the
# default when scdoc is not installed) the programs build without their pages.
find_program(TAVREL_SCDOC scdoc)
if(TAVREL_SCDOC)
  set(TAVREL_BUILD_MAN_DEFAULT ON)
else()
  set(TAVREL_BUILD_MAN_DEFAULT OFF)
endif()
option(TAVREL_BUILD_MAN "Build the man pages (needs scdoc)" ${TAVREL_BUILD_MAN_DEFAULT})

set(TAVREL_MAN_DIR ${PROJECT_BINARY_DIR}/man)
if(TAVREL_BUILD_MAN)
  if(NOT TAVREL_SCDOC)
    message(FATAL_ERROR "TAVREL_BUILD_MAN is on but scdoc was not found")
  endif()
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
