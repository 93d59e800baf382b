# Compiler settings shared by every target of the project. Includes name their folder from the
# project's root ("service/Timer.h"), or from the folder of what the build writes ("app/Version.h").
function(q7n_target_defaults target)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
        # clang also flags a dropped [[nodiscard]] result of a virtual call, which GCC 12 lets pass.
        if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            target_compile_options(${target} PRIVATE -Wunused-result)
        endif()
        if(Q7N_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()

# A library of the project.
#   q7n_add_library(NAME SOURCES files... [LIBS public...] [PRIVATE_LIBS private...] [QT])
# QT runs Qt's moc and rcc over it.
function(q7n_add_library name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    if(ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    endif()
    q7n_target_defaults(${name})
endfunction()

# Sanitizers apply to the whole build tree, third-party test runners included,
# so that every object is instrumented the same way.
if(Q7N_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz build instruments every library the fuzz target runs through, pugixml included: their
# branches guide the fuzzer, and the sanitizers stop it at the first fault. Only the fuzz target
# itself links libFuzzer (fuzz/).
if(Q7N_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# What tests share outside their own process. Under Wine every Windows test runs in one prefix,
# with one service manager and one registry: the service name that the configurator registers and
# the registry key of its settings are the same for all of them. A test that changes one holds its
# lock, and CTest never runs two tests that hold the same lock at once. (On Linux each test has a
# machine database of its own; the locks are declared there too, so that a test says the same in
# every build.)
set(Q7N_LOCK_SERVICE q7n_service_Q7NSrv)
set(Q7N_LOCK_SETTINGS_KEY q7n_registry_MainOptions)

# Gives the tests Tests the locks Locks (see above).
function(q7n_test_locks)
    cmake_parse_arguments(ARG "" "" "TESTS;LOCKS" ${ARGN})
    set_property(TEST ${ARG_TESTS} APPEND PROPERTY RESOURCE_LOCK ${ARG_LOCKS})
endfunction()

# Adds a GoogleTest executable and registers its tests with CTest; LOCKS are the locks its tests
# hold (see above).
# A Windows build registers the whole program as one test run under Wine: Wine starts slowly, so
# one process per suite rather than one per test case.
function(q7n_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LOCKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    q7n_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} q7n_test_support GTest::gtest GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING AND WIN32)
        if(Q7N_RUN_WINDOWS_TESTS)
            add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
            set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED q7n_wine LABELS wine)
            if(ARG_LOCKS)
                q7n_test_locks(TESTS ${name} LOCKS ${ARG_LOCKS})
            endif()
        endif()
    elseif(ARG_LOCKS)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES RESOURCE_LOCK "${ARG_LOCKS}")
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
