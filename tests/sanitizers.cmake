# The environment every test runs in when the build has the sanitizers on
# (VZ_SANITIZE): leaks are checked in the test and in every program it starts,
# except the system libraries' own listed in lsan.supp, and any report stops
# the program with a stack. Tests that time the program allow four times as
# long (see scaledMs in support/Desktop.h).
set(VZ_SANITIZER_ENV "")
if(VZ_SANITIZE)
  set(VZ_SANITIZER_ENV
    "ASAN_OPTIONS=detect_leaks=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "VZ_TEST_TIME_SCALE=4")
endif()
