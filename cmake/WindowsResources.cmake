# The Windows resources of a program: its version (the project's) and its icon (made from
# packaging/kymeditor.svg at build time with rsvg-convert and icotool, package icoutils).
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)

set(KYM_ICON ${CMAKE_BINARY_DIR}/windows/kymeditor.ico)
set(pngs)
foreach(size 16 32 48 256)
    set(png ${CMAKE_BINARY_DIR}/windows/icon-${size}.png)
    add_custom_command(OUTPUT ${png}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/windows
                       COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
                               ${PROJECT_SOURCE_DIR}/packaging/kymeditor.svg
                       DEPENDS ${PROJECT_SOURCE_DIR}/packaging/kymeditor.svg VERBATIM)
    list(APPEND pngs ${png})
endforeach()
# The 256 px image is stored as PNG, as Windows Vista and later expect; the small ones as bitmaps.
list(POP_BACK pngs large)
add_custom_command(OUTPUT ${KYM_ICON} COMMAND ${ICOTOOL} -c -o ${KYM_ICON} ${pngs} -r ${large}
                   DEPENDS ${pngs} ${large} VERBATIM)
add_custom_target(kym_windows_icon DEPENDS ${KYM_ICON})

# VERSIONINFO wants four numbers; the project's version may give fewer.
foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        set(KYM_VERSION_${part} 0)
    else()
        set(KYM_VERSION_${part} ${PROJECT_VERSION_${part}})
    endif()
endforeach()

# Gives target the icon and a version block that describes it as description.
function(kym_windows_resources target description)
    set(KYM_TARGET ${target})
    set(KYM_DESCRIPTION ${description})
    set(rc ${CMAKE_BINARY_DIR}/windows/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/resources.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${KYM_ICON})
    add_dependencies(${target} kym_windows_icon)
endfunction()
