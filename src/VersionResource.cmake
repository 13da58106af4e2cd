# Writes the version resource script of the Windows build, run at every build
# with -DTEMPLATE=... -DOUTPUT=... -DVERSION=X.Y.Z. SpecialBuild carries the
# build time in the stamp form: yymmddhhnn read as a decimal number, written
# in upper-case hexadecimal. With SOURCE_DATE_EPOCH set that time is taken,
# in UTC, so that two builds of one commit are byte for byte the same; else
# it is the local time of the build. The script is rewritten only when its
# text changes, so a build within the same minute links nothing anew.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP stamp "%y%m%d%H%M" UTC)
else()
  string(TIMESTAMP stamp "%y%m%d%H%M")
endif()
# Leading zeros would make the digits look octal to some readers.
string(REGEX REPLACE "^0+" "" stamp "${stamp}")
if(stamp STREQUAL "")
  set(stamp 0)
endif()
math(EXPR stamp "${stamp}" OUTPUT_FORMAT HEXADECIMAL)
string(REGEX REPLACE "^0x" "" stamp "${stamp}")
string(TOUPPER "${stamp}" QUILLET_SPECIAL_BUILD)

set(QUILLET_VERSION "${VERSION}")
string(REPLACE "." "," QUILLET_FILE_VERSION "${VERSION}.0")
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
