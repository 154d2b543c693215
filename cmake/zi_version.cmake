# The version, read from the public header, which holds it once: sets ZI_VERSION_MAJOR,
# _MINOR, _PATCH, _BUILD and ZI_VERSION ("1.0.1.6").
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../include/ZelInterstitial.h ZI_VERSION_LINES
     REGEX "^#define ZELINTERSTITIAL_VERSION_(MAJOR|MINOR|PATCH|BUILD) [0-9]+$")
foreach(line ${ZI_VERSION_LINES})
    string(REGEX REPLACE "^#define ZELINTERSTITIAL_VERSION_([A-Z]+) ([0-9]+)$" "\\1;\\2" pair ${line})
    list(GET pair 0 part)
    list(GET pair 1 ZI_VERSION_${part})
endforeach()
set(ZI_VERSION ${ZI_VERSION_MAJOR}.${ZI_VERSION_MINOR}.${ZI_VERSION_PATCH}.${ZI_VERSION_BUILD})
# A new version in the header configures the build again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_LIST_DIR}/../include/ZelInterstitial.h)
