# ---- the network bridge against a real broker: publish beside the block, mirror in a second
# Wine prefix (another PC), commands back, and the faults a cockpit meets ----
# scripts/test starts the broker and passes its folder in MDN_BROKER_DIR; run-bridge starts a
# broker of its own for the cases that stop or kill it.
add_executable(e2e_bridge_block bridge_block.cpp)
set_target_properties(e2e_bridge_block PROPERTIES OUTPUT_NAME bridge_block
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/programs)
target_link_libraries(e2e_bridge_block PRIVATE mdn_sim_common)
mdn_sim_static_runtime(e2e_bridge_block)
mdn_warnings(e2e_bridge_block)

set(MDN_BRIDGE_WORK ${CMAKE_CURRENT_BINARY_DIR}/bridge)
set(MDN_BRIDGE_SIM ${MDN_BRIDGE_WORK}/sim)
file(WRITE ${MDN_BRIDGE_SIM}/fs9.exe "")
file(WRITE ${MDN_BRIDGE_SIM}/Meridane/Common/Settings/MDNSERVICES.INI
     "[keyboard]\nMDN_ADC_START=CTRL+SHIFT+F8\n")
function(mdn_bridge_test name timeout)
  add_test(NAME e2e.bridge_${name}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run-bridge ${name} ${MDN_BRIDGE_WORK}/${name}
            $<TARGET_FILE:mdn-bridge> $<TARGET_FILE:e2e_bridge_block>
            $<TARGET_FILE:adc-monitor> ${MDN_BRIDGE_SIM})
  mdn_e2e_register(bridge_${name} ${timeout} "")
  set_tests_properties(e2e.bridge_${name} PROPERTIES RESOURCE_LOCK broker)
endfunction()
mdn_bridge_test(mirror_same_values 180)
mdn_bridge_test(commands 180)
mdn_bridge_test(faults 180)

# mdn-doctor judges the bridge's settings file beside it with the bridge's own parser.
add_test(NAME e2e.doctor_bridge_settings
  COMMAND sh -c "rm -rf \"$2\" && mkdir -p \"$2\" && cp \"$1\" \"$2/\" &&
    printf '[broker]\\nport=99999\\n[bridge]\\nstation=my cockpit\\nsation=x\\n' >\"$2/mdn-bridge.ini\" &&
    exec \"$0\" \"$2/mdn-doctor.exe\" \"$3\" \"$2/sim\" \"$4\""
    ${CMAKE_CURRENT_SOURCE_DIR}/run-doctor $<TARGET_FILE:mdn-doctor>
    ${MDN_BRIDGE_WORK}/doctor ${PROJECT_BINARY_DIR}/bin ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI)
mdn_e2e_register(doctor_bridge_settings 60
  "note +.*mdn-bridge.ini: line 5: \\[bridge\\] sation is not a setting.*PROBLEM .*mdn-bridge.ini: line 2: \\[broker\\] port = \"99999\": not a port number.*PROBLEM .*line 4: \\[bridge\\] station = \"my cockpit\".*exit code 1")
