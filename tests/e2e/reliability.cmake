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

# ---- faults: the module keeps running, shows only the boxes the case calls for, and the
# other subsystems keep working (fault_gauge.cpp says what each setting expects) ----
mdn_e2e_folder(MDN_E2E_NO_SETTINGS no_settings)
mdn_e2e_folder(MDN_E2E_SETTINGS_DIRECTORY settings_directory SETTINGS_DIRECTORY)
mdn_e2e_folder(MDN_E2E_KEYS_DUMP_BLOCKED keys_dump_blocked
  SETTINGS ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI)
file(MAKE_DIRECTORY ${MDN_E2E_KEYS_DUMP_BLOCKED}/MDNSERVICES_KeysDump.txt)

set(MDN_E2E_FAULT_SOURCES fault_gauge.cpp fault_setup.cpp)
set(MDN_E2E_IN_BOUND --exe-path ${MDN_E2E_BOUND} --set folder=${MDN_E2E_BOUND_WINDOWS})
set(MDN_E2E_NO_TRAFFIC_BOX --set boxes=1
  --set "box1=Meridane Traffic: Unable to find registered callback")
set(MDN_E2E_NO_INTERFACE_BOX --set boxes=1
  --set "box1=Meridane Traffic: Unable to query interface ITrafficInfo")
function(mdn_e2e_fault name)
  mdn_e2e_gauge(NAME fault_${name} GAUGE fault SOURCES ${MDN_E2E_FAULT_SOURCES}
    LIBRARIES advapi32 ARGS ${ARGN} TIMEOUT 60)
endfunction()

# Each stand-in module missing in turn.
mdn_e2e_fault(without_panels --without PANELS.DLL ${MDN_E2E_IN_BOUND} --set inert=1 --set bound=0
  --set autopilot=0 --set traffic=0 --set boxes=2
  "--set" "box1=running on the wrong Flight Simulator version (9.00.000000.00)"
  "--set" "box2=Meridane Traffic: Unable to find registered callback")
mdn_e2e_fault(without_global --without GLOBAL.DLL ${MDN_E2E_IN_BOUND} --set linked=0
  --set autopilot=0)
mdn_e2e_fault(without_flight --without flight.dll ${MDN_E2E_IN_BOUND} --set autopilot=0)
mdn_e2e_fault(without_traffic --without TrafficInfo.DLL ${MDN_E2E_IN_BOUND} --set traffic=0
  ${MDN_E2E_NO_TRAFFIC_BOX})
mdn_e2e_fault(without_geo --without SIMGEO.DLL ${MDN_E2E_IN_BOUND} --set position=0)
mdn_e2e_fault(without_core --without SIMCORE.DLL ${MDN_E2E_IN_BOUND})
mdn_e2e_fault(without_mixer --without SIMMIX.DLL ${MDN_E2E_IN_BOUND} --set gain=0)
mdn_e2e_fault(without_terrain --without SIMTERRAIN.DLL ${MDN_E2E_IN_BOUND} --set elevation=0)

# Present without the export the module looks for.
mdn_e2e_fault(panels_without_export --hide-export PANELS.DLL:Linkage ${MDN_E2E_IN_BOUND}
  --set linked=0 --set autopilot=0 --set traffic=0 --set airdata=0 ${MDN_E2E_NO_TRAFFIC_BOX})
mdn_e2e_fault(global_without_export --hide-export GLOBAL.DLL:Linkage ${MDN_E2E_IN_BOUND}
  --set linked=0 --set autopilot=0)
mdn_e2e_fault(flight_without_export --hide-export flight.dll:Linkage ${MDN_E2E_IN_BOUND}
  --set autopilot=0)
mdn_e2e_fault(traffic_without_object ${MDN_E2E_IN_BOUND} --set traffic_object=none
  --set traffic=0 ${MDN_E2E_NO_TRAFFIC_BOX})
mdn_e2e_fault(internals_without_export ${MDN_E2E_IN_BOUND}
  --hide-export SIMGEO.DLL:InternalsRecord --hide-export SIMCORE.DLL:InternalsRecord
  --hide-export SIMMIX.DLL:InternalsRecord --hide-export SIMTERRAIN.DLL:InternalsRecord
  --set position=0 --set elevation=0 --set gain=0)

# An entry holding a value that is no code (or, for the gain object, no readable record).
mdn_e2e_fault(panels_lookup_not_code --poke PANELS.DLL:Linkage:40=data ${MDN_E2E_IN_BOUND}
  --set linked=0 --set autopilot=0 --set skip=simulator_lookup)
mdn_e2e_fault(flight_model_not_code --poke flight.dll:Linkage:23=data ${MDN_E2E_IN_BOUND}
  --set autopilot=0)
mdn_e2e_fault(position_angle_not_code --poke SIMGEO.DLL:InternalsRecord:6=data
  ${MDN_E2E_IN_BOUND} --set position=0)
mdn_e2e_fault(gain_object_not_a_record --poke SIMMIX.DLL:InternalsRecord:312=data
  ${MDN_E2E_IN_BOUND} --set gain=0)
mdn_e2e_fault(elevation_not_code --poke SIMTERRAIN.DLL:InternalsRecord:12=data
  ${MDN_E2E_IN_BOUND} --set elevation=0)
mdn_e2e_fault(traffic_query_not_code ${MDN_E2E_IN_BOUND} --set traffic_object=no_query
  --set traffic=0 ${MDN_E2E_NO_INTERFACE_BOX})
mdn_e2e_fault(traffic_interface_not_code ${MDN_E2E_IN_BOUND} --set traffic_object=bad_table
  --set traffic=0 ${MDN_E2E_NO_INTERFACE_BOX})

# The settings file missing, a directory, or unreadable (held open by another program).
mdn_e2e_fault(settings_missing --exe-path ${MDN_E2E_NO_SETTINGS} --set bound=0)
mdn_e2e_fault(settings_directory --exe-path ${MDN_E2E_SETTINGS_DIRECTORY} --set bound=0)
mdn_e2e_fault(settings_unreadable --no-module ${MDN_E2E_IN_BOUND} --set load=self
  --set lock_settings=1 --set bound=0)

# The dumps cannot be written: the keys dump's name taken by a folder in the simulator
# folder, the traffic dump on drive C held open by another program.
mdn_e2e_fault(keys_dump_not_writable --exe-path ${MDN_E2E_KEYS_DUMP_BLOCKED}
  --set folder=${MDN_E2E_KEYS_DUMP_BLOCKED_WINDOWS} --set keysdump=0)
mdn_e2e_fault(traffic_dump_not_writable ${MDN_E2E_IN_BOUND} --set lock_traffic_dump=1
  --set trafficdump=0)

# The shared-memory name already taken: by a smaller region, a larger one, another object.
mdn_e2e_fault(airdata_name_taken_smaller --no-module ${MDN_E2E_IN_BOUND} --set load=self
  --set region=small)
mdn_e2e_fault(airdata_name_taken_larger --no-module ${MDN_E2E_IN_BOUND} --set load=self
  --set region=large)
mdn_e2e_fault(airdata_name_taken_by_a_mutex --no-module ${MDN_E2E_IN_BOUND} --set load=self
  --set region=mutex --set airdata=0)

# The registry key refuses the module's all-access open: the location prompt (answered No),
# then a module without its folder, so without its settings.
mdn_e2e_fault(registry_key_closed --no-module ${MDN_E2E_IN_BOUND} --set load=self
  --set registry=closed --set bound=0 --set boxes=1
  "--set" "box1=The system failed to locate Flight Simulator")

# The workers on 15.625 ms timer ticks, with lookups that hold the panel system's lock.
mdn_e2e_gauge(NAME workers ARGS --no-module --exe-path ${MDN_E2E_BOUND} --timeout 60 TIMEOUT 70)

# The process ends by ExitProcess with the module linked, its workers running, while another
# thread holds the process heap's lock: the module's detach takes no lock, the process ends.
mdn_e2e_test(NAME exit_with_heap_locked
  ARGS --exe-path ${MDN_E2E_BOUND} --seconds 3 --exit-heap-locked TIMEOUT 30)

# How long the module's attach holds the loader lock: on the normal path (folder in the
# registry, version accepted) and on the prompt path (no folder in the registry). On the prompt
# path each prompt (Yes, the browser cancelled, then No) checks that the lock is not held while
# it shows and that a thread started from inside it runs; the browser does too when the
# stand-in's hook sees it on the main thread.
mdn_e2e_test(NAME loader_lock_normal_path ARGS --seconds 1 --heartbeat 250 TIMEOUT 30)
mdn_e2e_test(NAME loader_lock_prompt_path
  ARGS --no-exe-path --seconds 4 --heartbeat 250 --answer yes --answer cancel --answer no
  TIMEOUT 40
  PASS_REGEX "loader lock while the box \"Meridane: Error\" shows: not held, and a thread started from it ran.*loader lock while the box \"Meridane: Error\" shows: not held, and a thread started from it ran.*, 0 failed")
