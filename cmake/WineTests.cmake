# Runs Windows test executables under Wine (an x86 build under 32-bit Wine,
# an x64 build under wine64) with a private prefix inside the build folder and
# an Xvfb display that a CTest fixture starts and stops. Every CTest name
# begins with wine32_ or wine64_, so a log shows which build ran.
set(TILLWICK_WINE_SESSION ${PROJECT_SOURCE_DIR}/cmake/wine-session.sh)
set(TILLWICK_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(TILLWICK_WINE_TAG wine64)
else()
  set(TILLWICK_WINE_TAG wine32)
endif()

function(tillwick_wine_fixture)
  add_test(NAME ${TILLWICK_WINE_TAG}_session_start
           COMMAND bash ${TILLWICK_WINE_SESSION} start ${TILLWICK_WINE_STATE})
  add_test(NAME ${TILLWICK_WINE_TAG}_session_stop
           COMMAND bash ${TILLWICK_WINE_SESSION} stop ${TILLWICK_WINE_STATE})
  set_tests_properties(${TILLWICK_WINE_TAG}_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(${TILLWICK_WINE_TAG}_session_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120)
endfunction()

# tillwick_wine_test(<name> <target> <gtest filter> [extra args...]): the CTest
# entry is <wine32|wine64>_<name>.
# Fails on a failing test, on a crash, and when the filter selects no test at
# all, so that a suite that vanished from the build cannot pass silently.
function(tillwick_wine_test name target filter)
  add_test(NAME ${TILLWICK_WINE_TAG}_${name}
           COMMAND bash ${TILLWICK_WINE_SESSION} run ${TILLWICK_WINE_STATE} $<TARGET_FILE:${target}>
                   --gtest_filter=${filter} ${ARGN})
  set_tests_properties(${TILLWICK_WINE_TAG}_${name} PROPERTIES
    FIXTURES_REQUIRED wine
    TIMEOUT 600
    RESOURCE_LOCK wine_display
    FAIL_REGULAR_EXPRESSION "\\[  PASSED  \\] 0 tests\\.")
endfunction()
