# pugixml compiled from Debian's own source package, of the very version of libpugixml-dev, in
# every build: Debian ships the library for Linux only, the fuzz build instruments it, and its
# node accessors, each one line, inline into the load's walk instead of costing a call into the
# shared library apiece (a load of many mappings makes millions of them). `apt-get source`
# fetches and unpacks it, patches applied and checksums checked against the signed archive index,
# once into the build folder that compiles it; scripts/install-deps.sh provides dpkg-dev and the
# deb-src entry.

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

# pugixml's header-only mode: each file that includes pugixml.hpp compiles the implementation
# with it, so only the files that use its tree include it. SYSTEM keeps our warning flags off it.
add_library(q7n_pugixml INTERFACE)
target_include_directories(q7n_pugixml SYSTEM INTERFACE ${Q7N_PUGIXML_SOURCE}/src)
target_compile_definitions(q7n_pugixml INTERFACE PUGIXML_HEADER_ONLY)
add_library(pugixml::pugixml ALIAS q7n_pugixml)
