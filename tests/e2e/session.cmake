# ---- a whole session: the sample settings file, menus, own commands ----
set(MDN_E2E_SESSION_FOLDER ${CMAKE_CURRENT_BINARY_DIR}/session_folder)
file(COPY ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI
     DESTINATION ${MDN_E2E_SESSION_FOLDER}/Meridane/Common/Settings)
file(WRITE ${MDN_E2E_SESSION_FOLDER}/fs9.exe "MZ")
string(REPLACE "/" "\\" MDN_E2E_SESSION_WINDOWS_FOLDER "Z:${MDN_E2E_SESSION_FOLDER}")
mdn_e2e_gauge(NAME session
  ARGS --exe-path ${MDN_E2E_SESSION_FOLDER} --set folder=${MDN_E2E_SESSION_WINDOWS_FOLDER})
# The same with the main thread in single precision, as Direct3D 9 leaves it.
mdn_e2e_gauge(NAME session_fpu_single GAUGE session
  ARGS --exe-path ${MDN_E2E_SESSION_FOLDER} --set folder=${MDN_E2E_SESSION_WINDOWS_FOLDER}
       --fpu-single)
