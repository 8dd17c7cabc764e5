# ---- keyboard: hot keys through the real input path, activation changes, the bindings dump ----
# A simulator folder of this test's own, so that its settings file binds nothing for the
# other tests: the module checks only that fs9.exe is there.
set(MDN_E2E_KEYBOARD_FOLDER ${CMAKE_CURRENT_BINARY_DIR}/keyboard_folder)
file(MAKE_DIRECTORY ${MDN_E2E_KEYBOARD_FOLDER})
file(TOUCH ${MDN_E2E_KEYBOARD_FOLDER}/fs9.exe)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/keyboard_settings.ini
  ${MDN_E2E_KEYBOARD_FOLDER}/Meridane/Common/Settings/MDNSERVICES.INI COPYONLY)
string(REPLACE "/" "\\" MDN_E2E_KEYBOARD_WINDOWS_FOLDER "Z:${MDN_E2E_KEYBOARD_FOLDER}")
mdn_e2e_gauge(NAME keyboard
  ARGS --exe-path ${MDN_E2E_KEYBOARD_FOLDER} --set folder=${MDN_E2E_KEYBOARD_WINDOWS_FOLDER})
