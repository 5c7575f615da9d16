# kx_add_qtest(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>]
#              [SHARED_DATA])
#
# Builds one QtTest executable into <build>/tests and registers it with CTest.
# GUI tests run offscreen; every test gets the producer folder in its
# environment so that camera tests find the simulated producer. SHARED_DATA
# marks a test that reads nothing but the shared camera descriptions: CTest
# reports it as skipped when they are absent.
find_package(Qt5 COMPONENTS Core Test REQUIRED)

set(KESTRIX_TEST_OUTPUT_DIR ${CMAKE_BINARY_DIR}/tests)

if(KESTRIX_TSAN)
  # Tells the thread sanitizer how Qt hands queued calls from thread to thread
  # (see the source); linked into every test.
  add_library(kx_tsan_qtqueue OBJECT ${CMAKE_SOURCE_DIR}/sanitizers/tsanqtqueue.cpp)
  target_link_libraries(kx_tsan_qtqueue PRIVATE Qt5::Core Qt5::CorePrivate)
endif()

# What every test of a sanitizer build runs with (also used for tests that
# are not QtTest programs).
set(KX_SANITIZER_TEST_ENV "")
if(KESTRIX_ASAN)
  # Allocation stacks unwound fully, through Qt's frames too, so that the leak
  # suppressions can name the Qt function that leaks; Qt's own event
  # dispatcher, as in the thread sanitizer build.
  list(APPEND KX_SANITIZER_TEST_ENV QT_NO_GLIB=1 ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0
    LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/cmake/lsan.supp)
endif()
if(KESTRIX_TSAN)
  # Qt's own event dispatcher instead of glib's, whose locks the sanitizer
  # cannot see either.
  list(APPEND KX_SANITIZER_TEST_ENV QT_NO_GLIB=1
    "TSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/cmake/tsan.supp halt_on_error=0 exitcode=66")
endif()

# Links the model of Qt's thread hand-overs into a program of the thread
# sanitizer build: every test, and the programs that tests start.
function(kx_link_tsan_model target)
  if(KESTRIX_TSAN)
    # Exported, so that the libraries' calls of QThread::wait() reach it too.
    target_link_libraries(${target} PRIVATE kx_tsan_qtqueue
      "-Wl,--export-dynamic-symbol=_ZN7QThread4waitE14QDeadlineTimer,--export-dynamic-symbol=_ZN7QThread4waitEm")
  endif()
endfunction()

function(kx_add_qtest name)
  cmake_parse_arguments(ARG "SHARED_DATA" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt5::Test ${ARG_LIBS})
  kx_link_tsan_model(${name})
  # Ten to a hundred times slower under the sanitizers: tests that loop over
  # much data take a sample there (what is sampled is said in the test).
  if(KESTRIX_ASAN OR KESTRIX_TSAN)
    target_compile_definitions(${name} PRIVATE KESTRIX_SANITIZED_BUILD)
  endif()
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${KESTRIX_TEST_OUTPUT_DIR}
    AUTOMOC ON
    BUILD_RPATH "${KESTRIX_OUTPUT_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  set(env
    QT_QPA_PLATFORM=offscreen
    KESTRIX_BIN_DIR=${KESTRIX_OUTPUT_DIR}
    KESTRIX_SOURCE_DIR=${CMAKE_SOURCE_DIR}
    KESTRIX_TESTDATA_DIR=${KESTRIX_TESTDATA_DIR})
  list(APPEND env ${KX_SANITIZER_TEST_ENV})
  if(ARG_SHARED_DATA)
    list(APPEND ARG_LABELS shared)
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "shared camera descriptions not found")
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${ARG_LABELS}"
    TIMEOUT 600
    ENVIRONMENT "${env}")
endfunction()
