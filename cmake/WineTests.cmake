# Runs Windows test executables under wine64 with a private prefix inside the
# build folder and an Xvfb display that a CTest fixture starts and stops.
set(TILLWICK_WINE_SESSION ${PROJECT_SOURCE_DIR}/cmake/wine-session.sh)
set(TILLWICK_WINE_STATE ${CMAKE_BINARY_DIR}/wine)

function(tillwick_wine_fixture)
  add_test(NAME wine_session_start
           COMMAND bash ${TILLWICK_WINE_SESSION} start ${TILLWICK_WINE_STATE})
  add_test(NAME wine_session_stop
           COMMAND bash ${TILLWICK_WINE_SESSION} stop ${TILLWICK_WINE_STATE})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120)
endfunction()

# tillwick_wine_test(<ctest name> <target> <gtest filter> [extra args...])
# Fails on a failing test, on a crash, and when the filter selects no test at
# all, so that a suite that vanished from the build cannot pass silently.
function(tillwick_wine_test name target filter)
  add_test(NAME ${name}
           COMMAND bash ${TILLWICK_WINE_SESSION} run ${TILLWICK_WINE_STATE} $<TARGET_FILE:${target}>
                   --gtest_filter=${filter} ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine
    TIMEOUT 600
    RESOURCE_LOCK wine_display
    FAIL_REGULAR_EXPRESSION "\\[  PASSED  \\] 0 tests\\.")
endfunction()
