# The cross-build takes three packages from the build machine: CLI11 and nlohmann-json (headers
# only) and GoogleTest (Debian's googletest sources, compiled with the cross-compiler). Only the
# header packages' own folders are put on the include path, never /usr/include, whose C library
# headers belong to the build machine.
set(KYM_CLI11_HEADERS /usr/include/CLI CACHE PATH "CLI11's header folder")
set(KYM_NLOHMANN_JSON_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann-json's header folder")
set(KYM_GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest's sources")

# A header-only package as an imported target: its folder linked, under the name its headers are
# included by, into an include root of its own.
function(kym_cross_headers target folder name)
    set(root "${CMAKE_BINARY_DIR}/cross-include/${name}")
    file(MAKE_DIRECTORY "${root}")
    file(REMOVE "${root}/${name}")
    file(CREATE_LINK "${folder}" "${root}/${name}" SYMBOLIC)
    add_library(${target} INTERFACE IMPORTED)
    target_include_directories(${target} INTERFACE "${root}")
endfunction()
kym_cross_headers(CLI11::CLI11 "${KYM_CLI11_HEADERS}" CLI)
kym_cross_headers(nlohmann_json::nlohmann_json "${KYM_NLOHMANN_JSON_HEADERS}" nlohmann)

if(KYM_BUILD_TESTS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # Defines GTest::gtest, GTest::gtest_main and GTest::gmock.
    add_subdirectory("${KYM_GOOGLETEST_SOURCES}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
endif()
