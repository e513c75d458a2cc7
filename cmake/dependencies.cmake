# The static libraries the set-up script cross-builds into TESSARYN_DEPS (minizip among them),
# zlib from Debian's MinGW package, and GoogleTest from Debian's sources.
set(TESSARYN_DEPS "${CMAKE_SOURCE_DIR}/build/deps" CACHE PATH "prefix of the cross-built libraries")

function(tessaryn_static_library name file)
  find_library(${name}_path NAMES ${file} PATHS ${ARGN} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ${name}_path)
    message(FATAL_ERROR "${file} not found: run scripts/setup first")
  endif()
  add_library(deps::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(deps::${name} PROPERTIES
    IMPORTED_LOCATION "${${name}_path}"
    INTERFACE_INCLUDE_DIRECTORIES "${TESSARYN_DEPS}/include")
endfunction()

tessaryn_static_library(zlib libz.a /usr/i686-w64-mingw32/lib)
tessaryn_static_library(jpeg libjpeg.a ${TESSARYN_DEPS}/lib)
tessaryn_static_library(png libpng16.a ${TESSARYN_DEPS}/lib)
tessaryn_static_library(tiff libtiff.a ${TESSARYN_DEPS}/lib)
tessaryn_static_library(webp libwebp.a ${TESSARYN_DEPS}/lib)
tessaryn_static_library(webpmux libwebpmux.a ${TESSARYN_DEPS}/lib)
tessaryn_static_library(minizip libminizip.a ${TESSARYN_DEPS}/lib)
set_target_properties(deps::png PROPERTIES INTERFACE_LINK_LIBRARIES deps::zlib)
set_target_properties(deps::tiff PROPERTIES INTERFACE_LINK_LIBRARIES "deps::jpeg;deps::zlib")
set_target_properties(deps::webpmux PROPERTIES INTERFACE_LINK_LIBRARIES deps::webp)
set_target_properties(deps::minizip PROPERTIES INTERFACE_LINK_LIBRARIES deps::zlib)

set(googletest_source /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${googletest_source} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Tests and benchmarks are Windows programs: CTest runs them through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/wine-exec" CACHE FILEPATH "" FORCE)
