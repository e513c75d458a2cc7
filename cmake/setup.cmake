# The setup made with CPack's NSIS generator from a template of our own (cmake/setup), as
# CPack's own installs for all users with administrator rights.
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/cmake/setup)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/setup/per-generator.cmake)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tessaryn)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tessaryn)
set(CPACK_NSIS_PACKAGE_NAME Tessaryn)
set(CPACK_NSIS_DISPLAY_NAME Tessaryn)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/app/resources/tessaryn.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/app/resources/tessaryn.ico)
