# One floor's includes against the floors it may see: its own and those it links, directly or
# through another. Without this, an include of a floor it does not link stops the build with
# a bare "No such file or directory".
# Run: cmake -DFLOOR=<name> -DSEES=<floors> -DFLOORS=<all floors> -DSOURCES=<files> -P ...
cmake_policy(SET CMP0057 NEW)
set(found "")
foreach(source ${SOURCES})
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z0-9_]+/")
  foreach(line ${lines})
    string(REGEX REPLACE "^[^\"]*\"([a-z0-9_]+)/.*$" "\\1" included "${line}")
    if(included IN_LIST FLOORS AND NOT included IN_LIST SEES)
      file(RELATIVE_PATH shown ${CMAKE_CURRENT_LIST_DIR}/.. ${source})
      string(STRIP "${line}" line)
      list(APPEND found "  ${shown}: ${line}: floor ${FLOOR} may not include floor ${included}")
    endif()
  endforeach()
endforeach()
if(found)
  string(REPLACE ";" " " sees "${SEES}")
  string(REPLACE ";" "\n" found "${found}")
  message(FATAL_ERROR "an include runs past the floors ${FLOOR} links:\n${found}\n"
    "Floor ${FLOOR} sees only: ${sees}. Each floor names what it links in src/CMakeLists.txt "
    "(mdn_floor ... LINKS); README.md shows the floors. Move the code down to a floor both see, "
    "or link the floor if it lies below.")
endif()
