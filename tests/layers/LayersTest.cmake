# Each case builds a tree src/ with the folders a < b < c, runs the include check on it in a child
# process and compares its verdict. With ROOT set, this script is that child.
cmake_minimum_required(VERSION 3.25)
include(${LAYERS})
if(DEFINED ROOT)
    kym_check_layer_includes(${ROOT} a b c)
    return()
endif()

# kym_layer_case(NAME EXPECT FILE TEXT [FILE TEXT]...): EXPECT is "pass" or a text the failure must
# contain.
function(kym_layer_case name expect)
    set(root ${WORK}/${name}/src)
    file(REMOVE_RECURSE ${WORK}/${name})
    file(MAKE_DIRECTORY ${root}/a ${root}/b ${root}/c)
    set(files ${ARGN})
    while(files)
        list(POP_FRONT files path text)
        file(WRITE ${root}/${path} "${text}\n")
    endwhile()
    execute_process(COMMAND ${CMAKE_COMMAND} -DLAYERS=${LAYERS} -DROOT=${root}
                            -P ${CMAKE_CURRENT_LIST_FILE}
                    RESULT_VARIABLE failed ERROR_VARIABLE output)
    if(expect STREQUAL "pass")
        if(failed)
            message(SEND_ERROR "${name}: expected to pass, got:\n${output}")
        endif()
    elseif(NOT failed)
        message(SEND_ERROR "${name}: expected a failure naming '${expect}', the check passed")
    else()
        string(FIND "${output}" "${expect}" at)
        if(at EQUAL -1)
            message(SEND_ERROR "${name}: expected '${expect}' in:\n${output}")
        endif()
    endif()
endfunction()

kym_layer_case("itself and below" pass
    b/B.cpp "#include \"B.h\"\n#include \"b/Other.h\"\n#include \"a/A.h\"\n#include <vector>"
    c/C.h "#include \"a/A.h\"\n  #  include \"b/B.h\"")
kym_layer_case("include from above" "src/a/A.h includes \"b/B.h\": a is below b"
    a/A.h "#include \"b/B.h\"")
kym_layer_case("include from the top, deep in a folder" "src/b/deep/X.cpp includes \"c/C.h\": b is below c"
    b/deep/X.cpp "#include \"a/A.h\"\n#include \"c/C.h\"")
kym_layer_case("include of an unlisted folder" "src/c/C.cpp includes \"d/D.h\": d is not in the layer list"
    c/C.cpp "#include \"d/D.h\"")
kym_layer_case("unlisted folder" "d/ is not in the layer list"
    d/D.cpp "#include \"a/A.h\"")
