# Compiler settings shared by every target of the project.
function(q7n_target_defaults target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
        if(Q7N_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()

# Sanitizers apply to the whole build tree, third-party test runners included,
# so that every object is instrumented the same way.
if(Q7N_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Adds a GoogleTest executable and registers its tests with CTest.
# A Windows build registers the whole program as one test run under Wine: Wine starts slowly, so
# one process per suite rather than one per test case.
function(q7n_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    q7n_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} q7n_test_support GTest::gtest GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING AND WIN32)
        if(Q7N_RUN_WINDOWS_TESTS)
            add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
            set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED q7n_wine LABELS wine)
        endif()
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
