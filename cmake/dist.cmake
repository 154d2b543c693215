# make dist: the SDK folder build/dist/ZelInterstitial-<version> and its zip, from the x86
# and x64 product builds, each installed into the same folder; every PE signed when a
# certificate and key are given; then the checksums and the zip.
#   cmake -DBUILD=build [-DBUILDS="DIR;..."] [-DOUT=DIR]
#         [-DSIGN_CERT=cert.pem -DSIGN_KEY=key.pem [-DSIGN_TIMESTAMP_URL=URL]] -P cmake/dist.cmake
# BUILDS (default BUILD/product and BUILD/product64) are installed into OUT (default BUILD/dist).
# One commit gives the same bytes wherever and whenever it is built (when unsigned: a
# signature holds its signing time): the zip's entries are sorted, carry the last commit's
# time (or SOURCE_DATE_EPOCH), fixed modes and no owner.
include(${CMAKE_CURRENT_LIST_DIR}/zi_version.cmake)
set(name ZelInterstitial-${ZI_VERSION})
if(NOT BUILDS)
    set(BUILDS ${BUILD}/product ${BUILD}/product64)
endif()
if(NOT OUT)
    set(OUT ${BUILD}/dist)
endif()
get_filename_component(OUT ${OUT} ABSOLUTE)
set(dir ${OUT}/${name})
set(zip ${name}-windows.zip)
file(REMOVE_RECURSE ${dir} ${OUT}/${zip} ${OUT}/SHA256SUMS)
foreach(build ${BUILDS})
    execute_process(COMMAND ${CMAKE_COMMAND} --install ${build} --prefix ${dir}
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Authenticode, SHA-256, on every DLL and program, before anything is summed or packed.
if(SIGN_CERT OR SIGN_KEY)
    if(SIGN_TIMESTAMP_URL)
        set(stamp -ts ${SIGN_TIMESTAMP_URL})
    endif()
    file(GLOB_RECURSE pes ${dir}/*.dll ${dir}/*.exe)
    foreach(pe ${pes})
        execute_process(COMMAND osslsigncode sign -certs ${SIGN_CERT} -key ${SIGN_KEY} -h sha256
                ${stamp} -in ${pe} -out ${pe}.signed
            OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
        file(RENAME ${pe}.signed ${pe})
    endforeach()
endif()

# zi_sums(VAR BASE PREFIX FILE...): sha256sum's lines for BASE/FILE, each named PREFIXFILE.
function(zi_sums var base prefix)
    set(lines "")
    foreach(file ${ARGN})
        file(SHA256 ${base}/${file} hash)
        string(APPEND lines "${hash}  ${prefix}${file}\n")
    endforeach()
    set(${var} "${lines}" PARENT_SCOPE)
endfunction()

# SHA256SUMS in the folder covers every other file in it.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${dir} ${dir}/*)
list(SORT files)
zi_sums(sums ${dir} "" ${files})
file(WRITE ${dir}/SHA256SUMS "${sums}")
list(APPEND files SHA256SUMS)
list(SORT files)

# The zip: sorted names, no folder entries, no owner or extra times (-X), every entry at
# the commit's time in UTC, files rw-r--r--.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
        OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
    if(failed)
        set(epoch 315532800) # not a clone: 1980-01-01, the zip format's first day
    endif()
endif()
file(CHMOD_RECURSE ${dir} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
        WORLD_READ WORLD_EXECUTE)
list(TRANSFORM files PREPEND ${name}/ OUTPUT_VARIABLE entries)
list(JOIN entries "\n" entry_lines)
file(WRITE ${OUT}/zip-entries "${entry_lines}\n")
set(ENV{TZ} UTC)
execute_process(COMMAND touch -d @${epoch} ${entries} WORKING_DIRECTORY ${OUT} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND zip -X -D -q -@ ${zip} WORKING_DIRECTORY ${OUT} INPUT_FILE ${OUT}/zip-entries
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${OUT}/zip-entries)

# Beside the zip, SHA256SUMS covers the zip and, by their paths in it, the folder's files.
zi_sums(zip_sum ${OUT} "" ${zip})
zi_sums(folder_sums ${dir} ${name}/ ${files})
file(WRITE ${OUT}/SHA256SUMS "${zip_sum}${folder_sums}")
message(STATUS "dist: ${dir}, ${OUT}/${zip} and ${OUT}/SHA256SUMS")
