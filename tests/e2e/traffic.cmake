# AI traffic: the gauge reads the stand-in TrafficInfo.DLL's aircraft through slot 23. The
# traffic_modes run uses a simulator folder of its own whose settings file binds the module's
# commands, so the dump command can be given by its key.
set(MDN_E2E_TRAFFIC_FOLDER ${CMAKE_CURRENT_BINARY_DIR}/traffic_folder)
file(COPY ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI
     DESTINATION ${MDN_E2E_TRAFFIC_FOLDER}/Meridane/Common/Settings)
file(WRITE ${MDN_E2E_TRAFFIC_FOLDER}/fs9.exe "MZ")  # what the module's folder check looks for

mdn_e2e_gauge(NAME traffic_modes GAUGE traffic ARGS --exe-path ${MDN_E2E_TRAFFIC_FOLDER})
mdn_e2e_gauge(NAME traffic_missing_module GAUGE traffic
  ARGS --without TrafficInfo.DLL --set traffic=missing)
# The same with the main thread in single precision, as Direct3D 9 leaves it: the same values.
mdn_e2e_gauge(NAME traffic_modes_fpu_single GAUGE traffic
  ARGS --exe-path ${MDN_E2E_TRAFFIC_FOLDER} --fpu-single)
