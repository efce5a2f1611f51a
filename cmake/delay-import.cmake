# Makes a delay-import library from a system DLL's ordinary import library:
# every function of the DLL, the DLL itself loaded at the first call. Run as
#   cmake -DNM=... -DDLLTOOL=... -DIMPORT_LIBRARY=... -DDLL=user32.dll
#         -DSTDCALL=ON|OFF -DOUTPUT=libuser32-delay.a -P delay-import.cmake
# STDCALL is on for 32-bit code, whose symbols carry a leading underscore.
execute_process(COMMAND ${NM} -g --defined-only ${IMPORT_LIBRARY}
  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL " T [^\n]+" functions "${symbols}")
list(REMOVE_DUPLICATES functions)
set(definition "LIBRARY ${DLL}\nEXPORTS\n")
foreach(function IN LISTS functions)
  string(SUBSTRING "${function}" 3 -1 name)
  if(STDCALL)
    string(REGEX REPLACE "^_" "" name "${name}")
  endif()
  string(APPEND definition "  ${name}\n")
endforeach()
file(WRITE ${OUTPUT}.def "${definition}")
if(STDCALL)
  set(kill_at --kill-at)
endif()
execute_process(COMMAND ${DLLTOOL} --input-def ${OUTPUT}.def --dllname ${DLL} ${kill_at}
  --output-delaylib ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
