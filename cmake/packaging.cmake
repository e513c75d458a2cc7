# The folder a Windows user unpacks and runs: Tessaryn.exe, Engine3D.dll and model\, with a
# ReadMe.txt and the notices that the licences of the built-in libraries ask binaries to carry.
install(TARGETS Tessaryn Engine3D RUNTIME DESTINATION .)
install(DIRECTORY ${CMAKE_BINARY_DIR}/model/ DESTINATION model)

# The unpacked source folder each cross-built library came from: line 2 of its stamp.
function(tessaryn_dependency_source package out)
  set(stamp ${TESSARYN_DEPS}/stamps/${package})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${stamp})
  file(STRINGS ${stamp} lines)
  list(LENGTH lines count)
  if(count LESS 2)
    message(FATAL_ERROR "${stamp} names no source folder: run scripts/setup")
  endif()
  list(GET lines 1 folder)
  set(${out} ${folder} PARENT_SCOPE)
endfunction()

# Appends one library's licence texts, each file whole, under a heading.
function(tessaryn_add_notice text title)
  set(body "${${text}}\n==== ${title} ====\n")
  foreach(file IN LISTS ARGN)
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "${file} is missing: run scripts/setup to fetch the library's source")
    endif()
    file(READ ${file} content)
    string(APPEND body "\n${content}")
  endforeach()
  set(${text} "${body}" PARENT_SCOPE)
endfunction()

tessaryn_dependency_source(libjpeg-turbo jpeg_source)
tessaryn_dependency_source(libpng1.6 png_source)
tessaryn_dependency_source(tiff tiff_source)
tessaryn_dependency_source(libwebp webp_source)
# zlib comes with Debian's MinGW package: its licence heads the header the build includes.
set(zlib_header /usr/i686-w64-mingw32/include/zlib.h)
file(READ ${zlib_header} zlib_text)
string(FIND "${zlib_text}" "*/" zlib_licence_end)
string(SUBSTRING "${zlib_text}" 0 ${zlib_licence_end} zlib_licence)
set(zlib_notice ${CMAKE_BINARY_DIR}/package/zlib-licence.txt)
file(WRITE ${zlib_notice} "${zlib_licence}*/\n")

set(notices "Tessaryn is built with the libraries below. Their licences ask that these notices\naccompany binary distributions.\n")
tessaryn_add_notice(notices "libjpeg-turbo" ${jpeg_source}/LICENSE.md ${jpeg_source}/README.ijg)
tessaryn_add_notice(notices "libpng" ${png_source}/LICENSE)
tessaryn_add_notice(notices "libtiff" ${tiff_source}/LICENSE.md)
tessaryn_add_notice(notices "libwebp" ${webp_source}/COPYING ${webp_source}/PATENTS)
tessaryn_add_notice(notices "zlib" ${zlib_notice})
# Notepad on older Windows shows only CR LF line ends.
function(tessaryn_write_windows_text path text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${path} "${text}")
endfunction()

tessaryn_write_windows_text(${CMAKE_BINARY_DIR}/package/THIRD-PARTY-NOTICES.txt "${notices}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/ReadMe.txt)
file(READ ${CMAKE_SOURCE_DIR}/docs/ReadMe.txt readme)
tessaryn_write_windows_text(${CMAKE_BINARY_DIR}/package/ReadMe.txt "${readme}")
install(FILES ${CMAKE_BINARY_DIR}/package/ReadMe.txt ${CMAKE_BINARY_DIR}/package/THIRD-PARTY-NOTICES.txt
  DESTINATION .)

# The same files twice: a zip to unpack anywhere and a setup that installs them for one user.
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Tessaryn)
set(CPACK_PACKAGE_VENDOR Tessaryn)
set(CPACK_PACKAGE_VERSION 1.0)
set(CPACK_PACKAGE_FILE_NAME Tessaryn-1.0-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(cmake/setup.cmake)
include(CPack)
