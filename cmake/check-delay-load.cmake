# Fails the build, and removes the program, unless its link map shows USER32's delay-load helper
# taken from app/delayload.cpp: the runtime library's writes the resolved addresses straight into
# the delay-load table, which binutils 2.44 on links read-only (.idata), and the program would
# crash at its first window. Run after the link as
#   cmake -DMAP=<link map> -DPROGRAM=<program> -P check-delay-load.cmake
file(READ ${MAP} map)
if(NOT map MATCHES "delayload\\.cpp\\.obj\\)?\n[ \t]+0x[0-9a-f]+[ \t]+_+delayLoadHelper2")
  file(REMOVE ${PROGRAM})
  message(FATAL_ERROR "${PROGRAM}: USER32's delay-load helper is not the program's own "
    "(app/delayload.cpp) but the runtime library's (${MAP}), which writes into the import table "
    "that binutils 2.44 and later link read-only: the first window would crash")
endif()
