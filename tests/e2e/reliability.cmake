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
