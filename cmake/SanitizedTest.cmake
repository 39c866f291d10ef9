# Runs one test program of a sanitizer build (SUPPLINK_SANITIZE) and fails
# when any process of the test left a sanitizer report. supplink_add_test
# registers every test through it:
#
#   cmake -DPROGRAM=<test program> -DREPORTS=<folder of this test's reports>
#         -DSUPPRESSIONS=<cmake/sanitizer-suppressions> -P SanitizedTest.cmake
#
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer write their
# reports to files in REPORTS ("report.<pid>") instead of the standard error
# stream. The options travel in the environment, so a child process the test
# forks or starts (the readers that read untrusted files in a child process,
# helper programs) reports into the same folder, even when it has sent its
# standard streams elsewhere or its death is taken by its parent as a damaged
# file. The test fails when the folder holds any report after the run, or
# when the program itself failed. The reports are shown in the test's output.
#
# One kind of report is expected: a fault (SEGV, BUS) inside a library that
# the program runs only in a child process built to contain its faults
# (listed in SUPPRESSIONS/contained.txt, libmdb). Such a report is shown as
# contained and does not count; the test decides by what it asserts about the
# parent's answer. A fault of the test process itself ends it, and its exit
# code fails the test.

foreach(var PROGRAM REPORTS SUPPRESSIONS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "SanitizedTest.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${REPORTS}")
file(MAKE_DIRECTORY "${REPORTS}")

set(common "log_path=${REPORTS}/report:print_summary=1")
# Initialisation order is checked too; a report ends the process (no
# recovery, also for undefined behaviour). Stack use after return is not
# checked: it moves the frames of our functions off the stack, and with them
# the guard zones that catch a foreign library (freexl, libmdb) reading or
# writing past a buffer of its own on the stack.
set(ENV{ASAN_OPTIONS}
    "${common}:detect_leaks=1:halt_on_error=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=0:suppressions=${SUPPRESSIONS}/asan.supp")
set(ENV{LSAN_OPTIONS} "${common}:suppressions=${SUPPRESSIONS}/lsan.supp:print_suppressions=0")
set(ENV{UBSAN_OPTIONS}
    "${common}:halt_on_error=1:print_stacktrace=1:suppressions=${SUPPRESSIONS}/ubsan.supp")

execute_process(COMMAND "${PROGRAM}" RESULT_VARIABLE result)

file(STRINGS "${SUPPRESSIONS}/contained.txt" contained REGEX "^[^#]")

file(GLOB reports "${REPORTS}/report*")
list(SORT reports)
set(count 0)
foreach(report IN LISTS reports)
  file(READ "${report}" text)
  get_filename_component(name "${report}" NAME)
  set(kind "sanitizer")
  if(text MATCHES "ERROR: AddressSanitizer: (SEGV|BUS) on" AND text MATCHES "\n *#0 [^\n]*")
    string(REGEX MATCH "\n *#0 [^\n]*" first "${text}")
    foreach(library IN LISTS contained)
      string(STRIP "${library}" library)
      if(library AND first MATCHES "\\(/[^)]*/${library}")
        set(kind "contained")
      endif()
    endforeach()
  endif()
  message("---- ${kind} ${name} ----\n${text}")
  if(kind STREQUAL "sanitizer")
    math(EXPR count "${count} + 1")
  endif()
endforeach()

if(count GREATER 0)
  message(FATAL_ERROR "${count} sanitizer report(s) in ${REPORTS} (program exit: ${result})")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "test program failed: ${result}")
endif()
