# The Windows install rules and the NSIS installer (make package-windows, docs/windows.md). They are
# written for the cross-build, where windeployqt cannot run: Qt's DLLs and plugins are copied from
# the imported targets' locations. Without Qt (the core build) the installer holds kymtool.exe and
# the guide.
set(programs kymtool)
if(TARGET kymeditor)
    list(APPEND programs kymeditor)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md DESTINATION doc)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images/ DESTINATION doc/images FILES_MATCHING PATTERN "*.png")

if(TARGET Qt6::Widgets)
    set(qt_dlls)
    foreach(module Core Gui Widgets PrintSupport)
        list(APPEND qt_dlls $<TARGET_FILE:Qt6::${module}>)
    endforeach()
    # The programs link the MinGW runtime as DLLs only when they share it with Qt. Debian keeps them
    # in its posix folders, MSYS2 beside the compiler.
    get_filename_component(compiler_dir ${CMAKE_CXX_COMPILER} DIRECTORY)
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        string(MAKE_C_IDENTIFIER ${dll} var)
        find_file(KYM_RUNTIME_${var} ${dll} NO_CMAKE_FIND_ROOT_PATH REQUIRED
                  PATHS /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib ${compiler_dir})
        list(APPEND qt_dlls ${KYM_RUNTIME_${var}})
    endforeach()
    install(FILES ${qt_dlls} DESTINATION bin)
    # The offscreen platform draws kymtool's PDF where no window may open.
    install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
            DESTINATION bin/platforms)
    if(TARGET Qt6::QWindowsVistaStylePlugin)
        install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION bin/styles)
    endif()
    # Plugins beside the programs, whatever prefix Qt was built for.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\n")
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qt.conf DESTINATION bin)
    # install(FILES) does not strip; the programs are stripped by CPACK_STRIP_FILES.
    install(CODE "file(GLOB_RECURSE dlls \"\${CMAKE_INSTALL_PREFIX}/bin/*.dll\")
                  execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \${dlls} COMMAND_ERROR_IS_FATAL ANY)")
endif()

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_VENDOR "KYM")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${KYM_PRODUCT_NAME}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})
set(CPACK_NSIS_PACKAGE_NAME "${KYM_PRODUCT_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${KYM_PRODUCT_NAME}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_STRIP_FILES ON)
# A 64-bit installer: Debian's wine64 runs no 32-bit program, and a 64-bit program is what it
# installs anyway. CPack has no setting for NSIS' Target, so it rides on the compressor's line.
set(CPACK_NSIS_COMPRESSOR "lzma\n  Target amd64-unicode")
# A Start-menu entry for the editor only: kymtool is a console program.
if(TARGET kymeditor)
    set(CPACK_PACKAGE_EXECUTABLES kymeditor "${KYM_PRODUCT_NAME}")
endif()
# An install over an earlier one runs its uninstaller first; with /S it does so without asking.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

# The .vlt association, in the install's own hive (SHCTX: HKLM for an install for all users), opens
# the editor; without it (the core build) it shows kymtool's icon.
if(TARGET kymeditor)
    set(KYM_VLT_OPENER kymeditor.exe)
else()
    set(KYM_VLT_OPENER kymtool.exe)
endif()
set(KYM_VLT_PROGID KYM.Configuration)
set(classes "Software\\\\Classes")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  WriteRegStr SHCTX '${classes}\\\\.vlt' '' '${KYM_VLT_PROGID}'
  WriteRegStr SHCTX '${classes}\\\\${KYM_VLT_PROGID}' '' 'KYM register configuration'
  WriteRegStr SHCTX '${classes}\\\\${KYM_VLT_PROGID}\\\\DefaultIcon' '' '$INSTDIR\\\\bin\\\\${KYM_VLT_OPENER},0'
  WriteRegStr SHCTX '${classes}\\\\${KYM_VLT_PROGID}\\\\shell\\\\open\\\\command' '' '\\\"$INSTDIR\\\\bin\\\\${KYM_VLT_OPENER}\\\" \\\"%1\\\"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  DeleteRegKey SHCTX '${classes}\\\\.vlt'
  DeleteRegKey SHCTX '${classes}\\\\${KYM_VLT_PROGID}'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
include(CPack)
