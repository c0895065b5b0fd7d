# What the Windows build needs beyond the toolchain file: the header-only
# packages CLI11 and nlohmann-json, which Debian installs for the host, are
# reached through an overlay folder of links (their own CMake files, their
# headers and nothing else), so the host's /usr/include never becomes an
# include path of the cross build.
set(overlay ${PROJECT_BINARY_DIR}/host-headers)
foreach(link include/CLI include/nlohmann share/cmake/CLI11 share/cmake/nlohmann_json)
  if(NOT EXISTS ${overlay}/${link} AND EXISTS /usr/${link})
    get_filename_component(parent ${overlay}/${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK /usr/${link} ${overlay}/${link} SYMBOLIC)
  endif()
endforeach()
list(APPEND CMAKE_FIND_ROOT_PATH ${overlay})
list(APPEND CMAKE_PREFIX_PATH /)

# Wide-character Windows APIs, Windows 10 or later, without the rarely used
# parts of <windows.h> or its min/max macros.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX)
