# Runs artgen twice into fresh folders and compares every file of both runs with the
# committed art: the output must be the same bytes each time, and the same as what the
# repository carries.
file(REMOVE_RECURSE ${WORK_DIR})
foreach(run first second)
    file(MAKE_DIRECTORY ${WORK_DIR}/${run})
    execute_process(COMMAND ${ARTGEN} --out ${WORK_DIR}/${run} RESULT_VARIABLE status
                    OUTPUT_QUIET)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "artgen failed (${status}) on the ${run} run")
    endif()
endforeach()
set(failures 0)
foreach(name background_24.bmp background_8.bmp exit_overlay_24.bmp exit_overlay_8.bmp
             hand_cursor_image.bin hand_cursor_group.bin)
    file(SHA256 ${WORK_DIR}/first/${name} first)
    file(SHA256 ${WORK_DIR}/second/${name} second)
    file(SHA256 ${ART_DIR}/${name} committed)
    if(NOT first STREQUAL second)
        message(SEND_ERROR "${name}: expected the same bytes on both runs, got ${first} and ${second}")
        math(EXPR failures "${failures} + 1")
    elseif(NOT first STREQUAL committed)
        message(SEND_ERROR "${name}: expected the committed file (run make art), got different bytes")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
if(failures EQUAL 0)
    message(STATUS "artgen: 6 files, the same bytes on two runs and as committed")
endif()
