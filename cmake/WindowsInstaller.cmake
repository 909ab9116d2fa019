# Installing and packing the two programs on Windows: the install step runs windeployqt (through
# Qt's deploy script) and copies the DLLs of the imported libraries (libcurl), so that
# `cpack -G NSIS` in the build folder makes the installer (docs/windows.md).
include(GNUInstallDirs)
install(TARGETS kymeditor kymtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
qt_generate_deploy_app_script(TARGET kymeditor FILENAME_VARIABLE kymeditor_deploy
                              NO_UNSUPPORTED_PLATFORM_ERROR)
install(SCRIPT "${kymeditor_deploy}")
install(FILES $<TARGET_RUNTIME_DLLS:kymtool> DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_PACKAGE_NAME kym-config-tool)
set(CPACK_PACKAGE_VENDOR "KYM")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "KYM Configuration Tool")
set(CPACK_PACKAGE_EXECUTABLES kymeditor "KYM Configuration Tool")
set(CPACK_GENERATOR NSIS)
set(CPACK_NSIS_PACKAGE_NAME "KYM Configuration Tool")
set(CPACK_NSIS_DISPLAY_NAME "KYM Configuration Tool")
set(CPACK_NSIS_MODIFY_PATH ON) # offers to put kymtool on the PATH
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
include(CPack)
