# ---- mdn-doctor on a user's installation: a good one and one broken in each way ----
# Each case: name, run-doctor options (commas between them), the output it must show.
set(MDN_DOCTOR_CASES
  "good_installation||ok      processor: has the conditional moves the module needs.*simulator version 9.01.040901.01.*runs on it.*ok      MDN_DUMP_KEYS = CTRL\\+SHIFT\\+F12.*log: off.*log file: the module writes it to C:.users..*.AppData.Local.Meridane.MdnSrv.log.*Nothing is wrong.*exit code 0"
  "redirected_log|--redirected-log|log file C:.users..*.AppData.Local.VirtualStore..*.Meridane.Common.Settings.MdnSrv.log, 12 bytes.*Windows redirected it there.*exit code 0"
  "no_registry_value|--no-exe-path|PROBLEM simulator folder: the registry value \"EXE Path\".* is missing.*exit code 1"
  "wrong_version|--no-panels|PROBLEM simulator version 9.00.000000.00 .*fs9.exe.*does not run on it.*exit code 1"
  "no_settings_file|--no-settings|PROBLEM settings file .*MDNSERVICES.INI is missing.*exit code 1"
  "unreadable_binding|--key,MDN_ADC_START=CTRL+ESCAPE|PROBLEM MDN_ADC_START = \"CTRL\\+ESCAPE\": not understood.*exit code 1"
  "key_bound_twice|--key,MDN_DUMP_KEYS=shift ctrl f9|MDN_DUMP_KEYS = CTRL\\+SHIFT\\+F9 \\(written \"shift ctrl f9\"\\).*PROBLEM CTRL\\+SHIFT\\+F9 is bound to both MDN_NAV_DEVICE_CYCLE and MDN_DUMP_KEYS.*exit code 1"
  "registry_value_missing_inside|--no-exe-path,--inside|PROBLEM simulator folder: the registry value \"EXE Path\".* is missing.*note    the checks below are made in [A-Z]:.*registry_value_missing_inside, the simulator folder mdn-doctor lies in.*ok      simulator version 9.01.040901.01.*ok      settings file [^\n]*registry_value_missing_inside.Meridane.Common.Settings.MDNSERVICES.INI.*exit code 1"
  "settings_mistakes|--trailing-separator,--key,MDN_LOG=5,--key,MDN_ADC_START=CTRL+A+B,--twice,MDN_DUMP_KEYS=CTRL+F1|ok      simulator folder [A-Z]:[^\n]*settings_mistakes \\(registry.*module [^\n]*settings_mistakes.Modules.MdnSrv.dll.*PROBLEM MDN_ADC_START = \"CTRL\\+A\\+B\": names 2 keys, and the module binds only the last: CTRL\\+B.*PROBLEM MDN_DUMP_KEYS is listed 2 times in section \\[keyboard\\]: the module reads line [0-9]+, the first.*note    log: on at level 2 \\(MDN_LOG=5: there is no level above 2.*exit code 1")
foreach(case ${MDN_DOCTOR_CASES})
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 options)
  list(GET fields 2 expected)
  string(REPLACE "," ";" options "${options}")
  add_test(NAME e2e.doctor_${name}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run-doctor $<TARGET_FILE:mdn-doctor> ${PROJECT_BINARY_DIR}/bin
            ${CMAKE_CURRENT_BINARY_DIR}/doctor/${name} ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI
            ${options})
  mdn_e2e_register(doctor_${name} 60 "${expected}")
endforeach()
