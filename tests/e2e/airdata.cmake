# ---- the air-data computer and its block, read by adc-monitor from a second process ----
# A simulator folder of these tests' own (only fs9.exe's presence is checked there), whose
# settings file binds MDN_ADC_START to CTRL+SHIFT+F8.
set(MDN_AIRDATA_SIM ${CMAKE_CURRENT_BINARY_DIR}/airdata-sim)
file(WRITE ${MDN_AIRDATA_SIM}/fs9.exe "")
file(WRITE ${MDN_AIRDATA_SIM}/Meridane/Common/Settings/MDNSERVICES.INI
     "[keyboard]\nMDN_ADC_START=CTRL+SHIFT+F8\n")
set(MDN_AIRDATA_ARGS --exe-path ${MDN_AIRDATA_SIM} --set "monitor=$<TARGET_FILE:adc-monitor>")

mdn_e2e_gauge(NAME airdata ARGS ${MDN_AIRDATA_ARGS} --set "doctor=$<TARGET_FILE:mdn-doctor>")

# A reader process makes the region first and checks what the module wrote into it.
add_executable(e2e_airdata_reader airdata_reader.cpp)
set_target_properties(e2e_airdata_reader PROPERTIES OUTPUT_NAME airdata_reader
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/programs)
target_link_libraries(e2e_airdata_reader PRIVATE mdn_sim_common)
mdn_sim_static_runtime(e2e_airdata_reader)
mdn_warnings(e2e_airdata_reader)
add_test(NAME e2e.airdata_reader_first
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run-reader-first $<TARGET_FILE:e2e_airdata_reader>
          ${CMAKE_CURRENT_BINARY_DIR}/airdata-reader-ready
          --gauge $<TARGET_FILE:e2e_airdata_gauge> ${MDN_AIRDATA_ARGS} --set reader_first=1)
mdn_e2e_register(airdata_reader_first 120 "")

# Without a simulator the monitor says so and exits with 2.
add_test(NAME e2e.adc_monitor_without_block
  COMMAND sh -c "\"$0\" \"$1\" --once; rc=$?; echo \"exit code $rc\"; test $rc -eq 2"
          ${MDN_E2E_RUN_WINE} $<TARGET_FILE:adc-monitor>)
mdn_e2e_register(adc_monitor_without_block 60 "")
set_tests_properties(e2e.adc_monitor_without_block PROPERTIES
  PASS_REGULAR_EXPRESSION "does not exist.*not running.*exit code 2")
