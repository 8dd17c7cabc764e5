# A unit-test process removes its fake file-system folder when it ends, and removes the
# folder that a process which died earlier left behind.
#   cmake -DPROGRAM=<unit-test program> -DWORK=<scratch folder> -P check-temp-folder.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
# The id of a process that has ended, and a folder of its, last touched an hour ago.
execute_process(COMMAND sh -c "echo $$" OUTPUT_VARIABLE dead OUTPUT_STRIP_TRAILING_WHITESPACE)
set(orphan "${WORK}/mdnsrv-fake.${dead}.orphan")
file(MAKE_DIRECTORY "${orphan}/C/Meridane")
execute_process(COMMAND touch -d "1 hour ago" "${orphan}")

set(ENV{TMPDIR} "${WORK}")
execute_process(COMMAND "${PROGRAM}" --gtest_filter=OwnCommands.KeyDump* RESULT_VARIABLE rc
                OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed: ${rc}")
endif()
file(GLOB left RELATIVE "${WORK}" "${WORK}/*")
if(left)
  message(FATAL_ERROR "left below ${WORK}: ${left}")
endif()
file(REMOVE_RECURSE "${WORK}")
