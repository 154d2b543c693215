# make dist: the SDK folder build/dist/ZelInterstitial-<version> and its zip, from the x86
# and x64 product builds, each installed into the same folder.
#   cmake -DBUILD=build -P cmake/dist.cmake
include(${CMAKE_CURRENT_LIST_DIR}/zi_version.cmake)
set(name ZelInterstitial-${ZI_VERSION})
set(dist ${BUILD}/dist)
file(REMOVE_RECURSE ${dist}/${name} ${dist}/${name}-windows.zip)
foreach(build product product64)
    execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD}/${build} --prefix ${dist}/${name}
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${name}-windows.zip --format=zip ${name}
    WORKING_DIRECTORY ${dist} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "dist: ${dist}/${name} and ${dist}/${name}-windows.zip")
