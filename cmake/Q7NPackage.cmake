# The portable Windows archive: the configurator, q7nctl and the service console side by side with
# the README, the documents in docs/ that it links to, and THIRD-PARTY-NOTICES.txt, the licences that the statically linked third-party code
# asks to travel with it. `cpack --preset win64-release` (scripts/package-windows.sh) makes it.

set(q7n_package_files q7nconfig q7nctl q7n_service_console)
# Flat: the programs work on the folder they are run in, which is the service's own.
install(TARGETS ${q7n_package_files} RUNTIME DESTINATION . COMPONENT q7n)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT q7n)
# The README is a guide whose references are in docs/: they travel with it, so its links work.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs DESTINATION . COMPONENT q7n)
# The example playbook that docs/MANY-MACHINES.md shows; its test stays behind.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples DESTINATION . COMPONENT q7n
        PATTERN tests EXCLUDE)

# The notices come from what is linked: Debian's pugixml source, and the copyright file of each
# Debian package that owns one of the compiler's runtime libraries (GCC's with its runtime library
# exception, mingw-w64's C runtime and threads).
set(q7n_copyright_files)
foreach(q7n_library libstdc++.a libgcc.a libgcc_eh.a libmingw32.a libmingwex.a libmsvcrt.a
                    libwinpthread.a)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${q7n_library}
                    OUTPUT_VARIABLE q7n_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    file(REAL_PATH "${q7n_path}" q7n_path)
    execute_process(COMMAND dpkg-query -S ${q7n_path} OUTPUT_VARIABLE q7n_owner
                    RESULT_VARIABLE q7n_result ERROR_QUIET)
    if(NOT q7n_result EQUAL 0 OR NOT q7n_owner MATCHES "^([^:, ]+)[:,]")
        message(FATAL_ERROR "No Debian package owns ${q7n_path} (${q7n_library}): its licence "
                            "cannot be put beside the programs")
    endif()
    set(q7n_owner ${CMAKE_MATCH_1})
    # Packages built from one source share one copyright file through a symbolic link.
    file(REAL_PATH /usr/share/doc/${q7n_owner}/copyright q7n_copyright)
    if(NOT EXISTS ${q7n_copyright})
        message(FATAL_ERROR "${q7n_owner} has no ${q7n_copyright}")
    endif()
    list(FIND q7n_copyright_files ${q7n_copyright} q7n_index)
    if(q7n_index EQUAL -1)
        list(LENGTH q7n_copyright_files q7n_index)
        list(APPEND q7n_copyright_files ${q7n_copyright})
        set(q7n_owners_${q7n_index} ${q7n_owner})
    endif()
    list(APPEND q7n_libraries_${q7n_index} ${q7n_library})
endforeach()
set(q7n_notices "pugixml (MIT licence)" ${Q7N_PUGIXML_SOURCE}/LICENSE.md)
set(q7n_index 0)
foreach(q7n_copyright IN LISTS q7n_copyright_files)
    list(JOIN q7n_libraries_${q7n_index} ", " q7n_libraries)
    list(APPEND q7n_notices
         "${q7n_libraries} (Debian package ${q7n_owners_${q7n_index}})" ${q7n_copyright})
    math(EXPR q7n_index "${q7n_index} + 1")
endforeach()

set(q7n_notices_file ${CMAKE_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
set(q7n_notice_sources ${q7n_notices})
list(FILTER q7n_notice_sources INCLUDE REGEX "^/")
add_custom_command(OUTPUT ${q7n_notices_file}
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${q7n_notices_file}" "-DNOTICES=${q7n_notices}"
            -P ${CMAKE_CURRENT_LIST_DIR}/Q7NNotices.cmake
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/Q7NNotices.cmake ${q7n_notice_sources}
    COMMENT "Writing THIRD-PARTY-NOTICES.txt" VERBATIM)
add_custom_target(q7n_third_party_notices ALL DEPENDS ${q7n_notices_file})
install(FILES ${q7n_notices_file} DESTINATION . COMPONENT q7n)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME q7nconfig)
set(CPACK_PACKAGE_VENDOR "")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
else()
    set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Only the project's own files: the third-party projects built in the tree have install rules too.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL q7n)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
include(CPack)

# This build's own archive, made and checked under Wine as the release's is.
if(BUILD_TESTING AND Q7N_RUN_WINDOWS_TESTS)
    add_test(NAME q7n_windows_package
             COMMAND ${CMAKE_COMMAND} -E env CPACK=${CMAKE_CPACK_COMMAND} WINE=${Q7N_WINE}
                     WINESERVER=${Q7N_WINESERVER}
                     bash ${PROJECT_SOURCE_DIR}/scripts/check-windows-package.sh
                     --make ${CMAKE_BINARY_DIR})
    set_tests_properties(q7n_windows_package PROPERTIES LABELS wine)
endif()

# The shipped programs start on Windows 7: no DLL or function that came later is imported. Needs
# only the toolchain's objdump, so it runs in every Windows build with tests, Wine or not; the
# archive check applies the same script to the release's programs.
if(BUILD_TESTING)
    add_test(NAME q7n_windows_imports
             COMMAND ${CMAKE_COMMAND} -E env OBJDUMP=${CMAKE_OBJDUMP}
                     bash ${PROJECT_SOURCE_DIR}/scripts/check-windows-imports.sh
                     $<TARGET_FILE:q7nconfig> $<TARGET_FILE:q7nctl>
                     $<TARGET_FILE:q7n_service_console>)
endif()
