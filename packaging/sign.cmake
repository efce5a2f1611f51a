# Signs FILE in place (Authenticode, SHA-256) with the PFX certificate PFX
# and its password, the environment's KELVRA_SIGN_PASSWORD (empty when
# unset), dated by the last commit (epoch.cmake): a signature is the same
# bytes at every build with the same certificate. With TIMESTAMP, the URL of
# an RFC 3161 time-stamp server, the signature is countersigned by it (and
# then differs from build to build): it stays valid after the certificate
# expires, as far as Windows is concerned.
#   cmake -DFILE=... -DPFX=... [-DTIMESTAMP=<url>] -DSOURCE=... -P sign.cmake
# The password reaches osslsigncode in a file that only this user can read,
# in a folder of its own, removed after signing: never on a command line.
include(${CMAKE_CURRENT_LIST_DIR}/epoch.cmake)
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
set(stamp "")
if(TIMESTAMP)
  set(stamp -ts ${TIMESTAMP})
endif()
set(private ${FILE}.password)
file(REMOVE_RECURSE ${private})
file(MAKE_DIRECTORY ${private})
file(CHMOD ${private} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
# osslsigncode reads one line and refuses an empty file: the line's end
# lets an empty password through.
file(WRITE ${private}/password "$ENV{KELVRA_SIGN_PASSWORD}\n")
execute_process(COMMAND ${OSSLSIGNCODE} sign -pkcs12 ${PFX} -readpass ${private}/password -h sha256
  -n "URL Kelvra launcher" -time ${EPOCH} ${stamp} -in ${FILE} -out ${FILE}.signed OUTPUT_QUIET RESULT_VARIABLE failed)
file(REMOVE_RECURSE ${private})
if(failed)
  # No unsigned file left behind to be taken for a signed one (or for an
  # up-to-date program by the next build).
  file(REMOVE ${FILE} ${FILE}.signed)
  message(FATAL_ERROR "Signing ${FILE} with ${PFX} failed")
endif()
file(RENAME ${FILE}.signed ${FILE})
