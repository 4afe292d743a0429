# Runs one scenario (see CMakeLists.txt): cmake -DVELVOX=... -DSCRIPT=... -DEXPECTED=...
# -DMEDIA=... -DHOME=... -DHOLD_LOCK=ON|OFF -P run_scenario.cmake
# The home folder is emptied first; the run's output stays in it (stdout.txt, stderr.txt).
# VELVOX_HOME and VELVOX_MEDIA name the two folders in the script; in the output compared with
# <name>.out they are written as $VELVOX_HOME and $VELVOX_MEDIA, so the file does not depend on
# where the build tree is.
file(REMOVE_RECURSE "${HOME}")
file(MAKE_DIRECTORY "${HOME}")

set(command "${VELVOX}" --headless --home "${HOME}" --script "${SCRIPT}")
if(HOLD_LOCK)
  # flock(1) holds the lock file the program claims, as a running instance would.
  set(command flock "${HOME}/velvox.lock" ${command})
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "VELVOX_MEDIA=${MEDIA}" "VELVOX_HOME=${HOME}" ${command}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)
string(REPLACE "${HOME}" "$VELVOX_HOME" out "${out}")
string(REPLACE "${MEDIA}" "$VELVOX_MEDIA" out "${out}")
file(WRITE "${HOME}/stdout.txt" "${out}")
file(WRITE "${HOME}/stderr.txt" "${err}")

if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}\n${err}\n--- output:\n${out}")
endif()
if(EXISTS "${EXPECTED}")
  file(READ "${EXPECTED}" wanted)
  if(NOT out STREQUAL wanted)
    execute_process(COMMAND diff -u "${EXPECTED}" "${HOME}/stdout.txt" OUTPUT_VARIABLE difference)
    message(FATAL_ERROR "the output differs from ${EXPECTED}:\n${difference}\n${err}")
  endif()
endif()
if(NOT err STREQUAL "")
  message(STATUS "${err}")
endif()
