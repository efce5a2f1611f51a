# Signs FILE in place (Authenticode, SHA-256) with the PFX certificate PFX
# and its password (PASSWORD, else the environment's KELVRA_SIGN_PASSWORD),
# dated by the last commit (epoch.cmake): a signature is the same bytes at
# every build with the same certificate.
#   cmake -DFILE=... -DPFX=... [-DPASSWORD=...] -DSOURCE=... -P sign.cmake
include(${CMAKE_CURRENT_LIST_DIR}/epoch.cmake)
if(NOT DEFINED PASSWORD OR PASSWORD STREQUAL "")
  set(PASSWORD "$ENV{KELVRA_SIGN_PASSWORD}")
endif()
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
execute_process(COMMAND ${OSSLSIGNCODE} sign -pkcs12 ${PFX} -pass ${PASSWORD} -h sha256 -n "URL Kelvra launcher"
  -time ${EPOCH} -in ${FILE} -out ${FILE}.signed OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  # No unsigned file left behind to be taken for a signed one (or for an
  # up-to-date program by the next build).
  file(REMOVE ${FILE} ${FILE}.signed)
  message(FATAL_ERROR "Signing ${FILE} with ${PFX} failed")
endif()
file(RENAME ${FILE}.signed ${FILE})
