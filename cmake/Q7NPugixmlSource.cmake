# pugixml compiled from Debian's own source package, of the very version that the Linux build
# links (libpugixml-dev): for the Windows cross-builds, since Debian ships the library for Linux
# only, and for the fuzz build, which instruments it. `apt-get source` fetches and unpacks it,
# patches applied and checksums checked against the signed archive index, once into the build
# folder that compiles it; scripts/install-deps.sh provides dpkg-dev and the deb-src entry.

set(Q7N_SOURCE_CACHE ${CMAKE_BINARY_DIR}/_sources CACHE PATH
    "Folder for the Debian source packages that the build compiles")

execute_process(
    COMMAND dpkg-query -W "-f=\${source:Package} \${source:Version}" libpugixml-dev
    OUTPUT_VARIABLE q7n_pugixml_source RESULT_VARIABLE q7n_result ERROR_QUIET)
if(NOT q7n_result EQUAL 0 OR NOT q7n_pugixml_source MATCHES "^([^ ]+) ([^ ]+)$")
    message(FATAL_ERROR "libpugixml-dev is not installed: this build compiles the source "
                        "of the installed version (run scripts/install-deps.sh test)")
endif()
set(q7n_package ${CMAKE_MATCH_1})
set(q7n_version ${CMAKE_MATCH_2})
# dpkg-source unpacks into PACKAGE-UPSTREAM, the version without its epoch and Debian revision.
string(REGEX REPLACE "^[0-9]+:" "" q7n_upstream_version ${q7n_version})
string(REGEX REPLACE "-[^-]*$" "" q7n_upstream_version ${q7n_upstream_version})
# A folder name cannot carry the epoch's colon on every file system.
string(REPLACE ":" "_" q7n_folder "${q7n_package}_${q7n_version}")
set(q7n_folder ${Q7N_SOURCE_CACHE}/${q7n_folder})
set(Q7N_PUGIXML_SOURCE ${q7n_folder}/${q7n_package}-${q7n_upstream_version})

# The lock keeps two configure runs at once from unpacking into the same place; the folder
# appears under its final name only once it is complete, so an interrupted fetch is done again.
file(MAKE_DIRECTORY ${Q7N_SOURCE_CACHE})
file(LOCK ${q7n_folder}.lock GUARD FILE TIMEOUT 600)
if(NOT EXISTS ${Q7N_PUGIXML_SOURCE}/CMakeLists.txt)
    message(STATUS "Fetching Debian's source of ${q7n_package} ${q7n_version}")
    set(q7n_partial ${q7n_folder}.partial)
    file(REMOVE_RECURSE ${q7n_partial} ${q7n_folder})
    file(MAKE_DIRECTORY ${q7n_partial})
    execute_process(
        COMMAND apt-get source --only-source ${q7n_package}=${q7n_version}
        WORKING_DIRECTORY ${q7n_partial}
        OUTPUT_VARIABLE q7n_output ERROR_VARIABLE q7n_output RESULT_VARIABLE q7n_result)
    if(NOT q7n_result EQUAL 0
       OR NOT EXISTS ${q7n_partial}/${q7n_package}-${q7n_upstream_version}/CMakeLists.txt)
        message(FATAL_ERROR "${q7n_output}\nCould not fetch Debian's source of ${q7n_package} "
                            "${q7n_version}: it needs dpkg-dev and a deb-src entry for the "
                            "archive (run scripts/install-deps.sh test)")
    endif()
    file(RENAME ${q7n_partial} ${q7n_folder})
endif()
file(LOCK ${q7n_folder}.lock RELEASE)

# pugixml's own default: a static library, without its tests; EXCLUDE_FROM_ALL leaves out its
# install rules' targets, SYSTEM keeps our warning flags off its headers.
add_subdirectory(${Q7N_PUGIXML_SOURCE} ${CMAKE_BINARY_DIR}/_pugixml EXCLUDE_FROM_ALL SYSTEM)
