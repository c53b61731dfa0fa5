# Runs one case of cases.txt with the built clusterer and compares standard output and the -o2 and
# -o files with the golden ones byte for byte.
# Inputs: CLUSTERER, CASES, DATA_DIR, WORK_DIR, NAME, THREADS (- for no -threads option).
file(STRINGS "${CASES}" lines REGEX "^${NAME} ")
list(LENGTH lines found)
if(NOT found EQUAL 1)
  message(FATAL_ERROR "case ${NAME}: ${found} lines in ${CASES}")
endif()
separate_arguments(args UNIX_COMMAND "${lines}")
list(REMOVE_AT args 0)

file(MAKE_DIRECTORY "${WORK_DIR}")
set(out "${WORK_DIR}/${NAME}")
file(REMOVE "${out}.stdout" "${out}.o2" "${out}.o")
if(NOT THREADS STREQUAL "-")
  list(APPEND args -threads ${THREADS})
endif()
execute_process(COMMAND "${CLUSTERER}" ${args} -o2 "${out}.o2" -o "${out}.o"
                WORKING_DIRECTORY "${DATA_DIR}"
                OUTPUT_FILE "${out}.stdout"
                ERROR_VARIABLE err
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "clusterer ${args} ended with ${status}:\n${err}")
endif()

set(differing "")
foreach(ext stdout o2 o)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${DATA_DIR}/${NAME}.${ext}" "${out}.${ext}"
                  RESULT_VARIABLE differs)
  if(differs)
    list(APPEND differing "${ext}")
    execute_process(COMMAND diff "${DATA_DIR}/${NAME}.${ext}" "${out}.${ext}"
                    OUTPUT_VARIABLE shown ERROR_QUIET)
    string(SUBSTRING "${shown}" 0 2000 shown)
    message("--- ${NAME}.${ext}: golden (<) and clusterer (>) differ:\n${shown}")
  endif()
endforeach()
if(differing)
  message(FATAL_ERROR "case ${NAME}: ${differing} differ from the golden outputs")
endif()
