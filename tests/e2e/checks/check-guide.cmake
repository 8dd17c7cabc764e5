# cmake -DGUIDE=<md> -DEXAMPLE=<cpp> -P check-guide.cmake: the guide shows the example gauge as
# it is built, word for word.
file(READ ${GUIDE} guide)
file(READ ${EXAMPLE} example)
string(FIND "${guide}" "${example}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "FAIL ${GUIDE} does not hold ${EXAMPLE} as it is: copy it into the guide")
endif()
message("ok   the guide holds the example gauge")
