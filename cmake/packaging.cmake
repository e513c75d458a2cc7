# The folder a Windows user unpacks and runs: Tessaryn.exe, Engine3D.dll and model\.
install(TARGETS Tessaryn Engine3D RUNTIME DESTINATION .)
install(DIRECTORY ${CMAKE_BINARY_DIR}/model/ DESTINATION model)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tessaryn)
set(CPACK_PACKAGE_VERSION 1.0)
set(CPACK_PACKAGE_FILE_NAME Tessaryn-1.0-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
