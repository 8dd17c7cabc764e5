# The zip a user unpacks into the simulator folder:
#   Modules/MdnSrv.dll
#   Meridane/Common/Settings/MDNSERVICES.INI   the sample settings file
#   Meridane/Tools/adc-monitor.exe              the air-data monitor
#   Meridane/Tools/mdn-doctor.exe               the installation check
#   Meridane/Tools/mdn-bridge.exe, .ini         the network bridge and its sample settings
#   Meridane/Broker/mosquitto.conf, acl.conf    a sample broker configuration for a cockpit
#   Meridane/Web/...                            the instrument page, for the broker's http_dir
#   Meridane/Docs/...                           install guide, gauge guide, network guide,
#                                               gauge header
# Built with the win32 preset's default target: build/win32/MdnSrv-<version>.zip.
set(MDN_PACKAGE_ROOT ${PROJECT_BINARY_DIR}/package)
set(MDN_PACKAGE_ZIP ${PROJECT_BINARY_DIR}/MdnSrv-${PROJECT_VERSION}.zip)

set(stage_commands
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MDN_PACKAGE_ROOT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MDN_PACKAGE_ROOT}/Modules
    ${MDN_PACKAGE_ROOT}/Meridane/Common/Settings ${MDN_PACKAGE_ROOT}/Meridane/Tools
    ${MDN_PACKAGE_ROOT}/Meridane/Docs ${MDN_PACKAGE_ROOT}/Meridane/Broker
    ${MDN_PACKAGE_ROOT}/Meridane/Web
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:MdnSrv> ${MDN_PACKAGE_ROOT}/Modules/
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/include/mdnsrv.h
    ${MDN_PACKAGE_ROOT}/Meridane/Docs/)
set(package_depends MdnSrv ${PROJECT_SOURCE_DIR}/include/mdnsrv.h)
set(package_entries Modules/MdnSrv.dll Meridane/Docs/mdnsrv.h)

if(EXISTS ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI)
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy
    ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI ${MDN_PACKAGE_ROOT}/Meridane/Common/Settings/)
  list(APPEND package_depends ${PROJECT_SOURCE_DIR}/settings/MDNSERVICES.INI)
  list(APPEND package_entries Meridane/Common/Settings/MDNSERVICES.INI)
endif()
# The bridge reads its settings from beside itself.
if(TARGET mdn-bridge AND EXISTS ${PROJECT_SOURCE_DIR}/settings/mdn-bridge.ini)
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy
    ${PROJECT_SOURCE_DIR}/settings/mdn-bridge.ini ${MDN_PACKAGE_ROOT}/Meridane/Tools/)
  list(APPEND package_depends ${PROJECT_SOURCE_DIR}/settings/mdn-bridge.ini)
  list(APPEND package_entries Meridane/Tools/mdn-bridge.ini)
endif()
foreach(sample mosquitto.conf acl.conf)
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy
    ${PROJECT_SOURCE_DIR}/settings/broker/${sample} ${MDN_PACKAGE_ROOT}/Meridane/Broker/)
  list(APPEND package_depends ${PROJECT_SOURCE_DIR}/settings/broker/${sample})
  list(APPEND package_entries Meridane/Broker/${sample})
endforeach()
list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy_directory ${MDN_WEB_DIR}
  ${MDN_PACKAGE_ROOT}/Meridane/Web)
list(APPEND package_depends mdn_web ${MDN_WEB_DIR}/index.html)
foreach(page index.html cockpit.js instruments.js mqtt.min.js mqtt.js-LICENSE.md)
  list(APPEND package_entries Meridane/Web/${page})
endforeach()
foreach(tool adc-monitor mdn-doctor mdn-bridge)
  if(TARGET ${tool})
    list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${tool}>
      ${MDN_PACKAGE_ROOT}/Meridane/Tools/)
    list(APPEND package_depends ${tool})
    list(APPEND package_entries Meridane/Tools/${tool}.exe)
  endif()
endforeach()
foreach(doc README.md docs/install.md docs/gauges.md docs/network.md docs/example_gauge.cpp)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${doc})
    list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${doc}
      ${MDN_PACKAGE_ROOT}/Meridane/Docs/)
    list(APPEND package_depends ${PROJECT_SOURCE_DIR}/${doc})
    get_filename_component(doc_name ${doc} NAME)
    list(APPEND package_entries Meridane/Docs/${doc_name})
  endif()
endforeach()

add_custom_command(OUTPUT ${MDN_PACKAGE_ZIP}
  ${stage_commands}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${MDN_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${MDN_PACKAGE_ROOT}
    ${CMAKE_COMMAND} -E tar cf ${MDN_PACKAGE_ZIP} --format=zip Modules Meridane
  DEPENDS ${package_depends}
  COMMENT "Packaging ${MDN_PACKAGE_ZIP}"
  VERBATIM)
add_custom_target(mdn_package ALL DEPENDS ${MDN_PACKAGE_ZIP})

# The zip holds the DLL and the settings file at the places the simulator reads them from.
string(REPLACE ";" "," package_entries_text "${package_entries}")
add_test(NAME package.contents
  COMMAND ${CMAKE_COMMAND} -DZIP=${MDN_PACKAGE_ZIP} -DENTRIES=${package_entries_text}
          -P ${PROJECT_SOURCE_DIR}/cmake/check-package.cmake)

# Every shipped program carries its manifest: run as the user, and the Windows versions it knows.
foreach(tool adc-monitor mdn-doctor mdn-bridge)
  if(TARGET ${tool})
    add_test(NAME package.manifest_${tool}
      COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${tool}>
              -P ${PROJECT_SOURCE_DIR}/cmake/check-manifest.cmake)
  endif()
endforeach()
