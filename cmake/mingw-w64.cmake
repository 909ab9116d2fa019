# Cross-compiles the Qt-free core for 64-bit Windows with Debian's MinGW-w64 (package mingw-w64):
# the compilers of mingw-w64-qt.cmake, with the runtime linked statically so that the programs run
# on a Windows machine with nothing installed. Tests run through Wine (CMAKE_CROSSCOMPILING_EMULATOR,
# set by scripts/test-windows).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-qt.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
