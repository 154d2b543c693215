# The embedded art: the art tools' portable core and its tests, the pictures against the
# layout and the generator's reproducibility (tests/win/resources_test reads the DLL's).
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/artgen ${CMAKE_BINARY_DIR}/artgen)

add_executable(art_tests art_quantize_test.cpp art_layout_test.cpp)
target_compile_definitions(art_tests PRIVATE ZI_ART_DIR="${PROJECT_SOURCE_DIR}/res/art")
target_compile_options(art_tests PRIVATE ${ZI_SANITIZE})
target_link_options(art_tests PRIVATE ${ZI_SANITIZE})
target_link_libraries(art_tests PRIVATE zi_artcore gtest_main)
add_test(NAME art_tests COMMAND art_tests)

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
