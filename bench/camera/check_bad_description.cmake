# Runs the acquisition benchmark on a description that does not parse and
# checks that it reports the failure and exits with code 1, for one run and
# for the soak.
#   cmake -DBENCH=<bench_acquisition> -DWORK_DIR=<folder> -P check_bad_description.cmake
set(xml ${WORK_DIR}/malformed_description.xml)
file(WRITE ${xml} "<?xml version=\"1.0\"?>\n<RegisterDescription ModelName=\"Broken\">\n  <Integer Name=\"Width\">\n")
set(ENV{SIMCAM_XML_FILE} ${xml})
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${BENCH} --benchmark_filter=Mono8
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT result STREQUAL "1")
  message(FATAL_ERROR "expected exit code 1, got '${result}'")
endif()
if(NOT "${out}${err}" MATCHES "BM_Mono8_2048x1536[^\n]*ERROR OCCURRED")
  message(FATAL_ERROR "the benchmark was not marked as failed")
endif()
if(NOT "${out}${err}" MATCHES "BM_Mono8[^\n]*xmlloader.cpp:[0-9]+ The description is not well-formed XML")
  message(FATAL_ERROR "the description's fault was not reported")
endif()

# The soak counts every failed round and names the first failure.
set(ENV{KX_SOAK_CYCLES} 11)
execute_process(COMMAND ${BENCH} --benchmark_filter=Soak
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT result STREQUAL "1")
  message(FATAL_ERROR "soak: expected exit code 1, got '${result}'")
endif()
if(NOT "${out}${err}" MATCHES "BM_SoakOpenStreamClose[^\n]*ERROR OCCURRED: '11 of 11 rounds failed, first: [^\n]*The description is not well-formed XML")
  message(FATAL_ERROR "soak: the failed rounds were not reported")
endif()
