# The embedded resources: the art tools' portable core and its tests, the generator's
# reproducibility, and the reader that checks a built DLL's resources.
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/artgen ${CMAKE_BINARY_DIR}/artgen)

add_executable(art_tests art_quantize_test.cpp)
target_compile_definitions(art_tests PRIVATE ZI_ART_DIR="${PROJECT_SOURCE_DIR}/res/art")
target_compile_options(art_tests PRIVATE ${ZI_SANITIZE})
target_link_options(art_tests PRIVATE ${ZI_SANITIZE})
target_link_libraries(art_tests PRIVATE zi_artcore gtest_main)
add_test(NAME art_tests COMMAND art_tests)

# Reads a DLL given on its command line (or in ZI_DLL_PATH); the top Makefile runs it on the
# product and on the twin once both are built.
add_executable(dll_resources_test dll_resources_test.cpp pe_resources.cpp)
target_compile_options(dll_resources_test PRIVATE ${ZI_SANITIZE})
target_link_options(dll_resources_test PRIVATE ${ZI_SANITIZE})
target_link_libraries(dll_resources_test PRIVATE zi_artcore gtest)

# Where FreeType and the fonts are present, the generator must give the committed art again.
set(ZI_ART_FONT_DIR /usr/share/fonts/truetype/dejavu)
if(TARGET artgen AND EXISTS ${ZI_ART_FONT_DIR}/DejaVuSans-Bold.ttf
   AND EXISTS ${ZI_ART_FONT_DIR}/DejaVuSansCondensed-Bold.ttf)
    add_test(NAME artgen_reproduces_committed_art
             COMMAND ${CMAKE_COMMAND} -DARTGEN=$<TARGET_FILE:artgen>
                     -DART_DIR=${PROJECT_SOURCE_DIR}/res/art
                     -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/artgen_check
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/artgen_check.cmake)
endif()
