# The release archive of a Windows product tree (cpack, ZIP): the plug-in and
# wrphost.exe as built and tested here, without their debug information, the
# user's guide and a note naming the build, as Quillet-<version>-win32.zip or
# -win64.zip. The archive is byte for byte the same for the same commit: the
# build takes its time from SOURCE_DATE_EPOCH (scripts/release.sh and the
# test command set the commit's time), every file is given that time before
# it is packed, and the files go in in the order they are installed.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(QUILLET_RELEASE_TARGET win64)
else()
  set(QUILLET_RELEASE_TARGET win32)
endif()

# The build's time: SOURCE_DATE_EPOCH where it is set, else now.
string(TIMESTAMP QUILLET_RELEASE_EPOCH "%s" UTC)
string(TIMESTAMP QUILLET_RELEASE_DATE "%Y-%m-%d %H:%M UTC" UTC)
get_filename_component(QUILLET_RELEASE_COMPILER ${CMAKE_CXX_COMPILER} NAME)
set(QUILLET_BUILD_NOTE ${PROJECT_BINARY_DIR}/BUILD.txt)
file(CONFIGURE OUTPUT ${QUILLET_BUILD_NOTE} CONTENT "Quillet ${PROJECT_VERSION} for \
${QUILLET_RELEASE_TARGET} (${CMAKE_SYSTEM_PROCESSOR})\r
Built: ${QUILLET_RELEASE_DATE}\r
Compiler: ${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} (${QUILLET_RELEASE_COMPILER})\r
\r
Quillet.WRP    the plug-in: copy it into the mail client's plug-in folder\r
wrphost.exe    runs Quillet's macros outside the mail client (wrphost.exe without arguments\r
               lists its commands)\r
USER-GUIDE.md  where the plug-in goes, every macro, the settings and the errors\r
")

install(TARGETS Quillet wrphost RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/USER-GUIDE.md ${QUILLET_BUILD_NOTE} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Quillet-${PROJECT_VERSION}-${QUILLET_RELEASE_TARGET})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/release)
set(CPACK_STRIP_FILES ON)
set(QUILLET_RELEASE_TIMES ${PROJECT_BINARY_DIR}/ReleaseTimes.cmake)
file(CONFIGURE OUTPUT ${QUILLET_RELEASE_TIMES} CONTENT [=[
# Gives every staged file and folder the release time before it is packed.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS staged)
  execute_process(COMMAND touch -h -d @@QUILLET_RELEASE_EPOCH@ "${path}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
]=] @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${QUILLET_RELEASE_TIMES})
include(CPack)

# Two builds of one commit give the same archive: this tree's beside a second
# build of the same sources in another folder. Only where the build's time is
# fixed, as the test command fixes it; the 64-bit tree stands for both, whose
# archives are made the same way, to keep the test command's time.
if(QUILLET_TESTS AND DEFINED ENV{SOURCE_DATE_EPOCH} AND QUILLET_RELEASE_TARGET STREQUAL "win64")
  add_test(NAME release_reproducible
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/product/release_reproducible.sh
                   ${PROJECT_BINARY_DIR} ${QUILLET_RELEASE_TARGET} $ENV{SOURCE_DATE_EPOCH})
  set_tests_properties(release_reproducible PROPERTIES LABELS release TIMEOUT 900)
endif()
