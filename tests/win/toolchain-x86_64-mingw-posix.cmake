# The test twin: the 64-bit product's toolchain with the posix thread model, because
# GoogleTest needs std::mutex; the tests link it statically. Run under 64-bit Wine.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/toolchain-x86_64-mingw.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
