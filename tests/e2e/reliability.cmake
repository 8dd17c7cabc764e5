# ---- reliability: soak and load runs, faults of the surroundings ----
# Each run is bounded: the soak gauges finish in well under a minute each.

# mdn_e2e_folder(<var> <name> [SETTINGS <file> | SETTINGS_DIRECTORY])
# A simulator folder of a test's own (the module only checks that fs9.exe is there), with the
# given settings file, a directory in the settings file's place, or none. Sets <var> to the
# folder and <var>_WINDOWS to its Wine path.
function(mdn_e2e_folder var name)
  cmake_parse_arguments(F "SETTINGS_DIRECTORY" "SETTINGS" "" ${ARGN})
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/folders/${name})
  set(settings ${folder}/Meridane/Common/Settings/MDNSERVICES.INI)
  file(MAKE_DIRECTORY ${folder})
  file(TOUCH ${folder}/fs9.exe)
  if(F_SETTINGS)
    configure_file(${F_SETTINGS} ${settings} COPYONLY)
  elseif(F_SETTINGS_DIRECTORY)
    file(MAKE_DIRECTORY ${settings})
  endif()
  string(REPLACE "/" "\\" windows "Z:${folder}")
  set(${var} ${folder} PARENT_SCOPE)
  set(${var}_WINDOWS ${windows} PARENT_SCOPE)
endfunction()

# Every own command bound, as the shipped sample settings file binds them.
mdn_e2e_folder(MDN_E2E_BOUND bound SETTINGS ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI)

mdn_e2e_gauge(NAME soak_load
  ARGS --no-module --exe-path ${MDN_E2E_BOUND} --timeout 100
  TIMEOUT 110)
mdn_e2e_gauge(NAME soak_keys ARGS --timeout 80 TIMEOUT 90)
mdn_e2e_gauge(NAME soak_lookups ARGS --timeout 80 TIMEOUT 90)

# The air-data block read from a second process while the worker runs and at unload.
add_executable(e2e_soak_airdata_reader soak_airdata_reader.cpp)
set_target_properties(e2e_soak_airdata_reader PROPERTIES OUTPUT_NAME soak_airdata_reader
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/programs)
target_link_libraries(e2e_soak_airdata_reader PRIVATE mdn_sim_common)
mdn_sim_static_runtime(e2e_soak_airdata_reader)
mdn_warnings(e2e_soak_airdata_reader)
# Its gauge, built as mdn_e2e_gauge builds one, runs under the wrapper instead.
add_library(e2e_soak_airdata_gauge SHARED soak_airdata_gauge.cpp)
set_target_properties(e2e_soak_airdata_gauge PROPERTIES PREFIX "" OUTPUT_NAME soak_airdata_gauge
  RUNTIME_OUTPUT_DIRECTORY ${MDN_E2E_GAUGES}
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/e2e_soak_airdata_gauge)
target_link_libraries(e2e_soak_airdata_gauge PRIVATE mdn_sim_common)
target_link_options(e2e_soak_airdata_gauge PRIVATE -Wl,--kill-at)
mdn_sim_static_runtime(e2e_soak_airdata_gauge)
mdn_warnings(e2e_soak_airdata_gauge)
add_test(NAME e2e.soak_airdata
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run-beside-reader $<TARGET_FILE:e2e_soak_airdata_reader>
          --gauge $<TARGET_FILE:e2e_soak_airdata_gauge> --exe-path ${MDN_E2E_BOUND})
mdn_e2e_register(soak_airdata 90 "")
