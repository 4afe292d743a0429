# Runs one scenario (see CMakeLists.txt): cmake -DVELVOX=... -DSCRIPT=... [-DSCRIPT2=...]
# [-DSEED=...] [-DDEFAULT_SEED=...] -DEXPECTED=... -DMEDIA=... -DHOME=... -DHOLD_LOCK=ON|OFF -P run_scenario.cmake
# The home folder is emptied first; the run's output stays in it (stdout.txt, stderr.txt).
# VELVOX_HOME and VELVOX_MEDIA name the two folders in the script; in the output compared with
# <name>.out they are written as $VELVOX_HOME and $VELVOX_MEDIA, so the file does not depend on
# where the build tree is. A SEED file (else DEFAULT_SEED) becomes the settings file before the
# first run (the two names replaced the same way); an empty one is written as an empty file; when SCRIPT2 exists it runs next on the same home folder, its
# output after a line "--- restart".
file(REMOVE_RECURSE "${HOME}")
file(MAKE_DIRECTORY "${HOME}")
if(NOT (SEED AND EXISTS "${SEED}"))
  set(SEED "${DEFAULT_SEED}")
endif()
if(SEED AND EXISTS "${SEED}")
  file(READ "${SEED}" seed)
  string(REPLACE "$VELVOX_HOME" "${HOME}" seed "${seed}")
  string(REPLACE "$VELVOX_MEDIA" "${MEDIA}" seed "${seed}")
  file(WRITE "${HOME}/velvoxp.ini" "${seed}")
endif()

function(run_once script out_var err_var)
  set(command "${VELVOX}" --headless --home "${HOME}" --script "${script}")
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
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${script}: exit status ${status}\n${err}\n--- output:\n${out}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${err_var} "${err}" PARENT_SCOPE)
endfunction()

run_once("${SCRIPT}" out err)
if(SCRIPT2 AND EXISTS "${SCRIPT2}")
  run_once("${SCRIPT2}" out2 err2)
  string(APPEND out "--- restart\n${out2}")
  string(APPEND err "${err2}")
endif()
file(WRITE "${HOME}/stdout.txt" "${out}")
file(WRITE "${HOME}/stderr.txt" "${err}")

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
