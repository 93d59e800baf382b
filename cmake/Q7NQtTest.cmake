# Adds a Qt Test program and registers it with CTest as one test. It runs on Qt's offscreen
# platform, so it needs no display, and its windows are real widgets driven through their events.
function(q7n_add_qt_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    q7n_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS qt)
endfunction()

# Registers the Qt Test program name once more with CTest, as name_suffix, run with the
# environment entries that follow ("VARIABLE=value", on the offscreen platform as well).
function(q7n_add_qt_test_run name suffix)
    add_test(NAME ${name}_${suffix} COMMAND ${name})
    set_tests_properties(${name}_${suffix} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARGN}" LABELS qt)
endfunction()
