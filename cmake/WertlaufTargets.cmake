# Shared settings of every Wertlauf target.

# Windows-1252 is the program's ANSI code page; sources are UTF-8.
set(WL_COMMON_OPTIONS
  -Wall -Wextra
  -finput-charset=UTF-8 -fexec-charset=CP1252
)
set(WL_COMMON_DEFINITIONS
  _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800
  NOMINMAX STRICT _USE_MATH_DEFINES
)

function(wl_target_defaults target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX,C>:${WL_COMMON_OPTIONS}>)
  target_compile_definitions(${target} PUBLIC ${WL_COMMON_DEFINITIONS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# wl_add_library(<name> SOURCES ... LINKS ...)
function(wl_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  if(NOT ARG_SOURCES)
    # A subsystem folder without code yet still takes part in the link graph.
    add_library(${name} INTERFACE)
    target_compile_definitions(${name} INTERFACE ${WL_COMMON_DEFINITIONS})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    if(ARG_LINKS)
      target_link_libraries(${name} INTERFACE ${ARG_LINKS})
    endif()
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  wl_target_defaults(${name})
  if(ARG_LINKS)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  endif()
endfunction()

# Output by which a test fails whatever its exit code: a report of Wine's heap checking, which
# tests/run.sh --heap-check turns on (the normal run keeps Wine silent).
set(WL_HEAP_REPORT ":heap:")

# wl_add_gtest(<name> SOURCES ... LINKS ... [GUI] [RUN_SERIAL] [TIMEOUT s])
# Builds a GoogleTest executable that CTest runs through Wine, one CTest entry per test case.
# RUN_SERIAL: its test cases run while no other test runs (for tests that read the screen).
function(wl_add_gtest name)
  cmake_parse_arguments(ARG "GUI;RUN_SERIAL" "TIMEOUT" "SOURCES;LINKS;RESOURCES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(serial)
  if(ARG_RUN_SERIAL)
    set(serial RUN_SERIAL TRUE)
  endif()
  add_executable(${name} ${ARG_SOURCES} ${ARG_RESOURCES})
  wl_target_defaults(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} wl_gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${name}" FAIL_REGULAR_EXPRESSION "${WL_HEAP_REPORT}" ${serial})
endfunction()

# wl_add_bench(<name> SOURCES ... LINKS ...)
function(wl_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  wl_target_defaults(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS})
endfunction()
