# Installs the built tree into a fresh prefix, builds the consumer project against it with
# find_package, and checks what the consumer and the installed clusterer print.
# -DBUILD_DIR, -DSOURCE_DIR (the consumer), -DWORK_DIR, -DCXX, -DLINK_FLAGS (may be empty).
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}\nfailed (${status}):\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Release "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer)
# Rows 0 and 1 lie along the first axis, rows 2 and 3 along the second (a set prints a blank
# before each member); the singular vectors are orthonormal; p = 0.5 of 4 states is -3/4 ln(1/3).
if(NOT out STREQUAL " 0 1\n 2 3\n2 orthogonal\n0.823959\n")
  message(FATAL_ERROR "the consumer printed:\n${out}")
endif()
run(${prefix}/bin/clusterer --help)
