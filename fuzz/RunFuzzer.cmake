# Runs the fuzzer for SECONDS on a fresh copy of CORPUS in WORK.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(GLOB Seeds ${CORPUS}/*)
file(COPY ${Seeds} DESTINATION ${WORK}/corpus)
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -max_len=65536
            -dict=${DICT} -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE Result)
if(NOT Result EQUAL 0)
    message(FATAL_ERROR "the fuzzer found a failing input (exit ${Result}); see ${WORK}/artifacts")
endif()
