# Runs one scripted session and compares its standard output with the expected transcript.
#   cmake -DPROGRAM=... -DSCRIPT=x.script -DEXPECTED=x.expected -DFIXTURES=dir -DWORKDIR=dir
#         [-DSTATUS=n] -P run_session.cmake
# The session runs in a fresh copy of the fixtures, so files it writes never touch the sources.
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
file(GLOB fixtures "${FIXTURES}/*")
file(COPY ${fixtures} DESTINATION "${WORKDIR}")
if(NOT DEFINED STATUS)
  set(STATUS 0)
endif()
execute_process(
  COMMAND "${PROGRAM}" --script "${SCRIPT}"
  WORKING_DIRECTORY "${WORKDIR}"
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE status
  TIMEOUT 60)
file(WRITE "${WORKDIR}/actual.txt" "${output}")
file(READ "${EXPECTED}" expected)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\nstderr:\n${errors}")
endif()
if(NOT output STREQUAL expected)
  execute_process(COMMAND diff -u "${EXPECTED}" "${WORKDIR}/actual.txt" OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "transcript differs from ${EXPECTED}:\n${difference}\nstderr:\n${errors}")
endif()
