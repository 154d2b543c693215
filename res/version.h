// The library's version, shared by the version block and the code.
#pragma once

#define ZI_VERSION_MAJOR 1
#define ZI_VERSION_MINOR 0
#define ZI_VERSION_PATCH 1
#define ZI_VERSION_BUILD 6
// The same four numbers as the version block's strings show them.
#define ZI_VERSION_TEXT "1, 0, 1, 6"
