# The date macros against the real clock, time zone and regional settings:
# LOCALTZ through wrphost with TZ set to zones of several offsets, and the
# five date macros through wrphost (both builds).

# The plug-in under test: the product given to this tree, else this tree's own.
if(QUILLET_PLUGIN_UNDER_TEST)
  set(calendar_plugin_option --plugin ${QUILLET_PLUGIN_UNDER_TEST})
elseif(WIN32)
  set(calendar_plugin_option --plugin Z:$<TARGET_FILE:Quillet>)
else()
  set(calendar_plugin_option --plugin $<TARGET_FILE:Quillet>)
endif()

# name, TZ value, expected answer (a regular expression)
set(calendar_zones
    "utc|UTC0|^GMT\n?$"
    "plus_one|<+01>-1|^\\+0100\n?$"
    "plus_two_summer_all_year|<+01>-1<+02>,0/0,J365/25|^\\+0200\n?$"
    "minus_five|<-05>5|^-0500\n?$"
    "plus_five_thirty|<+0530>-5:30|^\\+0530\n?$"
    "plus_five_forty_five|<+0545>-5:45|^\\+0545\n?$"
    "minus_nine_thirty|<-0930>9:30|^-0930\n?$")
foreach(zone ${calendar_zones})
  string(REPLACE "|" ";" fields "${zone}")
  list(GET fields 0 name)
  list(GET fields 1 tz)
  list(GET fields 2 expected)
  add_test(NAME localtz_${name} COMMAND wrphost ${calendar_plugin_option} exec LOCALTZ)
  set(environment ${QUILLET_TEST_ENV} "TZ=${tz}")
  set_tests_properties(localtz_${name} PROPERTIES ENVIRONMENT "${environment}"
                                                  PASS_REGULAR_EXPRESSION "${expected}")
endforeach()

# A zone with summer time gives one of its two offsets, whatever the date.
set(berlin_environment ${QUILLET_TEST_ENV} "TZ=CET-1CEST,M3.5.0,M10.5.0/3")
add_test(NAME localtz_berlin_winter_or_summer
         COMMAND wrphost ${calendar_plugin_option} exec LOCALTZ)
set_tests_properties(localtz_berlin_winter_or_summer PROPERTIES
                     ENVIRONMENT "${berlin_environment}"
                     PASS_REGULAR_EXPRESSION "^\\+0[12]00\n?$")

# The five macros answer through wrphost.
set(calendar_environment ${QUILLET_TEST_ENV} "TZ=<+0530>-5:30")
function(calendar_wrphost_test name expected)
  add_test(NAME wrphost_calendar_${name} COMMAND wrphost ${calendar_plugin_option} exec ${ARGN})
  set_tests_properties(wrphost_calendar_${name} PROPERTIES
                       ENVIRONMENT "${calendar_environment}"
                       PASS_REGULAR_EXPRESSION "${expected}")
endfunction()
calendar_wrphost_test(dayofyear "^([1-9][0-9]?|[12][0-9][0-9]|3[0-5][0-9]|36[0-6])\n?$" DAYOFYEAR)
calendar_wrphost_test(weekofyear "^([0-9]|[1-4][0-9]|5[0-3])\n?$" WEEKOFYEAR)
calendar_wrphost_test(isoweekofyear_wrong_count "^ \\*\\*\\* Error: wrong number of parameters \\*\\*\\* \n?$"
                      ISOWEEKOFYEAR 1 2)
calendar_wrphost_test(eastersunday "^(0?4/20/(20)?25|20\\.0?4\\.(20)?25|(20)?25-0?4-20)\n?$"
                      EASTERSUNDAY 2025)
calendar_wrphost_test(localtz "^\\+0530\n?$" LOCALTZ)
