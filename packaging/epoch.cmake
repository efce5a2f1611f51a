# EPOCH, the time every release file is dated by: SOURCE_DATE_EPOCH when
# set, else the time of the last commit of SOURCE, else 0.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${SOURCE}
    OUTPUT_VARIABLE EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT EPOCH)
    set(EPOCH 0)
  endif()
endif()
