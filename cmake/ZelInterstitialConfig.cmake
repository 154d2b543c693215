# ZelInterstitial's CMake package: find_package(ZelInterstitial 1.0 CONFIG REQUIRED), then
# target_link_libraries(game PRIVATE ZelInterstitial::ZelInterstitial). Relocatable: every
# path is found from this file's place in the SDK folder. Picks the x86 or x64 build by the
# consumer's pointer size, and the import library of its compiler's ABI (Visual Studio and
# clang-cl: ZelInterstitial.lib; MinGW: libZelInterstitial.dll.a).
get_filename_component(_zi_root "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

set(_zi_processor "${CMAKE_SYSTEM_PROCESSOR}")
foreach(_zi_lang CXX C)
    if(CMAKE_${_zi_lang}_COMPILER_ARCHITECTURE_ID)
        set(_zi_processor "${CMAKE_${_zi_lang}_COMPILER_ARCHITECTURE_ID}")
        break()
    endif()
endforeach()
if(NOT WIN32 OR _zi_processor MATCHES "^([Aa][Rr][Mm]|aarch64|ARM)")
    set(ZelInterstitial_FOUND FALSE)
    set(ZelInterstitial_NOT_FOUND_MESSAGE "ZelInterstitial is built for Windows on x86 and \
x64 only; this project targets ${CMAKE_SYSTEM_NAME} on '${_zi_processor}'.")
    return()
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(_zi_arch x86)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_zi_arch x64)
else()
    set(ZelInterstitial_FOUND FALSE)
    set(ZelInterstitial_NOT_FOUND_MESSAGE "ZelInterstitial is built for x86 and x64 only; \
this project's pointers are '${CMAKE_SIZEOF_VOID_P}' bytes. Enable C or CXX first.")
    return()
endif()

if(MSVC OR CMAKE_CXX_SIMULATE_ID STREQUAL "MSVC" OR CMAKE_C_SIMULATE_ID STREQUAL "MSVC")
    set(_zi_implib "${_zi_root}/lib/${_zi_arch}/ZelInterstitial.lib")
else()
    set(_zi_implib "${_zi_root}/lib/${_zi_arch}/libZelInterstitial.dll.a")
endif()

if(NOT TARGET ZelInterstitial::ZelInterstitial)
    add_library(ZelInterstitial::ZelInterstitial SHARED IMPORTED)
    set_target_properties(ZelInterstitial::ZelInterstitial PROPERTIES
        IMPORTED_LOCATION "${_zi_root}/bin/${_zi_arch}/ZelInterstitial.dll"
        IMPORTED_IMPLIB "${_zi_implib}"
        INTERFACE_INCLUDE_DIRECTORIES "${_zi_root}/include")
endif()
foreach(_zi_file IN ITEMS "${_zi_root}/bin/${_zi_arch}/ZelInterstitial.dll" "${_zi_implib}")
    if(NOT EXISTS "${_zi_file}")
        set(ZelInterstitial_FOUND FALSE)
        set(ZelInterstitial_NOT_FOUND_MESSAGE "ZelInterstitial: ${_zi_file} is missing; \
this SDK folder holds no ${_zi_arch} build.")
    endif()
endforeach()
unset(_zi_root)
unset(_zi_arch)
unset(_zi_implib)
unset(_zi_processor)
