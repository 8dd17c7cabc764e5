# ---- the diagnostic log: what a run with it on writes, and that a run with it off writes nothing
# Each run gets a simulator folder of its own, so its settings file and log are its own.
#   mdn_e2e_log(NAME <name> SETTINGS <ini> [EXPECT <text>...] [ABSENT] [ARGS ...])
function(mdn_e2e_log)
  cmake_parse_arguments(T "ABSENT" "NAME;SETTINGS" "EXPECT;ARGS" ${ARGN})
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_folder)
  file(MAKE_DIRECTORY ${folder})
  file(TOUCH ${folder}/fs9.exe)
  configure_file(${T_SETTINGS} ${folder}/Meridane/Common/Settings/MDNSERVICES.INI COPYONLY)
  string(REPLACE "/" "\\" windows_folder "Z:${folder}")
  set(checks)
  if(T_ABSENT)
    list(APPEND checks --absent)
  endif()
  foreach(text ${T_EXPECT})
    list(APPEND checks --expect ${text})
  endforeach()
  add_test(NAME e2e.${T_NAME}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-log local ${checks} --
            --exe-path ${folder} --set folder=${windows_folder} ${T_ARGS})
  mdn_e2e_register(${T_NAME} 90 "")
endfunction()

mdn_e2e_log(NAME diagnostic_log_on SETTINGS ${CMAKE_CURRENT_SOURCE_DIR}/diagnostics_on.ini
  ARGS --scenario idle --seconds 5
  EXPECT "log opened at level 1 in \"C:\\\\users\\\\"
         "\\\\AppData\\\\Local\\\\Meridane\\\\MdnSrv.log\""
         "attach: simulator folder \"Z:"
         ", from the registry value \"EXE Path\""
         "attach: simulator version \"9.01.040901.01\" read from PANELS.DLL: accepted"
         "attach: simulator window FS98MAIN 0x"
         "attach: air-data block created"
         "attach: call-window-procedure hook installed"
         "attach: get-message hook installed"
         "settings: MDN_NAV_DEVICE_CYCLE = \"INVALID\" (absent or INVALID): no key"
         "settings: MDN_DUMP_KEYS = \"CTRL+ALT+F11\" bound"
         "settings: MDN_ADC_START = \"CTRL+NOSUCHKEY\" not understood by the key grammar"
         "start-up done; link timer armed, every 2000 ms"
         "link: panels hook installed"
         "worker MDNFSApMgr started"
         "worker MDNFSGpsInfoMgr started"
         "detach: shutting down"
         "worker MDNFSGpsInfoMgr stopped: it left its loop when asked"
         "worker MDNFSApMgr stopped: it left its loop when asked"
         "detach: done; hooks removed")
# The sample settings file leaves the log off.
mdn_e2e_log(NAME diagnostic_log_off SETTINGS ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI
  ABSENT ARGS --scenario idle --seconds 3)

# --trace (in a simulator folder of its own, whose settings file it writes): fs9.exe prints the module's own line for one refused call of each family, and for
# a call that answered as if it succeeded yet did nothing.
set(MDN_E2E_TRACE_FOLDER ${CMAKE_CURRENT_BINARY_DIR}/trace_folder)
file(MAKE_DIRECTORY ${MDN_E2E_TRACE_FOLDER})
file(TOUCH ${MDN_E2E_TRACE_FOLDER}/fs9.exe)
mdn_e2e_gauge(NAME trace_refusals GAUGE trace ARGS --trace --exe-path ${MDN_E2E_TRACE_FOLDER}
  PASS_REGEX "trace: log opened at level 2.*trace: call AddKeyCommand\\(0x[0-9A-F]+, \"TRACE_CMD\", 0x2, 112\\) = 0x0: client enabled.*trace: call RegisterNavDevice\\(0x[0-9A-F]+, \"Trace GPS\", \"OTHER\"\\) = 0x[0-9A-F]+: did nothing: the long name is taken by device 0x[0-9A-F]+ \"Trace GPS\".*trace: call UnregisterNavDevice\\(0x1234\\) = 0x0: unknown device handle.*trace: call RegisterRangeHandler\\(0x[0-9A-F]+, 0x64, 0xC8\\) = 0x[0-9A-F]+: registered, but tokens 100 to 200 are never offered.*trace: call ServiceQuery\\(4242, 0x[0-9A-F]+\\) = 0x0: unknown query id.*trace: call GetTrafficList\\(0x00000000\\) = 0x0: no buffer.*trace: call AcquireWorkBuffer\\(0x40, 0x3\\) = 0x00000000: no block of 64 bytes aligned to 3.* 0 failed")
