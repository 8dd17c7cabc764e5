/* Visual C++ before 2010 has no <stdint.h>: the old-compiler mode finds this one first. */
#error "<stdint.h> is not available to this compiler"
