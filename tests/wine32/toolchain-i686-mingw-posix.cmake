# The 32-bit Windows-side tests: the product's toolchain with the posix thread model, because
# GoogleTest needs std::mutex, which the win32 thread model lacks; the tests link it
# statically. The DLL they test is the product's own, copied in after the build, so this
# compiler never builds what ships.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/toolchain-i686-mingw.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
