# The floors' include paths stop an include that runs upward by name; this stops the one way
# around them, a path relative to the including file. Run: cmake -DSRC=<src> -P check-floors.cmake
file(GLOB_RECURSE sources ${SRC}/*.cpp ${SRC}/*.h)
set(found "")
foreach(source ${sources})
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]\\.\\./")
  if(lines)
    list(APPEND found "${source}: ${lines}")
  endif()
endforeach()
if(found)
  string(REPLACE ";" "\n" found "${found}")
  message(FATAL_ERROR "includes that step out of their folder:\n${found}")
endif()
