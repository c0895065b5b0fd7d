# Every source folder is a layer: one library target (two where the folder
# holds Qt code) whose headers are reachable as "folder/Header.h" only from
# targets that link it. The folder is exposed through a directory in the build
# tree that holds a single link to it, so the source root is never an include
# path and an include across a layer the graph does not allow fails to compile.

# Exposes the current source folder's headers to `target` and to every target
# that links it.
function(tavrel_expose_folder target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# tavrel_layer(<target> [QT] SOURCES <files...> [DEPS <targets...>])
# A static library of the current folder. QT turns on moc for it and links
# Qt Widgets; DEPS are the layers it may use.
function(tavrel_layer target)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  tavrel_expose_folder(${target})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_link_libraries(${target} PUBLIC Qt6::Widgets)
  endif()
endfunction()
