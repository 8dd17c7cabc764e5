# cmake -DPROGRAM=<exe> -P check-manifest.cmake: the program carries a manifest that asks for
# the user's own rights and names Windows Vista to 11, so that Windows does not virtualise it.
file(STRINGS ${PROGRAM} manifest REGEX "requestedExecutionLevel|supportedOS")
set(failures 0)
foreach(wanted "level=\"asInvoker\""
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}" "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}" "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")
  string(FIND "${manifest}" "${wanted}" at)
  if(at EQUAL -1)
    message("FAIL ${PROGRAM}: no ${wanted} in its manifest")
    math(EXPR failures "${failures} + 1")
  else()
    message("ok   ${wanted}")
  endif()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} missing")
endif()
