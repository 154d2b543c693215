# zellint's reader and rules: the zellint build and the fuzz build (tests/fuzz) both take
# this list. They also call the project's text routines, which each build links its own way.
set(ZELLINT_RULE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/profile_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/json.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../../src/dialog/layout.cpp)
