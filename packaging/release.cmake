# Packs the release: the same bytes from the same commit wherever and
# whenever it is built. Run by the release target as
#   cmake -DTREE=<build tree> -DCONFIG=<config> -DOUT=<release folder> -DNAME=<package name>
#         -DVERSION=<version> -DSOURCE=<source folder> -DZIP=<Info-ZIP zip>
#         [-DWIXL=<wixl> -DPYTHON=<python3> -DWXS=<.wxs> -DICON=<.ico>]
#         [-DDEB=ON -DMAINTAINER=<Name <address>>] [-DPFX=<.pfx>] -P release.cmake
# The installed files, all dated by the last commit (epoch.cmake), go into
# NAME.zip in name order with no owner, access or change times; with WIXL,
# the 32-bit program also goes into the Windows Installer package, signed
# when PFX is given; with DEB, the 64-bit one into the Debian package
# (deb.sh); SHA256SUMS lists every package of this version in OUT.
include(${CMAKE_CURRENT_LIST_DIR}/epoch.cmake)
set(stage ${TREE}/release-stage)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${TREE} --config ${CONFIG} --prefix ${stage}/${NAME}
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
# No top folder in the zip: unpacked into a folder of its own, as README
# says, launcher.exe is right in it, where the user's kelvra-url.reg names it.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${stage}/${NAME} ${stage}/${NAME}/*)
list(SORT files)
execute_process(COMMAND touch -d @${EPOCH} ${files} WORKING_DIRECTORY ${stage}/${NAME} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${OUT}/${NAME}.zip)
# zip writes local DOS times: UTC here, whatever the builder's zone.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0 ${ZIP} -X -D -q -9 ${OUT}/${NAME}.zip ${files}
  WORKING_DIRECTORY ${stage}/${NAME} COMMAND_ERROR_IS_FATAL ANY)

if(WIXL)
  # The product and package codes are named by what the package holds, so
  # that they change whenever it does and only then; the upgrade code stays.
  file(READ ${WXS} source)
  string(REGEX MATCH "define UpgradeCode = ([-0-9A-F]+)" _ "${source}")
  set(upgrade ${CMAKE_MATCH_1})
  # An installation for all users keeps its folder in the machine's settings key, named where the program names it.
  file(STRINGS ${SOURCE}/base/base.h key REGEX "^#define SETTINGS_KEY_PATH L\"")
  string(REGEX REPLACE "^[^\"]*\"(.*)\"$" "\\1" key "${key}")
  string(REPLACE "\\\\" "\\" key "${key}")
  if(NOT key)
    message(FATAL_ERROR "${SOURCE}/base/base.h names no SETTINGS_KEY_PATH")
  endif()
  set(program ${stage}/${NAME}/launcher.exe)
  set(contents "${VERSION} ${key}")
  foreach(input ${program} ${ICON} ${WXS} ${stage}/${NAME}/LICENSE)
    file(SHA256 ${input} hash)
    string(APPEND contents " ${hash}")
  endforeach()
  string(UUID product NAMESPACE ${upgrade} NAME "product ${contents}" TYPE SHA1 UPPER)
  string(UUID package NAMESPACE ${upgrade} NAME "package ${contents}" TYPE SHA1 UPPER)
  set(msi ${OUT}/kelvra-launcher-${VERSION}.msi)
  execute_process(COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/wixl.sh ${WIXL} ${msi} ${WXS} ${program} ${ICON}
    ${stage}/${NAME}/LICENSE ${VERSION} ${product} ${package} ${key} COMMAND_ERROR_IS_FATAL ANY)
  # wixl draws the package code at random and dates the package by the clock.
  find_program(PYTHON python3 REQUIRED)
  execute_process(COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/msi-summary.py ${msi} ${package} ${EPOCH}
    COMMAND_ERROR_IS_FATAL ANY)
  if(PFX)
    set(FILE ${msi})
    include(${CMAKE_CURRENT_LIST_DIR}/sign.cmake)
  endif()
endif()

if(DEB)
  execute_process(COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/deb.sh ${OUT}/kelvra-launcher_${VERSION}_amd64.deb ${stage}/deb
    ${stage}/${NAME}/launcher.exe ${VERSION} ${EPOCH} ${SOURCE} "${MAINTAINER}" COMMAND_ERROR_IS_FATAL ANY)
endif()

file(GLOB packages RELATIVE ${OUT} ${OUT}/kelvra-launcher-${VERSION}*.zip ${OUT}/kelvra-launcher-${VERSION}*.msi
  ${OUT}/kelvra-launcher_${VERSION}_*.deb)
list(SORT packages)
set(sums "")
foreach(package ${packages})
  file(SHA256 ${OUT}/${package} hash)
  string(APPEND sums "${hash}  ${package}\n")
endforeach()
file(WRITE ${OUT}/SHA256SUMS "${sums}")
