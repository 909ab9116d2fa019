# The cross-build takes three packages from the build machine: CLI11 and nlohmann-json (headers
# only) and GoogleTest (Debian's googletest sources, compiled with the cross-compiler). Only the
# header packages' own folders are put on the include path, never /usr/include, whose C library
# headers belong to the build machine.
set(KYM_CLI11_HEADERS /usr/include/CLI CACHE PATH "CLI11's header folder")
set(KYM_NLOHMANN_JSON_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann-json's header folder")
set(KYM_GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest's sources")

set(cli11_root "${CMAKE_BINARY_DIR}/cross-include/cli11")
file(MAKE_DIRECTORY "${cli11_root}")
file(REMOVE "${cli11_root}/CLI")
file(CREATE_LINK "${KYM_CLI11_HEADERS}" "${cli11_root}/CLI" SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 INTERFACE "${cli11_root}")

set(json_root "${CMAKE_BINARY_DIR}/cross-include/nlohmann_json")
file(MAKE_DIRECTORY "${json_root}")
file(REMOVE "${json_root}/nlohmann")
file(CREATE_LINK "${KYM_NLOHMANN_JSON_HEADERS}" "${json_root}/nlohmann" SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json INTERFACE "${json_root}")

if(KYM_BUILD_TESTS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # Defines GTest::gtest, GTest::gtest_main and GTest::gmock.
    add_subdirectory("${KYM_GOOGLETEST_SOURCES}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
endif()
