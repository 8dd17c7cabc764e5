# cmake -DSOURCE=<tree> -DGCC=<gcc> -DGXX=<g++> -DMINGW_GCC=<..> -DMINGW_GXX=<..> -P header_modes.cmake
#
# include/mdnsrv.h and sim/include/sim_driver.h are built by gauge authors with whatever
# compiler they have: C89 and C++98 with -pedantic-errors, today's C and C++, mingw, and
# Visual C++ before 2010 (no <stdint.h>, no static_assert). Each mode compiles both headers
# (must succeed), then again with one wrong layout check (must fail), so the checks are in
# force in every mode. The old Visual C++ mode is imitated with gcc: _MSC_VER set, a
# <stdint.h> that refuses to be included, and the compiler's keywords spelled out.
set(strict -pedantic-errors -Wall -Wextra -Werror -fsyntax-only)
set(old_msvc -I${CMAKE_CURRENT_LIST_DIR}/old_msvc -D_MSC_VER=1200 -D__int8=char -D__int16=short
    -D__int32=int "-D__stdcall=__attribute__((stdcall))" "-D__declspec(x)="
    -D_vsnprintf=__builtin_vsnprintf)
set(failed 0)
function(mode name)
  set(command ${ARGN} ${strict} -I${SOURCE}/include -I${SOURCE}/sim/include
      ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/both_headers.c)
  execute_process(COMMAND ${command} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0)
    message("FAIL ${name}: the headers do not compile:\n${out}${err}")
    math(EXPR failed "${failed} + 1")
    set(failed ${failed} PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND ${command} -DBREAK_LAYOUT RESULT_VARIABLE rc ERROR_VARIABLE err
                  OUTPUT_VARIABLE out)
  if(rc EQUAL 0 OR NOT err MATCHES "negative|static assert|static_assert")
    message("FAIL ${name}: a wrong layout check went unnoticed (${rc}):\n${err}")
    math(EXPR failed "${failed} + 1")
    set(failed ${failed} PARENT_SCOPE)
    return()
  endif()
  message("ok   ${name}")
endfunction()

mode("C89" ${GCC} -m32 -x c -std=c89)
mode("C++98" ${GXX} -m32 -x c++ -std=c++98)
mode("C17" ${GCC} -m32 -x c -std=c17)
mode("C++20" ${GXX} -m32 -x c++ -std=c++20)
mode("mingw C89" ${MINGW_GCC} -x c -std=c89)
mode("mingw C17" ${MINGW_GCC} -x c -std=c17)
mode("mingw C++98" ${MINGW_GXX} -x c++ -std=c++98)
mode("mingw C++17" ${MINGW_GXX} -x c++ -std=c++17)
mode("old Visual C" ${GCC} -m32 -x c -std=c89 ${old_msvc})
mode("old Visual C++" ${GXX} -m32 -x c++ -std=c++98 ${old_msvc})
mode("own check macro, C89" ${GCC} -m32 -x c -std=c89 -DUSER_ASSERT)
mode("own check macro, C++20" ${GXX} -m32 -x c++ -std=c++20 -DUSER_ASSERT)
if(failed)
  message(FATAL_ERROR "${failed} header mode(s) failed")
endif()
