# Warnings are errors on both toolchains. Texts are cut to their buffers on purpose, so
# snprintf truncation is not a warning (a GCC option; clang, which builds the fuzz targets,
# rejects it); GCC's uninitialised-use analysis gives false reports under the sanitizers'
# instrumentation.
function(mdn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wshadow -Wno-cast-function-type
                                           $<$<CXX_COMPILER_ID:GNU>:-Wno-format-truncation>
                                           $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
  if(MDN_SANITIZE)
    target_compile_options(${target} PRIVATE -Wno-maybe-uninitialized)
  endif()
endfunction()
