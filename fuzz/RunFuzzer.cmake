# Runs the fuzzer for SECONDS on a fresh copy of CORPUS in WORK, and fails when it finds a failing
# input or when its coverage at the end (libFuzzer's "cov:", the edges it has seen) falls below the
# number in the file FLOOR: a build that stopped instrumenting a library the loader runs through,
# or a corpus that lost its inputs, would otherwise pass unnoticed.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(GLOB Seeds ${CORPUS}/*)
file(COPY ${Seeds} DESTINATION ${WORK}/corpus)
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -max_len=65536
            -dict=${DICT} -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
    WORKING_DIRECTORY ${WORK}
    OUTPUT_VARIABLE Output
    ERROR_VARIABLE Output
    RESULT_VARIABLE Result)
file(WRITE ${WORK}/fuzzer.log "${Output}")
if(NOT Result EQUAL 0)
    message("${Output}")
    message(FATAL_ERROR "the fuzzer found a failing input (exit ${Result}); see ${WORK}/artifacts")
endif()

string(REGEX MATCHALL "cov: [0-9]+" Lines "${Output}")
list(POP_BACK Lines Last)
string(REGEX REPLACE "cov: " "" Coverage "${Last}")
file(STRINGS ${FLOOR} Floor REGEX "^[0-9]+$")
string(REGEX MATCH "stat::number_of_executed_units: *[0-9]+" Executions "${Output}")
message("${Executions}\ncoverage: ${Coverage} edges (floor ${Floor}); log in ${WORK}/fuzzer.log")
if(NOT Coverage OR NOT Floor OR Coverage LESS Floor)
    message(FATAL_ERROR "the fuzzer's coverage ${Coverage} is below the floor ${Floor} (${FLOOR})")
endif()
