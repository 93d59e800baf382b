# Compiler settings shared by every target of the project.
function(q7n_target_defaults target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
        if(Q7N_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()

# A library of the project, whose folder is the include folder of those that use it.
#   q7n_add_library(NAME SOURCES files... [LIBS public...] [PRIVATE_LIBS private...] [QT])
# QT runs Qt's moc and rcc over it.
function(q7n_add_library name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
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
