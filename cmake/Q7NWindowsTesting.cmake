# Testing of the Windows build: GoogleTest compiled from Debian's sources, and the test programs
# run under Wine in a prefix of their own that is made afresh for every test run.

set(Q7N_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian's googletest)")
if(NOT EXISTS ${Q7N_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${Q7N_GOOGLETEST_SOURCE} "
                        "(install Debian's googletest package)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${Q7N_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)

# The 64-bit build runs under Wine's 64-bit loader, the 32-bit one under its 32-bit loader (Debian's
# wine32, which only a machine that runs 32-bit programs can have), both in a 64-bit prefix and
# with the one wineserver, as 32-bit programs run on 64-bit Windows. Without that loader the
# 32-bit build is compiled only.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    find_program(Q7N_WINE NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
else()
    find_program(Q7N_WINE NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
endif()
find_program(Q7N_WINESERVER NAMES wineserver PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(Q7N_WINE AND Q7N_WINESERVER)
    set(Q7N_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(Q7N_WINE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        sh ${Q7N_WINE_SCRIPT} run ${Q7N_WINE_PREFIX} ${Q7N_WINE} ${Q7N_WINESERVER})
    # A fixture makes the prefix before the first Windows test and shuts its wineserver down
    # after the last one, so that nothing of Wine outlives the test run.
    add_test(NAME wine_prefix_setup
             COMMAND sh ${Q7N_WINE_SCRIPT} setup ${Q7N_WINE_PREFIX} ${Q7N_WINE} ${Q7N_WINESERVER}
                     $<TARGET_FILE:q7n_fixture_service>)
    add_test(NAME wine_prefix_shutdown
             COMMAND sh ${Q7N_WINE_SCRIPT} shutdown ${Q7N_WINE_PREFIX} ${Q7N_WINE}
                     ${Q7N_WINESERVER})
    set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP q7n_wine LABELS wine)
    set_tests_properties(wine_prefix_shutdown PROPERTIES FIXTURES_CLEANUP q7n_wine LABELS wine)
    set(Q7N_RUN_WINDOWS_TESTS ON)
else()
    set(Q7N_RUN_WINDOWS_TESTS OFF)
endif()

# The tests of the windows at several DPIs draw on a virtual display large enough for a window at
# 192 dpi, with Wine's X11 driver (the null driver's screen is 1024 x 768 and would clamp them):
# a prefix of their own, and a fixture that starts the display before them and stops it after.
if(Q7N_RUN_WINDOWS_TESTS)
    find_program(Q7N_XVFB NAMES Xvfb)
endif()
if(Q7N_RUN_WINDOWS_TESTS AND Q7N_XVFB)
    set(Q7N_WINE_X11_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-x11)
    add_test(NAME wine_x11_setup
             COMMAND sh ${Q7N_WINE_SCRIPT} setup-x11 ${Q7N_WINE_X11_PREFIX} ${Q7N_WINE}
                     ${Q7N_WINESERVER})
    add_test(NAME wine_x11_shutdown
             COMMAND sh ${Q7N_WINE_SCRIPT} shutdown-x11 ${Q7N_WINE_X11_PREFIX} ${Q7N_WINE}
                     ${Q7N_WINESERVER})
    set_tests_properties(wine_x11_setup PROPERTIES FIXTURES_SETUP q7n_wine_x11 LABELS wine)
    set_tests_properties(wine_x11_shutdown PROPERTIES FIXTURES_CLEANUP q7n_wine_x11 LABELS wine)
endif()

# Registers the GoogleTest program Name once per DPI on the virtual display: NAME_96dpi and so on,
# one after the other, since they share the prefix's LogPixels.
function(q7n_add_dpi_tests name)
    if(NOT Q7N_WINE_X11_PREFIX)
        return()
    endif()
    foreach(dpi 96 120 144 192)
        add_test(NAME ${name}_${dpi}dpi
                 COMMAND sh ${Q7N_WINE_SCRIPT} run-x11 ${Q7N_WINE_X11_PREFIX} ${Q7N_WINE}
                         ${Q7N_WINESERVER} ${dpi} $<TARGET_FILE:${name}> --gtest_color=no)
        set_tests_properties(${name}_${dpi}dpi PROPERTIES FIXTURES_REQUIRED q7n_wine_x11
                             RESOURCE_LOCK q7n_wine_x11_display LABELS wine)
    endforeach()
endfunction()
